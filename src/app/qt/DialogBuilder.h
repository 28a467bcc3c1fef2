#pragma once

#include <QRect>
#include <QString>
#include <utility>
#include <vector>

#include "res/DialogTemplate.h"

class QIcon;
class QWidget;

// Turns a dialog template into Qt widgets: one widget per control, in template order.
namespace dialogbuilder {

// A closed drop-down list is as high as an edit box; the template's height is that of
// the dropped list, which the toolkit sizes itself.
constexpr int kClosedComboHeightDlu = 14;

// The dialog units of a widget's font, as Windows measures a dialog font.
res::SDialogUnits UnitsOf(const QWidget& widget);

// The control's rectangle in client pixels of these units.
QRect TemplateRect(const res::SControlDef& def, const res::SDialogUnits& units);

// Creates the controls of `dialog` as children of `parent`, places them, stacks them and
// chains them for the Tab key in template order. A spin button takes the control before it
// as its buddy and moves to its right edge, narrowing the buddy by its own width. Static
// icons show `icon`. Places are in `units`. Answers the widgets in template order.
std::vector<QWidget*> BuildControls(const res::SDialogDef& dialog, QWidget* parent,
                                    const QIcon& icon, const res::SDialogUnits& units);

// Places the controls BuildControls made again, in other units.
void PlaceControls(const res::SDialogDef& dialog, const std::vector<QWidget*>& widgets,
                   const res::SDialogUnits& units);

// Each control's width and the pixels its text needs: its caption, or for an edit box the
// widest text it is meant to show.
std::vector<std::pair<int, int>> TextRooms(const std::vector<QWidget*>& widgets,
                                           const QString& widestNumber);

}  // namespace dialogbuilder

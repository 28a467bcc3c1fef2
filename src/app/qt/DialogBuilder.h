#pragma once

#include <QRect>
#include <vector>

#include "res/DialogTemplate.h"

class QIcon;
class QWidget;

// Turns a dialog template into Qt widgets: one widget per control, in template order.
namespace dialogbuilder {

// A closed drop-down list is as high as an edit box; the template's height is that of
// the dropped list, which the toolkit sizes itself.
constexpr int kClosedComboHeightDlu = 14;

// The control's rectangle in client pixels, straight from the template.
QRect TemplateRect(const res::SControlDef& def);

// Creates the controls of `dialog` as children of `parent`, places them, stacks them and
// chains them for the Tab key in template order. A spin button takes the control before it
// as its buddy and moves to its right edge, narrowing the buddy by its own width. Static
// icons show `icon`. Answers the widgets in template order.
std::vector<QWidget*> BuildControls(const res::SDialogDef& dialog, QWidget* parent,
                                    const QIcon& icon);

}  // namespace dialogbuilder

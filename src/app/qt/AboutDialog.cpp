#include "app/qt/AboutDialog.h"

#include <QPushButton>

#include "app/qt/AppIcon.h"
#include "app/qt/DialogBuilder.h"
#include "res/ControlIds.h"
#include "res/DialogTemplate.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    const res::SDialogDef& dialog = res::AboutDialog();
    // A fixed frame with a close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QString::fromStdString(dialog.caption));
    setWindowIcon(AppIcon());
    res::SDialogUnits units = dialogbuilder::UnitsOf(*this);
    m_controls = dialogbuilder::BuildControls(dialog, this, AppIcon(), units);
    units = res::WidenedToFit(units, dialogbuilder::TextRooms(m_controls, {}));
    dialogbuilder::PlaceControls(dialog, m_controls, units);
    setFixedSize(res::DluToPixelX(dialog.w, units), res::DluToPixelY(dialog.h, units));

    for (QWidget* widget : m_controls) {
        auto* button = qobject_cast<QPushButton*>(widget);
        if (button != nullptr && widget->property("controlId").toInt() == ids::kAboutOk) {
            connect(button, &QPushButton::clicked, this, &QDialog::accept);
        }
    }
}

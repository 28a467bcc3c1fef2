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
    m_controls = dialogbuilder::BuildControls(dialog, this, AppIcon());
    setFixedSize(res::DluToPixelX(dialog.w), res::DluToPixelY(dialog.h));

    for (QWidget* widget : m_controls) {
        auto* button = qobject_cast<QPushButton*>(widget);
        if (button != nullptr && widget->property("controlId").toInt() == ids::kAboutOk) {
            connect(button, &QPushButton::clicked, this, &QDialog::accept);
        }
    }
}

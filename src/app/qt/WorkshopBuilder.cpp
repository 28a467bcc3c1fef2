#include "app/qt/WorkshopBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/qt/WorkshopView.h"

namespace workshopbuilder {
namespace {

QWidget* MakeWidget(const res::SWorkshopControl& def, QWidget* parent) {
    const QString caption = QString::fromStdString(def.caption);
    using K = res::EWorkshopKind;
    switch (def.kind) {
        case K::PushButton:
        case K::DefaultButton: {
            auto* button = new QPushButton(caption, parent);
            // Enter on a button that has the focus presses it, as on Windows.
            button->setAutoDefault(true);
            return button;
        }
        case K::CheckBox:
            return new QCheckBox(caption, parent);
        case K::DropDownList:
            return new QComboBox(parent);
        case K::Edit:
            return new QLineEdit(parent);
        case K::Label:
        case K::Paragraph: {
            auto* label = new QLabel(caption, parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(def.kind == K::Paragraph);
            label->setAlignment(Qt::AlignLeft |
                                (def.kind == K::Paragraph ? Qt::AlignTop : Qt::AlignVCenter));
            return label;
        }
        case K::List:
            return new QListWidget(parent);
        case K::View:
            return new CWorkshopView(parent, def.tabStop);
    }
    return new QWidget(parent);
}

}  // namespace

std::map<int, QWidget*> BuildControls(QWidget* parent) {
    std::map<int, QWidget*> controls;
    QWidget* lastTabStop = nullptr;
    for (const res::SWorkshopControl& def : res::WorkshopControls()) {
        QWidget* widget = MakeWidget(def, parent);
        widget->setObjectName(QStringLiteral("control%1").arg(def.id));
        widget->setProperty("controlId", def.id);
        widget->setAccessibleName(QString::fromStdString(def.caption));
        if (def.tabStop) {
            widget->setFocusPolicy(Qt::StrongFocus);
            if (lastTabStop != nullptr)
                QWidget::setTabOrder(lastTabStop, widget);
            lastTabStop = widget;
        } else {
            widget->setFocusPolicy(Qt::NoFocus);
        }
        controls[def.id] = widget;
    }
    return controls;
}

}  // namespace workshopbuilder

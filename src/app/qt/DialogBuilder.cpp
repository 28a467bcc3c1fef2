#include "app/qt/DialogBuilder.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>

#include "app/qt/CSpinButton.h"

namespace dialogbuilder {
namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QWidget* MakeLabel(const res::SControlDef& def, QWidget* parent) {
    auto* label = new QLabel(Text(def.caption), parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QWidget* MakeWidget(const res::SControlDef& def, QWidget* parent, const QIcon& icon,
                    const res::SDialogUnits& units) {
    using res::ControlKind;
    switch (def.kind) {
        case ControlKind::ComboBox:
            return new QComboBox(parent);
        case ControlKind::PushButton:
        case ControlKind::DefPushButton: {
            auto* button = new QPushButton(Text(def.caption), parent);
            const bool isDefault = def.kind == ControlKind::DefPushButton;
            // Only a default button reacts to Enter by itself; the dialog decides the rest.
            button->setAutoDefault(isDefault);
            button->setDefault(isDefault);
            return button;
        }
        case ControlKind::AutoCheckBox:
            return new QCheckBox(Text(def.caption), parent);
        case ControlKind::Static:
            return MakeLabel(def, parent);
        case ControlKind::StaticIcon: {
            auto* label = new QLabel(parent);
            const QRect r = TemplateRect(def, units);
            const int side = std::min(r.width(), r.height());
            label->setPixmap(icon.pixmap(side, side));
            label->setAlignment(Qt::AlignCenter);
            return label;
        }
        case ControlKind::GroupBox:
            // The toolkit reads "&&" in a title as one ampersand, as the template means it.
            return new QGroupBox(Text(def.caption), parent);
        case ControlKind::Edit:
            return new QLineEdit(parent);
        case ControlKind::Spin:
            return new CSpinButton(parent);
        case ControlKind::Progress: {
            auto* bar = new QProgressBar(parent);
            bar->setRange(0, 100);
            bar->setValue(0);
            bar->setTextVisible(false);
            return bar;
        }
    }
    return new QWidget(parent);
}

void Place(const res::SControlDef& def, QWidget* widget, const res::SDialogUnits& units) {
    QRect r = TemplateRect(def, units);
    if (def.kind == res::ControlKind::ComboBox) {
        r.setHeight(res::DluToPixelY(kClosedComboHeightDlu, units));
    }
    widget->setGeometry(r);
}

// A right-aligned spin button sits flush at the right edge of its buddy, which gives up
// the room for it.
void AttachSpin(const res::SControlDef& def, CSpinButton* spin, QWidget* previous,
                const res::SDialogUnits& units) {
    auto* buddy = qobject_cast<QLineEdit*>(previous);
    if ((def.style & res::kAutoBuddy) == 0 || buddy == nullptr)
        return;
    if (spin->Buddy() == nullptr)
        spin->SetBuddy(buddy);
    if ((def.style & res::kAlignRight) == 0)
        return;
    const QRect b = buddy->geometry();
    const int spinWidth = res::DluToPixelX(def.w, units);
    buddy->setGeometry(b.x(), b.y(), b.width() - spinWidth, b.height());
    spin->setGeometry(b.x() + b.width() - spinWidth, b.y(), spinWidth, b.height());
}

bool IsTabStop(const res::SControlDef& def) {
    return (def.style & res::kTabStop) != 0;
}

}  // namespace

res::SDialogUnits UnitsOf(const QWidget& widget) {
    const QFontMetrics metrics = widget.fontMetrics();
    return res::UnitsOfFont(
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")),
        metrics.height());
}

QRect TemplateRect(const res::SControlDef& def, const res::SDialogUnits& units) {
    const int left = res::DluToPixelX(def.x, units);
    const int top = res::DluToPixelY(def.y, units);
    const int right = res::DluToPixelX(def.x + def.w, units);
    const int bottom = res::DluToPixelY(def.y + def.h, units);
    return {left, top, right - left, bottom - top};
}

std::vector<QWidget*> BuildControls(const res::SDialogDef& dialog, QWidget* parent,
                                    const QIcon& icon, const res::SDialogUnits& units) {
    std::vector<QWidget*> widgets;
    widgets.reserve(dialog.controls.size());
    QWidget* lastTabStop = nullptr;
    for (const res::SControlDef& def : dialog.controls) {
        QWidget* widget = MakeWidget(def, parent, icon, units);
        widget->setProperty("controlId", def.id);
        if (def.id >= 0)
            widget->setObjectName(QStringLiteral("control%1").arg(def.id));
        if (IsTabStop(def)) {
            widget->setFocusPolicy(Qt::StrongFocus);
            if (lastTabStop != nullptr)
                QWidget::setTabOrder(lastTabStop, widget);
            lastTabStop = widget;
        } else {
            widget->setFocusPolicy(Qt::NoFocus);
        }
        // Labels and frames never take the mouse from the controls they share room with.
        if (def.kind == res::ControlKind::Static || def.kind == res::ControlKind::GroupBox ||
            def.kind == res::ControlKind::StaticIcon) {
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        widgets.push_back(widget);
    }
    PlaceControls(dialog, widgets, units);
    // A frame stays behind the controls it surrounds.
    for (QWidget* widget : widgets) {
        if (qobject_cast<QGroupBox*>(widget) != nullptr)
            widget->lower();
    }
    return widgets;
}

void PlaceControls(const res::SDialogDef& dialog, const std::vector<QWidget*>& widgets,
                   const res::SDialogUnits& units) {
    for (size_t i = 0; i < widgets.size() && i < dialog.controls.size(); ++i) {
        Place(dialog.controls[i], widgets[i], units);
        if (auto* spin = qobject_cast<CSpinButton*>(widgets[i]))
            AttachSpin(dialog.controls[i], spin, i > 0 ? widgets[i - 1] : nullptr, units);
    }
}

std::vector<std::pair<int, int>> TextRooms(const std::vector<QWidget*>& widgets,
                                           const QString& widestNumber) {
    std::vector<std::pair<int, int>> rooms;
    for (QWidget* w : widgets) {
        const QFontMetrics fm = w->fontMetrics();
        const int frame = w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        int needed = 0;
        if (auto* button = qobject_cast<QPushButton*>(w))
            needed = fm.horizontalAdvance(button->text()) + 2 * frame + 4;
        else if (qobject_cast<QCheckBox*>(w) != nullptr || qobject_cast<QLabel*>(w) != nullptr)
            needed = w->sizeHint().width();
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            needed = fm.horizontalAdvance(group->title()) + 4 * frame;
        else if (qobject_cast<QLineEdit*>(w) != nullptr)
            needed = fm.horizontalAdvance(widestNumber) + 2 * frame + 4;
        else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            needed = w->style()
                         ->sizeFromContents(QStyle::CT_ComboBox, &option,
                                            QSize(fm.horizontalAdvance(widestNumber), fm.height()),
                                            combo)
                         .width();
        }
        rooms.emplace_back(w->width(), needed);
    }
    return rooms;
}

}  // namespace dialogbuilder

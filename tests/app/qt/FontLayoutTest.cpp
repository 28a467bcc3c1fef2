// The window lays itself out in the units of the font in use, as Windows lays out a dialog
// template: at a small and a large desktop font no caption, label or number is cut.
#include <QApplication>
#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "app/qt/DialogBuilder.h"
#include "support/WaitFor.h"
#include "app/qt/WindowFixture.h"

namespace {

// The room a control's text needs across, or 0 for a control without text of its own.
int NeededWidth(QWidget* w) {
    const QFontMetrics fm = w->fontMetrics();
    const int frame = w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    if (auto* button = qobject_cast<QPushButton*>(w))
        return fm.horizontalAdvance(button->text()) + 2 * frame + 4;
    if (auto* check = qobject_cast<QCheckBox*>(w))
        return check->sizeHint().width();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text().isEmpty() ? 0 : fm.horizontalAdvance(label->text());
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return fm.horizontalAdvance(group->title()) + 4 * frame;
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text().isEmpty() ? 0 : fm.horizontalAdvance(edit->text()) + 2 * frame + 4;
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->sizeHint().width();
    return 0;
}

class FontLayoutTest : public WindowFixture {
protected:
    void SetUp() override {}  // each font opens its own window
};

}  // namespace

TEST_F(FontLayoutTest, EveryTextFitsItsControlAtASmallAndALargeFont) {
    const QFont before = QApplication::font();
    for (const int points : {9, 16}) {
        SCOPED_TRACE(points);
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), points));
        const QString longName = QStringLiteral("Kestran virtual gauge beside Kestran (pts/12)");
        ports.front().friendlyName = longName.toStdString();
        Open();
        // The port list's dropped list shows the whole name, however narrow the box.
        auto* portList = As<QComboBox>(ids::kPortList);
        EXPECT_GE(portList->view()->minimumWidth(),
                  portList->fontMetrics().horizontalAdvance(longName) + 16);
        // A table as long as it gets, with the widest numbers an entry holds.
        Click(ids::kMaxSpeedCheck);
        window->SetCurSel(ids::kMaxSpeedList, window->GetCount(ids::kMaxSpeedList) - 1);
        for (int k = 1; k <= ids::kEntryCount; ++k)
            window->SetWindowText(ids::EntryBoxId(k), "318.0");
        const res::SDialogUnits units = dialogbuilder::UnitsOf(*window);
        EXPECT_GT(units.baseY, points);  // the units follow the font
        for (QWidget* w : window->Controls()) {
            if (w == W(ids::kPortList))
                continue;  // its dropped list shows the whole names
            const int needed = NeededWidth(w);
            EXPECT_LE(needed, w->width()) << w->objectName().toStdString() << " "
                                          << w->property("controlId").toInt();
            if (needed > 0) {
                EXPECT_LE(w->fontMetrics().height(), w->height())
                    << w->objectName().toStdString();
            }
        }
        window->grab().save(QStringLiteral("kestran-window-%1pt.png").arg(points));
        Close();
    }
    QApplication::setFont(before);
}

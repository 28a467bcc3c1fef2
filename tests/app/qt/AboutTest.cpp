// The About box and the menu entry that shows it.
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "app/qt/AboutDialog.h"
#include "app/qt/WindowFixture.h"

namespace {

struct SAboutSeen {
    QString title;
    QStringList texts;
    QString button;
    bool icon = false;
};

SAboutSeen Inspect(const CAboutDlg& about) {
    SAboutSeen seen;
    seen.title = about.windowTitle();
    for (QWidget* w : about.Controls()) {
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (!label->pixmap().isNull()) {
                seen.icon = true;
            } else {
                seen.texts << label->text();
            }
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            seen.button = button->text();
        }
    }
    return seen;
}

}  // namespace

TEST(AboutBoxTest, ShowsTheIconTheChineseTextsAndOk) {
    CAboutDlg about;
    const SAboutSeen seen = Inspect(about);
    EXPECT_EQ(seen.title, QString::fromUtf8("关于 Tillerby"));
    ASSERT_EQ(seen.texts.size(), 2);
    EXPECT_EQ(seen.texts[0], QString::fromUtf8("Tillerby，版本 1.0"));
    EXPECT_FALSE(seen.texts[1].isEmpty());
    EXPECT_EQ(seen.button, QString::fromUtf8("确定"));
    EXPECT_TRUE(seen.icon);
    // Laid out for its font, with every control inside it.
    for (QWidget* child : about.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(about.rect().contains(child->geometry())) << child->metaObject()->className();
}

TEST(AboutBoxTest, EnterEscapeAndOkCloseIt) {
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Escape), 0}) {
        CAboutDlg about;
        about.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
        if (key != 0) {
            QTest::keyClick(&about, static_cast<Qt::Key>(key));
        } else {
            for (QWidget* w : about.Controls()) {
                if (auto* b = qobject_cast<QPushButton*>(w))
                    QTest::mouseClick(b, Qt::LeftButton);
            }
        }
        EXPECT_FALSE(about.isVisible()) << key;
    }
}

using AboutMenuTest = WindowFixture;

TEST_F(AboutMenuTest, TheContextMenuEntryShowsTheAboutBox) {
    // Last, after the dial workshop's entry and a separator.
    ASSERT_EQ(window->SystemMenu()->actions().size(), 3);
    EXPECT_EQ(window->SystemMenu()->actions()[2]->text(), QString::fromUtf8("关于 Kestran(&A)..."));

    CModalDriver driver;
    SAboutSeen seen;
    // The user right-clicks the dialog, picks the entry by its access key, reads the box
    // and presses Enter.
    driver.Then([](QWidget* popup) { QTest::keyClick(popup, Qt::Key_A); });
    driver.Then([&](QWidget* modal) {
        auto* about = qobject_cast<CAboutDlg*>(modal);
        if (about == nullptr)
            return;
        seen = Inspect(*about);
        QTest::keyClick(about, Qt::Key_Return);
    });
    const QPoint at(600, 620);  // an empty spot of the dialog
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, window->mapToGlobal(at));
    QApplication::sendEvent(window.get(), &event);
    EXPECT_EQ(driver.Pending(), 0u);
    EXPECT_EQ(seen.button, QString::fromUtf8("确定"));
    EXPECT_TRUE(window->isVisible());
}

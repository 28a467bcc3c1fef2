// The dial workshop's window on the real widgets: a picture opened, the needle's rest and
// three marks clicked on the dial and their speeds typed, the dial and table saved; the keys;
// and a screenshot of it on an X server.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdlib>

#include "angles/GacLine.h"
#include "angles/NumberText.h"
#include "app/qt/ModalDriver.h"
#include "app/qt/WorkshopClicks.h"
#include "app/qt/WorkshopView.h"
#include "app/qt/WorkshopWindow.h"
#include "res/WorkshopControls.h"
#include "support/UniqueFolder.h"
#include "workshop/CalibrationView.h"
#include "workshop/PhotoDial.h"

namespace {

const double kMarks[] = {40, 100, 200};

// Everything a person does, from the picture to the saved files; the files' names in `dir`.
void CalibrateAndSave(CWorkshopWindow& window, const SPhotoDial& photo, const CTempDir& dir) {
    window.Open(dir.File("photo.png"));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(window.Workshop().HasPicture());
    // The needle's tip, and each mark's tick, clicked a little off.
    ClickDial(window, photo.OnDial(photo.scale.Clock(0) + 1.0, 0.8));
    for (const double knots : kMarks) {
        ClickDial(window, photo.OnDial(photo.scale.Clock(knots) - 1.2, 0.85));
        ASSERT_TRUE(window.Control(wsids::kSpeed)->hasFocus());
        TypeSpeed(window, static_cast<int>(knots));
    }
    ASSERT_EQ(qobject_cast<QListWidget*>(window.Control(wsids::kMarks))->count(), 3);

    CModalDriver driver;
    driver.ChooseFile(dir.File("tas.png"));
    driver.ChooseFile(dir.File("tas.gac"));
    QTest::mouseClick(window.Control(wsids::kSave), Qt::LeftButton);
    ASSERT_EQ(driver.Pending(), 0u);
    std::string why;
    const auto table = gacfile::ReadTable(dir.File("tas.gac"), &why);
    ASSERT_TRUE(table) << why;
    ASSERT_EQ(table->count, 20);
    for (const double knots : kMarks) {
        EXPECT_NEAR(numtext::AtoF(table->angles[static_cast<size_t>(knots / 10) - 1]),
                    photo.scale.Degrees(knots), 0.5)
            << knots;
    }
}

class WorkshopWindowTest : public ::testing::Test {
protected:
    void SetUp() override { WritePng(dir.File("photo.png").c_str(), photo.picture.View()); }
    CTempDir dir;
    SPhotoDial photo;
};

TEST_F(WorkshopWindowTest, APictureBecomesADialAndATableByPointingAndClicking) {
    CWorkshopWindow window;
    CalibrateAndSave(window, photo, dir);
    EXPECT_FALSE(window.Workshop().Unsaved());
    EXPECT_FALSE(window.Control(wsids::kUseInKestran)->isVisible());  // alone
    // Saved: Escape closes it without a question.
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WorkshopWindowTest, TabReachesEveryControlAndEscapeAsksBeforeMarksAreLost) {
    CWorkshopWindow window;
    window.Open(dir.File("photo.png"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QWidget* first = window.Control(wsids::kOpenPicture);
    first->setFocus();
    std::vector<int> reached;
    for (QWidget* w = first; reached.size() < 40; w = w->nextInFocusChain()) {
        const QVariant id = w->property("controlId");
        if (id.isValid() && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible())
            reached.push_back(id.toInt());
        if (w->nextInFocusChain() == first)
            break;
    }
    std::vector<int> stops;
    for (const res::SWorkshopControl& c : res::WorkshopControls()) {
        if (c.tabStop && c.id != wsids::kRemoveMark && c.id != wsids::kUseInKestran)
            stops.push_back(c.id);
    }
    EXPECT_EQ(reached, stops);

    // The rest and a mark, not saved: Escape asks, No keeps the window.
    ClickDial(window, photo.OnDial(photo.scale.Clock(0), 0.8));
    ClickDial(window, photo.OnDial(photo.scale.Clock(100), 0.85));
    TypeSpeed(window, 100);
    CModalDriver driver;
    driver.AnswerQuestion(false);
    QTest::keyClick(window.View(wsids::kCalibrationView), Qt::Key_Escape);
    EXPECT_EQ(driver.messages.size(), 1u);
    EXPECT_TRUE(window.isVisible());
    // The arrow keys on the list turn the chosen mark.
    auto* list = qobject_cast<QListWidget*>(window.Control(wsids::kMarks));
    list->setFocus();
    list->setCurrentRow(0);
    const std::string before = list->item(0)->text().toStdString();
    QTest::keyClick(list, Qt::Key_Right);
    EXPECT_NE(list->item(0)->text().toStdString(), before);
    driver.AnswerQuestion(true);
    window.close();
    EXPECT_FALSE(window.isVisible());
}

// Child: on a real X server, the same as a person does it, photographed at the end.
TEST(DISABLED_WorkshopXServerChild, TheWorkshopIsUsedAndPhotographed) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    CTempDir dir;
    const SPhotoDial photo;
    WritePng(dir.File("photo.png").c_str(), photo.picture.View());
    CWorkshopWindow window;
    CalibrateAndSave(window, photo, dir);
    QTest::qWait(500);
    const QRect g = window.frameGeometry();
    const QImage shot =
        window.screen()->grabWindow(0, g.x(), g.y(), g.width(), g.height()).toImage();
    const char* path = std::getenv("KESTRAN_SCREENSHOT");
    ASSERT_NE(path, nullptr);
    ASSERT_TRUE(shot.save(QString::fromLocal8Bit(path)));
}

TEST(WorkshopXServerTest, TheWorkshopWorksUnderXvfbAndIsPhotographed) {
    const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
    if (xvfbRun.isEmpty() || QStandardPaths::findExecutable("Xvfb").isEmpty())
        GTEST_SKIP() << "Xvfb is not installed (scripts/install-deps.sh gui installs it)";
    // Kept beside the test program: the read-me's picture of the workshop.
    const QString shot = QCoreApplication::applicationDirPath() + "/workshop-window.png";
    QFile::remove(shot);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("KESTRAN_SCREENSHOT", shot);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(
        xvfbRun,
        {"-a", "-s", "-screen 0 1920x1080x24", QCoreApplication::applicationFilePath(),
         "--gtest_also_run_disabled_tests", "--gtest_filter=DISABLED_WorkshopXServerChild.*"});
    ASSERT_TRUE(child.waitForFinished(90000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    EXPECT_FALSE(QImage(shot).isNull());
}

}  // namespace

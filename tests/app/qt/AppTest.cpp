// The application as a whole: its run ends with the main dialog, numbers stay in the C
// notation, and the window opens on a real X server.
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/qt/CTillerbyApp.h"
#include "app/qt/WindowFixture.h"
#include "support/CommaLocale.h"

namespace {

CTillerbyApp& App() {
    return *static_cast<CTillerbyApp*>(QCoreApplication::instance());
}

// Runs the disabled tests of this binary that match `filter` in a child process, behind the
// `wrapper` command if any, with the environment `env`. Answers the exit code; the child's
// output goes to *output.
int RunChild(QStringList wrapper, const QString& filter, const QProcessEnvironment& env,
             QString* output) {
    QStringList arguments = wrapper;
    arguments << QCoreApplication::applicationFilePath() << "--gtest_also_run_disabled_tests"
              << "--gtest_filter=" + filter;
    const QString program = arguments.takeFirst();
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(program, arguments);
    if (!child.waitForFinished(90000)) {
        child.kill();
        child.waitForFinished();
    }
    *output = QString::fromLocal8Bit(child.readAll());
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
}

}  // namespace

TEST(ApplicationTest, TheRunEndsWithTheDialogWhicheverWayItIsClosed) {
    enum class How { Escape, CloseBox };
    for (const How how : {How::Escape, How::CloseBox}) {
        auto line = std::make_shared<SFakeLine>();
        CModalDriver driver;
        bool sawWindow = false;
        driver.Then([&](QWidget* modal) {
            auto* window = qobject_cast<CDialogWindow*>(modal);
            if (window == nullptr)
                return;
            sawWindow = true;
            // A port is open while the program ends.
            QTest::mouseClick(window->Control(ids::kConnect), Qt::LeftButton);
            QTest::mouseClick(window->Control(ids::kMaxSpeedCheck), Qt::LeftButton);
            switch (how) {
                case How::Escape:
                    QTest::keyClick(window, Qt::Key_Escape);
                    break;
                case How::CloseBox:
                    window->close();
                    break;
            }
        });
        EXPECT_EQ(App().InitInstance(FakeServices(kGaugePort, line)), 0);
        EXPECT_TRUE(sawWindow);
        EXPECT_EQ(line->opens, 1);
        EXPECT_FALSE(line->open);
    }
}

// Child: runs under LC_ALL from the environment.
TEST(DISABLED_LocaleChild, NumbersUseTheFullStop) {
    const char* requested = std::getenv("LC_ALL");
    ASSERT_NE(requested, nullptr);
    // The environment took effect for the other categories...
    EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), requested);
    // ...but not for numbers.
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 318.0);
    EXPECT_STREQ(text, "318.0");
}

TEST(ApplicationTest, TheNumericLocaleIsCEvenWithAGermanEnvironment) {
    const CCommaLocale german;  // names its folder in LOCPATH when compiled for the run
    if (!german.Available()) {
        GTEST_SKIP() << "no German locale installed and none can be compiled";
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", CCommaLocale::kName);
    QString output;
    const int rc = RunChild({}, "DISABLED_LocaleChild.*", env, &output);
    EXPECT_EQ(rc, 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

// Child: runs on a real X server.
TEST(DISABLED_XServerChild, TheWindowOpensAndIsPhotographed) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    CDialogWindow window(FakeServices(kGaugePort, std::make_shared<SFakeLine>()));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    CModalDriver driver;
    const std::string dials = KESTRAN_EXAMPLE_DIALS;
    driver.ChooseFile(dials + "/ias.png");
    QTest::mouseClick(window.Control(ids::kSelectIasDial), Qt::LeftButton);
    driver.ChooseFile(dials + "/tas.png");
    QTest::mouseClick(window.Control(ids::kSelectTasDial), Qt::LeftButton);
    ASSERT_EQ(window.GetCheck(ids::kIasCheck) + window.GetCheck(ids::kTasCheck), 2);
    QTest::qWait(500);

    // What the X server shows where the window is.
    const QRect g = window.geometry();
    const QImage shot =
        window.screen()->grabWindow(0, g.x(), g.y(), g.width(), g.height()).toImage();
    ASSERT_EQ(shot.size(), window.size());
    const QColor background = window.palette().color(window.backgroundRole());
    // The middle of both dial faces is dark; the space beside them is the background.
    const QRect ias = window.PreviewPlace(30, 125, 230, 230);
    const QRect tas = window.PreviewPlace(30, 408, 230, 230);
    EXPECT_LT(qGray(shot.pixel(ias.center())), 60);
    EXPECT_LT(qGray(shot.pixel(tas.center())), 60);
    EXPECT_EQ(shot.pixelColor(ias.left() / 2, ias.bottom()), background);
    const char* path = std::getenv("KESTRAN_SCREENSHOT");
    ASSERT_NE(path, nullptr);
    ASSERT_TRUE(shot.save(QString::fromLocal8Bit(path)));
}

TEST(XServerTest, TheWindowOpensUnderXvfbAndAScreenshotIsTaken) {
    const QString xvfbRun = QStandardPaths::findExecutable("xvfb-run");
    if (xvfbRun.isEmpty() || QStandardPaths::findExecutable("Xvfb").isEmpty()) {
        GTEST_SKIP() << "Xvfb is not installed (scripts/install-deps.sh gui installs it)";
    }
    QTemporaryDir dir;
    const QString shot = dir.filePath("kestran.png");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("KESTRAN_SCREENSHOT", shot);
    QString output;
    const int rc = RunChild({xvfbRun, "-a", "-s", "-screen 0 1280x800x24"},
                            "DISABLED_XServerChild.*", env, &output);
    EXPECT_EQ(rc, 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    EXPECT_FALSE(QImage(shot).isNull());
}

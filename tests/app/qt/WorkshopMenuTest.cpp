// The dial workshop opened from the main window's system menu, a picture dropped on it, and
// "Use in Kestran" taking the saved dial and table into the main window as Select TAS Dial
// and Load do.
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "angles/GacLine.h"
#include "app/qt/WindowFixture.h"
#include "app/qt/WorkshopClicks.h"
#include "workshop/PhotoDial.h"

using WorkshopMenuTest = WindowFixture;

TEST_F(WorkshopMenuTest, UseInKestranPutsTheDialAndTheTableIntoTheMainWindow) {
    ASSERT_EQ(window->SystemMenu()->actions()[0]->text(), "Dial workshop...");
    window->SystemMenu()->actions()[0]->trigger();
    CWorkshopWindow* workshop = window->Workshop();
    ASSERT_NE(workshop, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(workshop));
    EXPECT_TRUE(workshop->Control(wsids::kUseInKestran)->isVisible());

    // A photo dropped on the window.
    const SPhotoDial photo;
    const std::string picture = dir.File("photo.png");
    WritePng(picture.c_str(), photo.picture.View());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(picture))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(workshop, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(workshop, &drop);
    ASSERT_TRUE(workshop->Workshop().HasPicture());

    ClickDial(*workshop, photo.OnDial(photo.scale.Clock(0), 0.8));
    for (const int knots : {50, 100}) {
        ClickDial(*workshop, photo.OnDial(photo.scale.Clock(knots), 0.85));
        TypeSpeed(*workshop, knots);
    }
    CModalDriver driver;
    driver.ChooseFile(dir.File("tas.png"));
    driver.ChooseFile(dir.File("tas.gac"));
    QTest::mouseClick(workshop->Control(wsids::kUseInKestran), Qt::LeftButton);
    ASSERT_EQ(driver.Pending(), 0u);

    // As if chosen with Select TAS Dial and Load: the dial ticked, Max Speed ticked, the
    // entries filled.
    EXPECT_EQ(window->GetCheck(ids::kTasCheck), 1);
    EXPECT_FALSE(window->Dialog().TasUploadImage().IsNull());
    EXPECT_EQ(window->GetCheck(ids::kMaxSpeedCheck), 1);
    EXPECT_EQ(Text(ids::kMaxSpeedList), "100");
    std::string why;
    const auto table = gacfile::ReadTable(dir.File("tas.gac"), &why);
    ASSERT_TRUE(table) << why;
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(Text(ids::EntryBoxId(k)), table->angles[static_cast<size_t>(k - 1)]) << k;

    // Closing the main window closes the workshop, which has nothing left to lose.
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->Workshop(), nullptr);
}

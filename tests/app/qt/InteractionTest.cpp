// The user's hands on the window: spin buttons, message boxes, file dialogs and previews.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QToolButton>
#include <QUrl>
#include <fstream>

#include "app/qt/WindowFixture.h"

using InteractionTest = WindowFixture;

TEST_F(InteractionTest, SpinArrowsStepTheirBuddyEvenWhenTheBoxIsDisabled) {
    const int box = ids::EntryBoxId(1);
    const int spin = ids::EntrySpinId(1);
    ASSERT_FALSE(Enabled(box));
    ClickArrow(spin, +1);
    EXPECT_EQ(Text(box), "7.6");
    EXPECT_EQ(window->Spin(spin)->Pos(), 76);
    ClickArrow(spin, -1);
    ClickArrow(spin, -1);
    EXPECT_EQ(Text(box), "7.4");
    EXPECT_EQ(window->Spin(spin)->Pos(), 74);

    // At the top of the range the text stays clamped.
    window->SetWindowText(ids::EntryBoxId(2), "359.95");
    ClickArrow(ids::EntrySpinId(2), +1);
    EXPECT_EQ(Text(ids::EntryBoxId(2)), "360.0");
}

TEST_F(InteractionTest, AHeldArrowRepeats) {
    QToolButton* up = window->Spin(ids::EntrySpinId(3))->UpButton();
    QTest::mousePress(up, Qt::LeftButton);
    QTest::qWait(1000);
    QTest::mouseRelease(up, Qt::LeftButton);
    const double value = std::stod(Text(ids::EntryBoxId(3)));
    EXPECT_GE(value, 22.5 + 0.3);  // well more than one step
}

TEST_F(InteractionTest, ArrowKeysOnTheBuddyStepIt) {
    Click(ids::kMaxSpeedCheck);
    auto* angle = As<QLineEdit>(ids::kAngleBox);
    ASSERT_TRUE(angle->isEnabled());
    angle->setFocus();
    QTest::keyClick(angle, Qt::Key_Up);
    EXPECT_EQ(Text(ids::kAngleBox), "318.1");
    QTest::keyClick(angle, Qt::Key_Down);
    QTest::keyClick(angle, Qt::Key_Down);
    EXPECT_EQ(Text(ids::kAngleBox), "317.9");
    EXPECT_EQ(window->Spin(ids::kAngleSpin)->Pos(), 3179);

    auto* entry = As<QLineEdit>(ids::EntryBoxId(5));
    entry->setFocus();
    QTest::keyClick(entry, Qt::Key_Down);
    EXPECT_EQ(Text(ids::EntryBoxId(5)), "49.9");
}

TEST_F(InteractionTest, MessageBoxesAreCaptionedWithTheApplicationNameAndOfferOnlyOk) {
    CModalDriver driver;
    line->failOpen = true;
    driver.AcceptMessage();
    Click(ids::kConnect);
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0].caption, "Kestran");
    EXPECT_EQ(driver.messages[0].text, "Failed to open COM port!");
    EXPECT_EQ(driver.messages[0].buttons, 1);
    EXPECT_TRUE(driver.messages[0].okOnly);
}

TEST_F(InteractionTest, TheDialFileDialogOffersPngFirstAndAllFiles) {
    CModalDriver driver;
    const std::string path = SolidPng("dial.png", {1, 2, 3, 255});
    QStringList filters;
    QString suffix;
    bool opens = false;
    driver.ChooseFile(path, [&](QFileDialog* d) {
        filters = d->nameFilters();
        suffix = d->defaultSuffix();
        opens = d->acceptMode() == QFileDialog::AcceptOpen;
    });
    Click(ids::kSelectIasDial);
    EXPECT_EQ(filters, QStringList({"PNG Files (*.png)", "All File (*)"}));
    EXPECT_EQ(suffix, "png");
    EXPECT_TRUE(opens);
    EXPECT_EQ(window->GetCheck(ids::kIasCheck), 1);
}

TEST_F(InteractionTest, TheSaveDialogAddsTheSuffixAndAsksBeforeReplacing) {
    CModalDriver driver;
    bool saves = false;
    bool confirms = false;
    driver.ChooseFile(dir.File("table"), [&](QFileDialog* d) {
        saves = d->acceptMode() == QFileDialog::AcceptSave;
        confirms = !d->testOption(QFileDialog::DontConfirmOverwrite);
    });
    Click(ids::kMaxSpeedCheck);
    Click(ids::kSave);
    EXPECT_EQ(driver.Pending(), 0u);
    EXPECT_TRUE(saves);
    EXPECT_TRUE(confirms);
    EXPECT_TRUE(std::ifstream(dir.File("table.gac")).good());
}

TEST_F(InteractionTest, RefusedDialsAreReportedAndClearTheirBox) {
    CModalDriver driver;
    driver.ChooseFile(SolidPng("wide.png", {0, 0, 0, 255}, 32, 231));
    driver.AcceptMessage();
    Click(ids::kSelectTasDial);
    driver.ChooseFile(SolidPng("opaque.png", {0, 0, 0, 255}, 24));
    driver.AcceptMessage();
    Click(ids::kSelectTasDial);
    ASSERT_EQ(driver.messages.size(), 2u);
    EXPECT_EQ(driver.messages[0].text, "Image resolution must be 230 x 230 pixels");
    EXPECT_EQ(driver.messages[1].text,
              "Image must has a color depth of 32bit per pixel(has an alpha channel)");
    EXPECT_EQ(window->GetCheck(ids::kTasCheck), 0);
}

TEST_F(InteractionTest, PreviewsAreBlendedOverTheBackgroundAndSurviveRepaints) {
    CModalDriver driver;
    // The dialog's background is the palette's: a known grey for this test.
    const QColor bg(240, 240, 240);
    QPalette palette = window->palette();
    palette.setColor(window->backgroundRole(), bg);
    window->setPalette(palette);
    // Left half half-transparent orange, right half opaque blue.
    const std::string ias = WriteTestPng(dir, "ias.png", 230, 230, 32, [](int x, int) {
        return x < 115 ? SBgra{40, 140, 250, 128} : SBgra{200, 10, 10, 255};
    });
    driver.ChooseFile(ias);
    Click(ids::kSelectIasDial);
    driver.ChooseFile(SolidPng("tas.png", {0, 0, 0, 0}));
    Click(ids::kSelectTasDial);
    ASSERT_EQ(driver.Pending(), 0u);

    auto check = [&](const char* when) {
        SCOPED_TRACE(when);
        const QImage shot = window->grab().toImage();
        // Placed and scaled with the window's units: inside each half its colour, whatever
        // the scale.
        const QRect place = window->PreviewPlace(30, 125, 230, 230);
        const QRect tas = window->PreviewPlace(30, 408, 230, 230);
        // Premultiplied 250, 140, 40 at alpha 128 is 125, 70, 20; 240 * 127 / 255 = 119.
        EXPECT_EQ(shot.pixelColor(place.left() + place.width() / 4, place.center().y()),
                  QColor(244, 189, 139));
        EXPECT_EQ(shot.pixelColor(place.right() - place.width() / 4, place.bottom() - 1),
                  QColor(10, 10, 200));
        EXPECT_EQ(shot.pixelColor(place.right(), place.bottom() + 1), bg);  // just below it
        EXPECT_EQ(shot.pixelColor(place.left() - 1, place.top()), bg);      // just left of it
        EXPECT_EQ(shot.pixelColor(tas.center()), bg);  // a transparent TAS dial
    };
    check("after choosing both dials");
    window->hide();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    check("after hiding and showing the window");

    // The upload image keeps its straight colours.
    const uint8_t* p = window->Dialog().IasUploadImage().PixelAt(10, 10);
    EXPECT_EQ(p[0], 40);
    EXPECT_EQ(p[2], 250);

    // A refused selection wipes the slot's preview but puts the other one back.
    const std::string bad = dir.File("bad.png");
    std::ofstream(bad) << "not a picture";
    driver.ChooseFile(bad);
    driver.AcceptMessage();
    Click(ids::kSelectTasDial);
    ASSERT_FALSE(driver.messages.empty());
    EXPECT_EQ(driver.messages.back().text, "Image load error");
    EXPECT_TRUE(window->Dialog().TasUploadImage().IsNull());
    const QImage shot = window->grab().toImage();
    const QRect place = window->PreviewPlace(30, 125, 230, 230);
    EXPECT_EQ(shot.pixelColor(place.right() - place.width() / 4, place.top() + 10),
              QColor(10, 10, 200));
}

// A picture dropped on a dial's preview or its Select button is taken by that slot's
// Select; dropped elsewhere it is refused, and a refused picture says why beneath.
TEST_F(InteractionTest, PicturesDroppedOnASlotAreTakenAndRefusalsSayWhy) {
    CModalDriver driver;
    const auto drop = [this](const std::string& path, const QPoint& at) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        // The drop comes after the drag has entered the window, as the toolkit routes it.
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        ASSERT_TRUE(QApplication::sendEvent(window.get(), &enter));
        QDropEvent event(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        ASSERT_TRUE(QApplication::sendEvent(window.get(), &event));
    };
    const std::string dial = SolidPng("dial.png", {10, 20, 30, 255});
    drop(dial, window->PreviewPlace(30, 125, 230, 230).center());
    EXPECT_EQ(window->GetCheck(ids::kIasCheck), 1);
    drop(dial, W(ids::kSelectTasDial)->geometry().center());
    EXPECT_EQ(window->GetCheck(ids::kTasCheck), 1);

    driver.AcceptMessage();
    drop(SolidPng("rgb.png", {1, 2, 3, 255}, 24), window->PreviewPlace(30, 408, 230, 230).center());
    driver.AcceptMessage();
    drop(dial, W(ids::kUpdate)->geometry().center());
    ASSERT_EQ(driver.messages.size(), 2u);
    EXPECT_EQ(driver.messages[0].text,
              "Image must has a color depth of 32bit per pixel(has an alpha channel)");
    EXPECT_EQ(driver.messages[0].reason,
              "rgb.png is RGB without alpha; the Dial Workshop or kestran-dial prepare makes a "
              "230 x 230 dial with alpha of it.");
    EXPECT_EQ(driver.messages[1].text, CTillerbyDlg::kDropOnASlotMessage);
    EXPECT_EQ(driver.messages[1].reason, "");
    EXPECT_EQ(window->GetCheck(ids::kTasCheck), 0);
    EXPECT_EQ(window->GetCheck(ids::kIasCheck), 1);
}

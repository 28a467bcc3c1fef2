#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>
#include <memory>
#include <string>

#include "app/qt/CSpinButton.h"
#include "app/qt/DialogWindow.h"
#include "app/qt/ModalDriver.h"
#include "res/ControlIds.h"
#include "support/FakeServices.h"
#include "support/TestImages.h"

// The main window on the offscreen platform, with one fake serial port "GAUGE".
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override { Open(); }
    void TearDown() override { Close(); }

    virtual SDialogServices Services() { return FakeServices(ports, line); }

    void Open() {
        window = std::make_unique<CDialogWindow>(Services());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void Close() {
        window.reset();
        QCoreApplication::sendPostedEvents();
    }

    QWidget* W(int id) const { return window->Control(id); }
    template <class T>
    T* As(int id) const {
        return qobject_cast<T*>(W(id));
    }
    std::string Text(int id) const { return window->GetWindowText(id); }
    bool Enabled(int id) const { return window->IsWindowEnabled(id); }
    void Click(int id) { QTest::mouseClick(W(id), Qt::LeftButton); }
    void ClickArrow(int spinId, int delta) {
        CSpinButton* spin = window->Spin(spinId);
        QTest::mouseClick(delta > 0 ? static_cast<QWidget*>(spin->UpButton())
                                    : static_cast<QWidget*>(spin->DownButton()),
                          Qt::LeftButton);
    }

    // A picture of one colour in the test's folder.
    std::string SolidPng(const std::string& name, SBgra colour, int bpp = 32, int width = 230) {
        return WriteTestPng(dir, name, width, 230, bpp, [colour](int, int) { return colour; });
    }

    CTempDir dir;
    SerInfoList ports = kGaugePort;
    std::shared_ptr<SFakeLine> line = std::make_shared<SFakeLine>();
    std::unique_ptr<CDialogWindow> window;
};

#pragma once

#include <QLineEdit>
#include <QTest>
#include <cmath>

#include "app/qt/WorkshopView.h"
#include "app/qt/WorkshopWindow.h"
#include "res/WorkshopControls.h"
#include "workshop/CalibrationView.h"

// A click on the workshop's large dial at a point of the 230 x 230 dial, where the window
// draws it.
inline void ClickDial(CWorkshopWindow& window, workshop::SPoint dial) {
    CWorkshopView* view = window.View(wsids::kCalibrationView);
    workshop::CCalibrationView drawn;
    drawn.Resize(view->DeviceWidth(), view->DeviceHeight());
    const workshop::SPoint at = drawn.ToView(dial);
    const double ratio = view->devicePixelRatioF();
    const QPoint local(static_cast<int>(std::lround(at.x / ratio)),
                       static_cast<int>(std::lround(at.y / ratio)));
    QTest::mouseMove(view, local);
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, local);
}

// The speed of the mark just clicked, typed into its box, and Enter.
inline void TypeSpeed(CWorkshopWindow& window, int knots) {
    auto* speed = qobject_cast<QLineEdit*>(window.Control(wsids::kSpeed));
    QTest::keyClicks(speed, QString::number(knots));
    QTest::keyClick(speed, Qt::Key_Return);
}

#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "dial/RgbaPicture.h"
#include "workshop/Workshop.h"

// A view of the dial workshop: shows the pixels the workshop draws, one to each of the
// screen's pixels, and passes on its size, the pointer and the keys, all in those pixels.
class CWorkshopView : public QWidget {
    Q_OBJECT

public:
    using SizeHandler = std::function<void(int width, int height)>;
    using PointerHandler = std::function<void(EPointer what, double x, double y)>;
    // Answers whether the key was taken; one not taken goes on to the window.
    using KeyHandler = std::function<bool(EWorkshopKey key)>;

    CWorkshopView(QWidget* parent, bool takesKeys);
    void SetHandlers(SizeHandler size, PointerHandler pointer, KeyHandler key);
    void ShowPixels(const SRgbaPicture& pixels);
    // The view's size in the screen's pixels.
    int DeviceWidth() const;
    int DeviceHeight() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Pointer(EPointer what, QMouseEvent* event);

    QImage m_pixels;
    SizeHandler m_size;
    PointerHandler m_pointer;
    KeyHandler m_key;
};

#include "app/qt/WorkshopView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

CWorkshopView::CWorkshopView(QWidget* parent, bool takesKeys) : QWidget(parent) {
    setFocusPolicy(takesKeys ? Qt::StrongFocus : Qt::NoFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CWorkshopView::SetHandlers(SizeHandler size, PointerHandler pointer, KeyHandler key) {
    m_size = std::move(size);
    m_pointer = std::move(pointer);
    m_key = std::move(key);
}

int CWorkshopView::DeviceWidth() const {
    return static_cast<int>(std::lround(width() * devicePixelRatioF()));
}

int CWorkshopView::DeviceHeight() const {
    return static_cast<int>(std::lround(height() * devicePixelRatioF()));
}

void CWorkshopView::ShowPixels(const SRgbaPicture& pixels) {
    m_pixels = QImage(pixels.rgba.data(), pixels.width, pixels.height, pixels.width * 4,
                      QImage::Format_RGBA8888)
                   .copy();
    m_pixels.setDevicePixelRatio(devicePixelRatioF());
    update();
}

void CWorkshopView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.drawImage(QPointF(0, 0), m_pixels);
    if (hasFocus()) {
        // The keys' target shows as such, as a focused control does.
        QPen pen(palette().color(QPalette::Highlight), 2);
        painter.setPen(pen);
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void CWorkshopView::resizeEvent(QResizeEvent*) {
    if (m_size)
        m_size(DeviceWidth(), DeviceHeight());
}

void CWorkshopView::Pointer(EPointer what, QMouseEvent* event) {
    if (!m_pointer)
        return;
    const double ratio = devicePixelRatioF();
    m_pointer(what, event->position().x() * ratio, event->position().y() * ratio);
}

void CWorkshopView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
    Pointer(EPointer::Press, event);
}

void CWorkshopView::mouseMoveEvent(QMouseEvent* event) {
    Pointer(EPointer::Move, event);
}

void CWorkshopView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Pointer(EPointer::Release, event);
}

void CWorkshopView::leaveEvent(QEvent*) {
    if (m_pointer)
        m_pointer(EPointer::Leave, 0, 0);
}

void CWorkshopView::keyPressEvent(QKeyEvent* event) {
    static const std::pair<int, EWorkshopKey> keys[] = {
        {Qt::Key_Return, EWorkshopKey::Enter},  {Qt::Key_Enter, EWorkshopKey::Enter},
        {Qt::Key_Escape, EWorkshopKey::Escape}, {Qt::Key_Delete, EWorkshopKey::Delete},
        {Qt::Key_Left, EWorkshopKey::Left},     {Qt::Key_Right, EWorkshopKey::Right},
        {Qt::Key_Up, EWorkshopKey::Up},         {Qt::Key_Down, EWorkshopKey::Down},
    };
    for (const auto& [qt, key] : keys) {
        if (event->key() == qt && m_key && m_key(key))
            return;
    }
    event->ignore();
}

void CWorkshopView::focusInEvent(QFocusEvent*) {
    update();
}

void CWorkshopView::focusOutEvent(QFocusEvent*) {
    update();
}

#include "app/qt/CSpinButton.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace {
// Delay before a held arrow starts repeating, and the pace of the repeats, in ms.
constexpr int kRepeatDelay = 400;
constexpr int kRepeatInterval = 60;
}  // namespace

CSpinButton::CSpinButton(QWidget* parent)
    : QWidget(parent), m_up(MakeArrow(Qt::UpArrow, +1)), m_down(MakeArrow(Qt::DownArrow, -1)) {
    setFocusPolicy(Qt::NoFocus);
}

QToolButton* CSpinButton::MakeArrow(Qt::ArrowType arrow, int delta) {
    auto* button = new QToolButton(this);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(kRepeatDelay);
    button->setAutoRepeatInterval(kRepeatInterval);
    connect(button, &QToolButton::clicked, this, [this, delta] { Step(delta); });
    return button;
}

void CSpinButton::resizeEvent(QResizeEvent* /*event*/) {
    const int upperHalf = height() / 2;
    m_up->setGeometry(0, 0, width(), upperHalf);
    m_down->setGeometry(0, upperHalf, width(), height() - upperHalf);
}

void CSpinButton::SetBuddy(QLineEdit* buddy) {
    if (m_buddy != nullptr)
        m_buddy->removeEventFilter(this);
    m_buddy = buddy;
    if (m_buddy != nullptr)
        m_buddy->installEventFilter(this);
}

void CSpinButton::SetRange(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
}

void CSpinButton::SetPos(int pos) {
    m_pos = pos;
}

void CSpinButton::Step(int delta) {
    const long result = m_handler ? m_handler(delta) : 0;
    if (result != 0)
        return;
    const int low = std::min(m_lower, m_upper);
    const int high = std::max(m_lower, m_upper);
    m_pos = std::clamp(m_pos + delta, low, high);
}

bool CSpinButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_buddy && event->type() == QEvent::KeyPress && isEnabled()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Held keys arrive as repeated presses, so holding an arrow key repeats the step.
        if (key->key() == Qt::Key_Up) {
            Step(+1);
            return true;
        }
        if (key->key() == Qt::Key_Down) {
            Step(-1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

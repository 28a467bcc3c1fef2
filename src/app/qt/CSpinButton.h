#pragma once

#include <QWidget>
#include <functional>

class QLineEdit;
class QToolButton;

// An up-down control: two arrow buttons stacked at the right edge of a buddy edit box.
// It keeps a native integer range and position, as the dialog logic sets them, and asks
// its step handler about every step before the position moves. Held mouse buttons and
// the arrow keys on the buddy repeat the step.
class CSpinButton : public QWidget {
    Q_OBJECT

public:
    // Answers 0 to let the native position move by the delta, anything else to keep it.
    using StepHandler = std::function<long(int delta)>;

    explicit CSpinButton(QWidget* parent);

    // Binds the buddy: the arrow keys on it step this control.
    void SetBuddy(QLineEdit* buddy);
    QLineEdit* Buddy() const { return m_buddy; }
    void SetStepHandler(StepHandler handler) { m_handler = std::move(handler); }

    void SetRange(int lower, int upper);
    void SetPos(int pos);
    int Lower() const { return m_lower; }
    int Upper() const { return m_upper; }
    int Pos() const { return m_pos; }

    // One step up (+1) or down (-1), as a click on an arrow does.
    void Step(int delta);

    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* MakeArrow(Qt::ArrowType arrow, int delta);

    QToolButton* m_up;
    QToolButton* m_down;
    QLineEdit* m_buddy = nullptr;
    StepHandler m_handler;
    int m_lower = 0;
    int m_upper = 100;
    int m_pos = 0;
};

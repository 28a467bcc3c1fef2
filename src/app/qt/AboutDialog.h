#pragma once

#include <QDialog>
#include <vector>

// The About box (template 100): the application icon, the version line, a second line and
// the OK button "确定". Enter, Escape and the button close it.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // Every control in template order.
    const std::vector<QWidget*>& Controls() const { return m_controls; }

private:
    std::vector<QWidget*> m_controls;
};

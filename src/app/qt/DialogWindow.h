#pragma once

#include <QDialog>
#include <QPointer>
#include <map>
#include <memory>
#include <vector>

#include "dial/CImage.h"
#include "dialog/CTillerbyDlg.h"
#include "dialog/DialogEnd.h"
#include "host/DialogHost.h"
#include "res/DialogTemplate.h"

class CSpinButton;
class CWorkshopWindow;
class QMenu;

// The main dialog's window: builds the 220 controls of template 102, forwards their
// notifications to the dialog logic (CTillerbyDlg, which it owns) and carries out the
// logic's requests on the widgets.
class CDialogWindow : public QDialog, public IDialogHost {
    Q_OBJECT

public:
    // Builds the controls, then runs the dialog's initialisation on them.
    explicit CDialogWindow(SDialogServices services, QWidget* parent = nullptr);
    ~CDialogWindow() override;

    CTillerbyDlg& Dialog() { return *m_dialog; }
    // The widget of a control, or null for an unknown id.
    QWidget* Control(int id) const;
    // Every control in template order.
    const std::vector<QWidget*>& Controls() const { return m_controls; }
    CSpinButton* Spin(int id) const;
    // The dialog units the window is laid out in: those of its font.
    const res::SDialogUnits& Units() const { return m_units; }
    // Where a picture the dialog draws at (x, y) of the template's pixels lands.
    QRect PreviewPlace(int x, int y, int w, int h) const;
    // The context menu of the dialog, standing in for the system menu.
    QMenu* SystemMenu() const { return m_systemMenu; }
    // A command of the system menu: the About entry shows the About box, "Dial workshop..."
    // opens the dial workshop beside the dialog (or brings it to the front).
    void OnSysCommand(int id);
    // The dial workshop opened from the system menu; null before, and once it is closed.
    CWorkshopWindow* Workshop() const;

    KESTRAN_DIALOG_HOST_OVERRIDES

    // Ends the dialog in any way (close box, Escape, Enter): the port is closed and the
    // reader thread ended first, so nothing reaches the dialog afterwards.
    void done(int result) override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct SHeldPreview {
        int x = 0, y = 0;
        CImage picture;  // premultiplied, as handed in
    };

    QWidget* At(int id) const;
    void WireNotifications();
    QRect PreviewRect(const SHeldPreview& held) const;
    // The Select button whose slot (the button or its preview) holds `point`; 0 for none.
    int SlotAt(const QPoint& point) const;

    std::vector<QWidget*> m_controls;
    std::map<int, QWidget*> m_byId;
    QMenu* m_systemMenu = nullptr;
    res::SDialogUnits m_units;  // of the window's font
    QSize m_templateSize;
    int m_portListWidth = 0;
    std::vector<std::unique_ptr<SHeldPreview>> m_previews;
    std::map<int, int> m_timers;  // the dialog's timer id -> Qt's
    std::unique_ptr<CTillerbyDlg> m_dialog;
    CDialogEnd m_end;
    QPointer<CWorkshopWindow> m_workshop;
};

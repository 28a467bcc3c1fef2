#pragma once

#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "host/WorkshopHost.h"
#include "workshop/Workshop.h"

class CWorkshopView;

// The dial workshop's window: builds its controls, lays them out for the window's font and
// size, forwards their notifications, the views' pointer and keys and dropped files to the
// workshop (CWorkshop, which it owns) and carries out its requests on the widgets.
class CWorkshopWindow : public QWidget, public IWorkshopHost {
    Q_OBJECT

public:
    // With a parent (Kestran's main window) it is a window of its own above it, and "Use in
    // Kestran" hands the saved dial and table over through `handOver`.
    explicit CWorkshopWindow(CWorkshop::HandOver handOver = {}, QWidget* parent = nullptr);
    ~CWorkshopWindow() override;

    // Fills the lists, opens the picture when given, and takes the size its controls need.
    void Open(const std::optional<std::string>& picture);

    CWorkshop& Workshop() { return *m_workshop; }
    QWidget* Control(int id) const;
    CWorkshopView* View(int id) const;

    KESTRAN_WORKSHOP_HOST_OVERRIDES

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WireNotifications();
    void LayOutControls();

    std::map<int, QWidget*> m_byId;
    std::unique_ptr<CWorkshop> m_workshop;
    bool m_quiet = false;  // the workshop's own changes to a list do not notify it
};

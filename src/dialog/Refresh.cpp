// The Refresh command: find the machine's serial ports and offer them in the port list box.
#include <exception>

#include "dialog/CTillerbyDlg.h"
#include "res/ControlIds.h"

void CTillerbyDlg::OnRefresh() {
    std::exception_ptr failure;
    try {
        if (m_services.findSerialPorts) {
            m_services.findSerialPorts(m_portList);
        } else {
            m_portList.clear();
        }
    } catch (...) {
        failure = std::current_exception();
    }

    // Rebuilt even after a failed search, from the ports found before the failure, so that
    // entry i of the box is always record i of the list.
    m_host.ResetContent(ids::kPortList);
    for (const SSerInfo& port : m_portList)
        m_host.AddString(ids::kPortList, port.friendlyName);
    if (m_host.GetCount(ids::kPortList) > 0) {
        m_host.SetCurSel(ids::kPortList, 0);
        m_host.EnableWindow(ids::kConnect, true);
    } else {
        m_host.EnableWindow(ids::kConnect, false);
    }

    if (failure)
        std::rethrow_exception(failure);
}

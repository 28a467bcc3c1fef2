#include "angles/AngleEntryFlag.h"

#include "host/DialogHost.h"
#include "res/ControlIds.h"

void FlagAngleEntry(IDialogHost& host, int k, const std::string& message) {
    const int box = ids::EntryBoxId(k);
    host.MessageBox(message);
    host.SetFocus(box);
    host.SetSel(box, 0, static_cast<int>(host.GetWindowText(box).size()));
}

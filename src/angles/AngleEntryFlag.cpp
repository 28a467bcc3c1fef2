#include "angles/AngleEntryFlag.h"

#include "dialog/ControlIds.h"
#include "dialog/DialogHost.h"

void FlagAngleEntry(IDialogHost& host, int k, const std::string& message) {
    const int box = ids::EntryBoxId(k);
    host.MessageBox(message);
    host.SetFocus(box);
    host.SetSel(box, 0, static_cast<int>(host.GetWindowText(box).size()));
}

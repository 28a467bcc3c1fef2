// Saving and loading gauge configuration files (in progress).
#include "dialog/CTillerbyDlg.h"

void CTillerbyDlg::OnLoad() {}
void CTillerbyDlg::OnSave() {}

#pragma once

#include <memory>

#include "dialog/CTillerbyDlg.h"
#include "dialog/HeadlessCanvas.h"
#include "dialog/HeadlessHost.h"
#include "support/FakeServices.h"

// A main dialog on the headless host with one fake port "GAUGE" on a fake line, set up as
// at program start. The previews are drawn onto a canvas, so that every picture the
// dialog accepts is blended as a window would.
struct SDialogRig {
    SDialogRig() {
        dialog = std::make_unique<CTillerbyDlg>(host, FakeServices(kGaugePort, line));
        host.Attach(dialog.get());
        host.AttachCanvas(&canvas);
        dialog->OnInitDialog();
    }
    ~SDialogRig() { dialog.reset(); }
    SDialogRig(const SDialogRig&) = delete;
    SDialogRig& operator=(const SDialogRig&) = delete;

    CHeadlessCanvas canvas;
    CHeadlessHost host;
    std::shared_ptr<SFakeLine> line = std::make_shared<SFakeLine>();
    std::unique_ptr<CTillerbyDlg> dialog;
};

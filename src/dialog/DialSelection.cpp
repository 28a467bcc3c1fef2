// Choosing the two dial pictures: file dialog, validation, previews and the check boxes.
#include <vector>

#include "dial/DialRule.h"
#include "dial/PictureFile.h"
#include "dial/PixelOps.h"
#include "dialog/CTillerbyDlg.h"
#include "res/ControlIds.h"

void CTillerbyDlg::OnSelectIasDial() {
    SelectDial(IasSlot());
}
void CTillerbyDlg::OnSelectTasDial() {
    SelectDial(TasSlot());
}
void CTillerbyDlg::OnIasDialCheck() {
    DialCheck(IasSlot());
}
void CTillerbyDlg::OnTasDialCheck() {
    DialCheck(TasSlot());
}

CTillerbyDlg::SDialSlot CTillerbyDlg::IasSlot() {
    return {ids::kIasCheck, &m_iasUpload, &m_iasPreview, m_iasPreviewX, m_iasPreviewY};
}

CTillerbyDlg::SDialSlot CTillerbyDlg::TasSlot() {
    return {ids::kTasCheck, &m_tasUpload, &m_tasPreview, m_tasPreviewX, m_tasPreviewY};
}

void CTillerbyDlg::SelectDial(const SDialSlot& slot) {
    SFileDialogRequest request;
    request.open = true;
    request.defaultExt = "png";
    request.flags = kOfnHideReadOnly | kOfnOverwritePrompt;
    request.filter = "PNG Files (*.png)|*.png|All File (*.*)|*.*||";
    const std::optional<std::string> path = AskForFile(request);
    if (!path) {
        if (slot.upload->IsNull())
            m_host.SetCheck(slot.checkId, 0);
        return;
    }
    TakeDial(slot, *path);
}

bool CTillerbyDlg::SelectDialFile(int selectButtonId, const std::string& path) {
    if (!m_host.IsWindowEnabled(selectButtonId) ||
        (selectButtonId != ids::kSelectIasDial && selectButtonId != ids::kSelectTasDial))
        return false;
    TakeDial(selectButtonId == ids::kSelectIasDial ? IasSlot() : TasSlot(), path);
    return true;
}

void CTillerbyDlg::OnDropFiles(int selectButtonId, const std::vector<std::string>& paths) {
    const bool onSlot = selectButtonId == ids::kSelectIasDial || selectButtonId == ids::kSelectTasDial;
    if (!onSlot) {
        m_host.MessageBox(kDropOnASlotMessage);
    } else if (paths.size() != 1 || paths.front().empty()) {
        m_host.MessageBox(kDropOneFileMessage);
    } else if (!SelectDialFile(selectButtonId, paths.front())) {
        m_host.MessageBox(kDropDuringUpdateMessage);
    }
}

std::pair<int, int> CTillerbyDlg::PreviewOrigin(int selectButtonId) const {
    return selectButtonId == ids::kSelectIasDial ? std::pair{m_iasPreviewX, m_iasPreviewY}
                                                 : std::pair{m_tasPreviewX, m_tasPreviewY};
}

void CTillerbyDlg::TakeDial(const SDialSlot& slot, const std::string& path) {
    m_host.RepaintNow();
    // The held dial is dropped before the new file is read, whatever the outcome. The file
    // is read once: the upload image and the preview are decoded from the same bytes.
    std::vector<uint8_t> bytes;
    if (const std::optional<SMessage> refusal = LoadDial(path, *slot.upload, &bytes)) {
        m_host.MessageBox(*refusal);
        slot.upload->Destroy();
        m_host.SetCheck(slot.checkId, 0);
    } else {
        m_host.SetCheck(slot.checkId, 1);
        slot.preview->LoadFromMemory(bytes.data(), bytes.size());
        pixelops::Premultiply(*slot.preview);
        m_host.DrawImage(*slot.preview, slot.previewX, slot.previewY);
    }

    // Put back the other slot's preview, which the repaint wiped.
    const SDialSlot other = slot.checkId == ids::kIasCheck ? TasSlot() : IasSlot();
    if (!other.upload->IsNull())
        m_host.DrawImage(*other.preview, other.previewX, other.previewY);

    UpdateButtonState();
}

void CTillerbyDlg::DialCheck(const SDialSlot& slot) {
    if (m_host.GetCheck(slot.checkId) != 0 && slot.upload->IsNull())
        SelectDial(slot);
    UpdateButtonState();
}

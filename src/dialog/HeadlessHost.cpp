#include "dialog/HeadlessHost.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "dialog/CTillerbyDlg.h"
#include "dialog/HeadlessCanvas.h"
#include "host/HostRules.h"
#include "res/DialogTemplate.h"

CHeadlessHost::CHeadlessHost() {
    for (const res::SControlDef& def : res::MainDialog().controls) {
        if (def.id < 0)
            continue;
        SControlState state;
        state.text = def.caption;
        state.sorted = (def.style & res::kSorted) != 0;
        m_controls[def.id] = state;
    }
}

CHeadlessHost::SControlState& CHeadlessHost::At(int id) {
    return const_cast<SControlState&>(std::as_const(*this).At(id));
}

const CHeadlessHost::SControlState& CHeadlessHost::At(int id) const {
    auto it = m_controls.find(id);
    if (it == m_controls.end())
        throw std::logic_error("no control with id " + std::to_string(id));
    return it->second;
}

const CHeadlessHost::SControlState& CHeadlessHost::Control(int id) const {
    return At(id);
}

std::string CHeadlessHost::GetWindowText(int id) const {
    const SControlState& c = At(id);
    // A drop-down list's text is its selected item.
    if (!c.items.empty() || res::FindControl(id)->kind == res::ControlKind::ComboBox) {
        return c.curSel >= 0 ? c.items[static_cast<size_t>(c.curSel)] : std::string();
    }
    return c.text;
}

void CHeadlessHost::SetWindowText(int id, const std::string& text) {
    At(id).text = text;
}
bool CHeadlessHost::IsWindowEnabled(int id) const {
    return At(id).enabled;
}
void CHeadlessHost::EnableWindow(int id, bool enable) {
    At(id).enabled = enable;
}

void CHeadlessHost::SetFocus(int id) {
    At(id);
    m_focus = id;
}

int CHeadlessHost::GetFocus() const {
    return m_focus;
}

int CHeadlessHost::GetCheck(int id) const {
    return At(id).check;
}
void CHeadlessHost::SetCheck(int id, int state) {
    At(id).check = state;
}

void CHeadlessHost::ResetContent(int id) {
    SControlState& c = At(id);
    c.items.clear();
    c.curSel = -1;
}

int CHeadlessHost::AddString(int id, const std::string& text) {
    SControlState& c = At(id);
    const int count = static_cast<int>(c.items.size());
    const int index =
        c.sorted ? hostrules::SortedInsertIndex(
                       count, [&c](int i) { return c.items[static_cast<size_t>(i)]; }, text)
                 : count;
    c.items.insert(c.items.begin() + index, text);
    if (c.curSel >= index)
        ++c.curSel;
    return index;
}

int CHeadlessHost::GetCount(int id) const {
    return static_cast<int>(At(id).items.size());
}
int CHeadlessHost::GetCurSel(int id) const {
    return At(id).curSel;
}

void CHeadlessHost::SetCurSel(int id, int index) {
    SControlState& c = At(id);
    c.curSel = (index >= 0 && index < static_cast<int>(c.items.size())) ? index : -1;
}

void CHeadlessHost::SetSel(int id, int start, int end) {
    SControlState& c = At(id);
    c.selStart = start;
    c.selEnd = end;
}

void CHeadlessHost::SetProgressPos(int id, int pos) {
    At(id).progress = std::clamp(pos, 0, 100);
}

void CHeadlessHost::SetSpinRange(int id, int lower, int upper) {
    SControlState& c = At(id);
    c.spinLower = lower;
    c.spinUpper = upper;
}

void CHeadlessHost::SetSpinPos(int id, int pos) {
    At(id).spinPos = pos;
}

void CHeadlessHost::MessageBox(const SMessage& message) {
    m_messages.push_back(message.text);
    m_reasons.push_back(message.reason);
}

bool CHeadlessHost::AskYesNo(const std::string& text) {
    m_questions.push_back(text);
    if (m_questionAnswers.empty())
        return false;
    const bool yes = m_questionAnswers.front();
    m_questionAnswers.pop_front();
    return yes;
}

void CHeadlessHost::QueueQuestionAnswer(bool yes) {
    m_questionAnswers.push_back(yes);
}

bool CHeadlessHost::PressEnter() {
    if (m_dialog == nullptr || m_end.Ended())
        return false;
    if (hostrules::EnterClicksFocus(m_focus, m_focus != 0 && At(m_focus).enabled)) {
        Click(m_focus);
        return false;
    }
    return m_end.EndIf(EEndRequest::Ok);
}

bool CHeadlessHost::PressEscape() {
    return m_dialog != nullptr && m_end.EndIf(EEndRequest::Cancel);
}

void CHeadlessHost::SetTimer(int timerId, unsigned milliseconds) {
    const std::chrono::milliseconds interval(milliseconds);
    m_timers[timerId] = STimer{interval, m_now + interval};
}

void CHeadlessHost::KillTimer(int timerId) {
    m_timers.erase(timerId);
}

void CHeadlessHost::AdvanceClock(std::chrono::milliseconds elapsed) {
    const std::chrono::milliseconds end = m_now + elapsed;
    for (;;) {
        // The earliest timer due by the end; a handler may set or kill any of them.
        auto next = m_timers.end();
        for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
            if (it->second.due <= end &&
                (next == m_timers.end() || it->second.due < next->second.due))
                next = it;
        }
        if (next == m_timers.end())
            break;
        m_now = next->second.due;
        next->second.due += std::max(next->second.interval, std::chrono::milliseconds(1));
        if (m_dialog != nullptr)
            m_dialog->OnTimer(next->first);
    }
    m_now = end;
}

std::optional<std::string> CHeadlessHost::FileDialog(const SFileDialogRequest& request) {
    m_fileRequests.push_back(request);
    if (m_fileAnswers.empty())
        return std::nullopt;
    std::optional<std::string> answer = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    return answer;
}

void CHeadlessHost::QueueFileDialogAnswer(std::optional<std::string> path) {
    m_fileAnswers.push_back(std::move(path));
}

void CHeadlessHost::RepaintNow() {
    ++m_repaints;
    if (m_canvas != nullptr)
        m_canvas->Erase();
}

void CHeadlessHost::DrawImage(const CImage& image, int x, int y) {
    if (m_canvas != nullptr)
        m_canvas->Draw(image, x, y);
}

void CHeadlessHost::PostSerialNotification() {
    {
        std::lock_guard<std::mutex> lock(m_postMutex);
        ++m_posted;
    }
    m_postCv.notify_one();
}

int CHeadlessHost::PendingNotifications() const {
    std::lock_guard<std::mutex> lock(m_postMutex);
    return m_posted;
}

bool CHeadlessHost::RunNotification(std::chrono::milliseconds timeout) {
    {
        std::unique_lock<std::mutex> lock(m_postMutex);
        if (!m_postCv.wait_for(lock, timeout, [this] { return m_posted > 0; }))
            return false;
        --m_posted;
    }
    if (m_dialog != nullptr)
        m_dialog->OnSerialData(1, 0);
    return true;
}

bool CHeadlessHost::Click(int id) {
    SControlState& c = At(id);
    if (!c.enabled || m_dialog == nullptr)
        return false;
    if (res::FindControl(id)->kind == res::ControlKind::AutoCheckBox)
        c.check = c.check ? 0 : 1;
    m_dialog->OnCommand(id, Notify::Clicked);
    return true;
}

bool CHeadlessHost::SelectItem(int id, int index) {
    SControlState& c = At(id);
    if (!c.enabled || m_dialog == nullptr || index < 0 ||
        index >= static_cast<int>(c.items.size())) {
        return false;
    }
    c.curSel = index;
    m_dialog->OnCommand(id, Notify::SelChange);
    return true;
}

bool CHeadlessHost::Type(int id, const std::string& text) {
    SControlState& c = At(id);
    if (!c.enabled)
        return false;
    c.text = text;
    return true;
}

bool CHeadlessHost::ClickSpin(int id, int delta) {
    SControlState& c = At(id);
    if (!c.enabled || m_dialog == nullptr)
        return false;
    const long result = m_dialog->OnSpinDeltaPos(id, delta);
    // A zero result lets the native control move by the delta, within its range.
    if (result == 0)
        c.spinPos = std::clamp(c.spinPos + delta, c.spinLower, c.spinUpper);
    return true;
}

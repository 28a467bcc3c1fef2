#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "host/WorkshopHost.h"

// The workshop's controls as plain values, its file dialogs and questions answered from
// queues, its message boxes kept.
class CFakeWorkshopHost : public IWorkshopHost {
public:
    std::map<int, std::string> texts;
    std::map<int, int> checks;
    std::map<int, bool> enabled, shown;
    std::map<int, std::vector<std::string>> items;
    std::map<int, int> selections;
    std::map<int, SRgbaPicture> pixels;
    std::deque<std::string> files;  // answers of the file dialogs; none left: cancelled
    std::vector<SFileDialogRequest> fileRequests;
    std::deque<bool> answers;  // of the questions; none left: No
    std::vector<std::string> questions;
    std::vector<SMessage> messages;
    int focus = 0;
    std::string caption;

    std::string GetText(int id) const override {
        return texts.count(id) ? texts.at(id) : std::string();
    }
    void SetText(int id, const std::string& text) override { texts[id] = text; }
    void Enable(int id, bool enable) override { enabled[id] = enable; }
    void Show(int id, bool show) override { shown[id] = show; }
    void SetFocus(int id) override { focus = id; }
    int GetCheck(int id) const override { return checks.count(id) ? checks.at(id) : 0; }
    void SetCheck(int id, int state) override { checks[id] = state; }
    void SetItems(int id, const std::vector<std::string>& list) override {
        items[id] = list;
        selections[id] = -1;
    }
    int GetSelection(int id) const override {
        return selections.count(id) ? selections.at(id) : -1;
    }
    void SetSelection(int id, int index) override { selections[id] = index; }
    void ShowPixels(int viewId, const SRgbaPicture& p) override { pixels[viewId] = p; }
    void SetCaption(const std::string& text) override { caption = text; }
    void MessageBox(const SMessage& message) override { messages.push_back(message); }
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        if (answers.empty())
            return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    std::optional<std::string> FileDialog(const SFileDialogRequest& request) override {
        fileRequests.push_back(request);
        if (files.empty())
            return std::nullopt;
        std::string answer = files.front();
        files.pop_front();
        return answer;
    }
};

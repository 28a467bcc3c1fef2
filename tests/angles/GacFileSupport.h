#pragma once

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/DialogFixture.h"
#include "support/FileBytes.h"
#include "support/TestImages.h"

// Gauge configuration files on disk, and the dialog's angle table as one comparable value.
class GacFixture : public DialogFixture {
protected:
    struct STableState {
        std::vector<std::string> texts;
        std::vector<bool> enabled;
        std::string angle;
        int selection;
        int check;
        bool operator==(const STableState&) const = default;
    };

    STableState Table() const {
        STableState state{{},
                          {},
                          host.GetWindowText(ids::kAngleBox),
                          host.GetCurSel(ids::kMaxSpeedList),
                          host.GetCheck(ids::kMaxSpeedCheck)};
        for (int k = 1; k <= ids::kEntryCount; ++k) {
            state.texts.push_back(Entry(k));
            state.enabled.push_back(host.IsWindowEnabled(ids::EntryBoxId(k)));
        }
        return state;
    }

    std::string Entry(int k) const { return host.GetWindowText(ids::EntryBoxId(k)); }
    void SetEntry(int k, const std::string& text) { host.SetWindowText(ids::EntryBoxId(k), text); }

    static std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Loads the file at `path` through the Load button; answers the messages shown.
    std::vector<std::string> Load(const std::string& path) {
        host.ClearMessages();
        host.QueueFileDialogAnswer(path);
        EXPECT_TRUE(host.Click(ids::kLoad));
        return host.Messages();
    }
    std::vector<std::string> LoadText(const std::string& bytes) {
        const std::string path = dir.File("in.gac");
        WriteFileBytes(path, bytes);
        return Load(path);
    }
    // Saves through the Save button (the table must be unlocked) to `path`, or cancels the
    // file dialog without one; answers the messages.
    std::vector<std::string> Save(const std::optional<std::string>& path = std::nullopt) {
        host.ClearMessages();
        if (path)
            host.QueueFileDialogAnswer(path);
        EXPECT_TRUE(host.Click(ids::kSave));
        return host.Messages();
    }

    CTempDir dir;
};

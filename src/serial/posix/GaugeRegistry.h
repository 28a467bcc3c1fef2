#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>

// Virtual gauges announce themselves to Kestran's port list through a private folder of the
// user's: one entry per live gauge, naming its pseudo-terminal. Nothing needs setting up,
// and a machine without virtual gauges lists only its real ports.

struct SGaugeEntry {
    std::string ptyPath;  // the terminal to open, e.g. /dev/pts/3
    std::string name;     // what the gauge calls itself; may be empty
    pid_t pid = 0;        // the process serving it
};

// The folder the gauges and Kestran agree on: kestran-gauges in $XDG_RUNTIME_DIR, or
// /tmp/kestran-<uid> where that is not set.
std::filesystem::path DefaultGaugeRegistryDir();

// The gauges whose processes still run, ordered by terminal. Entries left behind by ended
// processes are removed. A folder that is missing, or that the user does not own alone, has
// no gauges.
std::vector<SGaugeEntry> ListLiveGauges(const std::filesystem::path& dir);

// Announces one gauge for as long as the object lives.
class CGaugeRegistration {
public:
    CGaugeRegistration(const std::string& ptyPath, const std::string& name,
                       const std::filesystem::path& dir = DefaultGaugeRegistryDir());
    ~CGaugeRegistration();
    CGaugeRegistration(const CGaugeRegistration&) = delete;
    CGaugeRegistration& operator=(const CGaugeRegistration&) = delete;

    // False when the folder could not be made private to the user or the entry not written.
    bool IsRegistered() const { return !m_entry.empty(); }
    const std::filesystem::path& EntryPath() const { return m_entry; }

private:
    std::filesystem::path m_entry;
};

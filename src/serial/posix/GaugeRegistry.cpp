#include "serial/posix/GaugeRegistry.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "serial/NaturalOrder.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kEntrySuffix = ".gauge";

// Entries are trusted because nobody but the user can write the folder: it must be a real
// folder (not a link), owned by the user, writable by nobody else.
bool IsPrivateDir(const fs::path& dir) {
    struct stat info {};
    return lstat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool MakePrivateDir(const fs::path& dir) {
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    return IsPrivateDir(dir);
}

// The kernel's start time of a process, which tells a reused process id from the original.
std::optional<std::string> ProcessStartTime(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!stat || !std::getline(stat, text))
        return std::nullopt;
    const size_t commandEnd = text.rfind(')');
    if (commandEnd == std::string::npos)
        return std::nullopt;
    std::istringstream fields(text.substr(commandEnd + 1));
    std::string field;
    // Field 22 of the line; the text after the command name starts at field 3.
    for (int n = 3; n <= 22; ++n) {
        if (!(fields >> field))
            return std::nullopt;
    }
    return field;
}

bool ProcessRuns(pid_t pid) {
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

std::string OneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return text;
}

std::map<std::string, std::string> ReadFields(const fs::path& file) {
    std::map<std::string, std::string> fields;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            fields[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return fields;
}

// The entry of a gauge whose process runs and whose terminal is still there.
std::optional<SGaugeEntry> LiveEntry(const fs::path& file) {
    std::map<std::string, std::string> fields = ReadFields(file);
    SGaugeEntry entry;
    entry.ptyPath = fields["pty"];
    entry.name = fields["name"];
    entry.pid = static_cast<pid_t>(std::atol(fields["pid"].c_str()));
    if (entry.ptyPath.empty() || entry.ptyPath[0] != '/' || !ProcessRuns(entry.pid)) {
        return std::nullopt;
    }
    const std::string& started = fields["start"];
    if (!started.empty()) {
        const std::optional<std::string> now = ProcessStartTime(entry.pid);
        if (now && *now != started)
            return std::nullopt;
    }
    std::error_code ec;
    if (!fs::exists(entry.ptyPath, ec))
        return std::nullopt;
    return entry;
}

}  // namespace

fs::path DefaultGaugeRegistryDir() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/')
        return fs::path(runtime) / "kestran-gauges";
    return fs::path("/tmp") / ("kestran-" + std::to_string(geteuid()));
}

std::vector<SGaugeEntry> ListLiveGauges(const fs::path& dir) {
    std::vector<SGaugeEntry> gauges;
    if (!IsPrivateDir(dir))
        return gauges;
    std::error_code ec;
    for (const fs::directory_entry& file : fs::directory_iterator(dir, ec)) {
        if (file.path().extension() != kEntrySuffix)
            continue;
        if (std::optional<SGaugeEntry> entry = LiveEntry(file.path())) {
            gauges.push_back(*entry);
        } else {
            fs::remove(file.path(), ec);
        }
    }
    std::sort(gauges.begin(), gauges.end(), [](const SGaugeEntry& a, const SGaugeEntry& b) {
        return naturalorder::Less(a.ptyPath, b.ptyPath);
    });
    return gauges;
}

CGaugeRegistration::CGaugeRegistration(const std::string& ptyPath, const std::string& name,
                                       const fs::path& dir) {
    if (ptyPath.empty() || ptyPath[0] != '/' || !MakePrivateDir(dir))
        return;
    const pid_t pid = getpid();
    std::string tag = ptyPath.substr(1);
    std::replace(tag.begin(), tag.end(), '/', '-');
    const fs::path entry = dir / (std::to_string(pid) + "-" + tag + kEntrySuffix);
    const fs::path draft = dir / (entry.filename().string() + ".new");

    {
        std::ofstream out(draft, std::ios::trunc);
        out << "pty=" << OneLine(ptyPath) << "\n"
            << "name=" << OneLine(name) << "\n"
            << "pid=" << pid << "\n"
            << "start=" << ProcessStartTime(pid).value_or("") << "\n";
        if (!out.flush()) {
            std::error_code ec;
            fs::remove(draft, ec);
            return;
        }
    }
    // Readers see the whole entry or none.
    if (rename(draft.c_str(), entry.c_str()) != 0) {
        std::error_code ec;
        fs::remove(draft, ec);
        return;
    }
    m_entry = entry;
}

CGaugeRegistration::~CGaugeRegistration() {
    if (m_entry.empty())
        return;
    std::error_code ec;
    fs::remove(m_entry, ec);
}

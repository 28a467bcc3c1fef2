#include "serial/posix/PortHolders.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <fstream>

#if __has_include(<linux/major.h>)
#include <linux/major.h>
#endif

namespace fs = std::filesystem;

namespace {

std::optional<pid_t> ProcessId(const std::string& name) {
    if (name.empty() || name.size() > 9)
        return std::nullopt;
    for (char c : name) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    }
    return static_cast<pid_t>(std::stol(name));
}

std::optional<struct stat> CharacterDevice(const fs::path& file) {
    struct stat info {};
    if (stat(file.c_str(), &info) != 0 || !S_ISCHR(info.st_mode))
        return std::nullopt;
    return info;
}

// The pseudo-terminal a master descriptor serves: the kernel names it in the descriptor's
// fdinfo ("tty-index:\tN"); other descriptors have no such line.
std::optional<unsigned> MasterOf(const fs::path& fdinfo) {
    std::ifstream in(fdinfo);
    const std::string key = "tty-index:";
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        const char* number = line.c_str() + key.size();
        char* end = nullptr;
        const unsigned long index = std::strtoul(number, &end, 10);
        if (end == number)
            return std::nullopt;
        return static_cast<unsigned>(index);
    }
    return std::nullopt;
}

std::string CommandName(const fs::path& processDir) {
    std::ifstream in(processDir / "comm");
    std::string name;
    std::getline(in, name);
    return name;
}

enum class EHolding { None, Holds, Peer };

EHolding HowItHolds(const fs::path& processDir, const SHolderSearch& search) {
    bool holds = false;
    std::error_code ec;
    // Increments that fail (the process ended) end the walk instead of throwing.
    for (fs::directory_iterator fd(processDir / "fd", ec), end; !ec && fd != end;
         fd.increment(ec)) {
        const std::optional<struct stat> device = CharacterDevice(fd->path());
        if (!device)
            continue;
        if (device->st_rdev == search.device &&
            (!search.ptyFileSystem || device->st_dev == *search.ptyFileSystem)) {
            holds = true;
        } else if (search.ptyIndex &&
                   MasterOf(processDir / "fdinfo" / fd->path().filename()) == search.ptyIndex) {
            return EHolding::Peer;
        }
    }
    return holds ? EHolding::Holds : EHolding::None;
}

}  // namespace

std::optional<SPortHolder> FindOtherHolder(const SHolderSearch& search) {
    std::error_code ec;
    for (fs::directory_iterator entry(search.procRoot, ec), end; !ec && entry != end;
         entry.increment(ec)) {
        const std::optional<pid_t> pid = ProcessId(entry->path().filename().string());
        if (!pid || *pid == search.self)
            continue;
        if (HowItHolds(entry->path(), search) == EHolding::Holds)
            return SPortHolder{*pid, CommandName(entry->path())};
    }
    return std::nullopt;
}

std::optional<unsigned> PtySlaveIndex(dev_t device) {
#ifdef UNIX98_PTY_SLAVE_MAJOR
    // Slave N of the pseudo-terminals is minor N of this one major.
    if (major(device) == UNIX98_PTY_SLAVE_MAJOR)
        return minor(device);
#else
    (void)device;
#endif
    return std::nullopt;
}

std::optional<SPortHolder> FindOtherHolderOf(const std::string& devicePath,
                                             const fs::path& procRoot) {
    const std::optional<struct stat> device = CharacterDevice(devicePath);
    if (!device)
        return std::nullopt;
    SHolderSearch search;
    search.procRoot = procRoot;
    search.device = device->st_rdev;
    search.self = getpid();
    search.ptyIndex = PtySlaveIndex(device->st_rdev);
    if (search.ptyIndex)
        search.ptyFileSystem = device->st_dev;
    return FindOtherHolder(search);
}

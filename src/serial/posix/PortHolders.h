#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

// Who else has a terminal device open. The terminal's exclusive flag and the advisory lock
// keep out only programs that use them; the descriptors every process lists under /proc
// show the others too (ModemManager, a terminal program, a port scanner).

struct SPortHolder {
    pid_t pid = 0;
    std::string name;  // the command name the kernel keeps, e.g. ModemManager
};

struct SHolderSearch {
    std::filesystem::path procRoot = "/proc";
    dev_t device = 0;  // the terminal's device number
    pid_t self = 0;    // this process, whose own descriptors do not count
    // The number of a pseudo-terminal (N of /dev/pts/N); a process that holds its master
    // end serves the terminal (a virtual gauge) and is its peer, not a rival.
    std::optional<unsigned> ptyIndex;
    // For a pseudo-terminal, the file system (devpts instance) of its slave end: a
    // container's instance gives the same device numbers to terminals of its own.
    std::optional<dev_t> ptyFileSystem;
};

// The first other process with a descriptor on the device (same device number, both
// character devices; for a pseudo-terminal, in the same instance), as fuser finds it.
// Processes whose descriptors cannot be read, or that end during the search, are passed
// over.
std::optional<SPortHolder> FindOtherHolder(const SHolderSearch& search);

// The number of a pseudo-terminal's slave end from its device number; nothing for any
// other device.
std::optional<unsigned> PtySlaveIndex(dev_t device);

// FindOtherHolder for the device at `devicePath`, from this process; nothing when the path
// is not a character device.
std::optional<SPortHolder> FindOtherHolderOf(const std::string& devicePath,
                                             const std::filesystem::path& procRoot = "/proc");

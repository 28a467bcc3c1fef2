#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "serial/PtyLine.h"
#include "serial/posix/PortHolders.h"
#include "serial/posix/PosixSerialPort.h"
#include "support/TestImages.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

dev_t DeviceNumber(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_rdev;
}

// A /proc of processes made up by the test: each with a command name and descriptors that
// are links to real files and devices.
class CFakeProc {
public:
    const fs::path& Root() const { return m_dir.Path(); }

    void Process(const std::string& pid, const std::string& name) {
        fs::create_directories(Root() / pid / "fd");
        fs::create_directories(Root() / pid / "fdinfo");
        std::ofstream(Root() / pid / "comm") << name << "\n";
    }
    void Descriptor(const std::string& pid, int fd, const fs::path& target,
                    const std::string& fdinfo = "pos:\t0\nflags:\t02\n") {
        fs::create_symlink(target, Root() / pid / "fd" / std::to_string(fd));
        std::ofstream(Root() / pid / "fdinfo" / std::to_string(fd)) << fdinfo;
    }
    static std::string MasterInfo(unsigned ptyIndex) {
        return "pos:\t0\nflags:\t02000002\nmnt_id:\t24\nino:\t90\ntty-index:\t" +
               std::to_string(ptyIndex) + "\n";
    }
    std::string Scratch(const std::string& name) const { return m_dir.File(name); }

private:
    CTempDir m_dir;
};

class PortHoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(line.IsOpen());
        search.procRoot = proc.Root();
        search.device = DeviceNumber(line.SlavePath());
        search.self = 4000;
        search.ptyIndex = PtySlaveIndex(search.device);
        ASSERT_TRUE(search.ptyIndex.has_value());
    }
    CPtyLine line;
    CFakeProc proc;
    SHolderSearch search;
};

}  // namespace

TEST_F(PortHoldersTest, TheNumberOfAPseudoTerminalIsTheOneInItsPath) {
    EXPECT_EQ("/dev/pts/" + std::to_string(*search.ptyIndex), line.SlavePath());
    EXPECT_FALSE(PtySlaveIndex(DeviceNumber("/dev/null")).has_value());
}

TEST_F(PortHoldersTest, OnlyAnotherProcessWithTheDeviceOpenIsAHolder) {
    const std::string plainFile = proc.Scratch("plain");
    std::ofstream(plainFile) << "x";
    proc.Process("100", "bash");
    proc.Descriptor("100", 0, "/dev/null");
    proc.Descriptor("100", 1, "/dev/zero");
    proc.Descriptor("100", 2, plainFile);
    proc.Descriptor("100", 3, proc.Scratch("gone"));  // cannot be followed
    proc.Process("4000", "kestran");                  // this process
    proc.Descriptor("4000", 7, line.SlavePath());
    proc.Process("self", "kestran");  // not a process id
    proc.Descriptor("self", 7, line.SlavePath());
    fs::create_directories(proc.Root() / "300");  // its descriptors cannot be read
    EXPECT_FALSE(FindOtherHolder(search).has_value());

    proc.Process("812", "ModemManager");
    proc.Descriptor("812", 0, "/dev/null");
    proc.Descriptor("812", 9, line.SlavePath());
    const std::optional<SPortHolder> holder = FindOtherHolder(search);
    ASSERT_TRUE(holder.has_value());
    EXPECT_EQ(holder->pid, 812);
    EXPECT_EQ(holder->name, "ModemManager");
}

TEST_F(PortHoldersTest, TheDeviceIsKnownByItsNumberNotByItsPath) {
    // A second node of the same device, as udev's aliases are; making one needs root.
    const std::string alias = proc.Scratch("gauge-alias");
    if (mknod(alias.c_str(), S_IFCHR | 0600, search.device) != 0)
        GTEST_SKIP() << "cannot make a device node here";
    proc.Process("515", "minicom");
    proc.Descriptor("515", 3, alias);
    const std::optional<SPortHolder> holder = FindOtherHolder(search);
    ASSERT_TRUE(holder.has_value());
    EXPECT_EQ(holder->pid, 515);
}

TEST_F(PortHoldersTest, TheProcessServingTheMasterEndIsThePeer) {
    proc.Process("620", "kestran-gauge");
    proc.Descriptor("620", 3, "/dev/ptmx", CFakeProc::MasterInfo(*search.ptyIndex));
    proc.Descriptor("620", 4, line.SlavePath());
    EXPECT_FALSE(FindOtherHolder(search).has_value());

    // The master of another terminal makes no peer of this one.
    proc.Process("700", "screen");
    proc.Descriptor("700", 3, "/dev/ptmx", CFakeProc::MasterInfo(*search.ptyIndex + 1));
    proc.Descriptor("700", 4, line.SlavePath());
    const std::optional<SPortHolder> holder = FindOtherHolder(search);
    ASSERT_TRUE(holder.has_value());
    EXPECT_EQ(holder->pid, 700);
}

namespace {

// A child process (sleep) that holds some ends of a pseudo-terminal open and nothing else
// of it; the test's own descriptors of it are closed on exec.
class CHoldingChild {
public:
    explicit CHoldingChild(const std::vector<int>& held) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        int into = 200;  // above any descriptor the test has open
        for (int fd : held)
            posix_spawn_file_actions_adddup2(&actions, fd, into++);
        char program[] = "sleep";
        char seconds[] = "60";
        char* argv[] = {program, seconds, nullptr};
        if (posix_spawnp(&m_pid, program, &actions, nullptr, argv, environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~CHoldingChild() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    CHoldingChild(const CHoldingChild&) = delete;
    CHoldingChild& operator=(const CHoldingChild&) = delete;

    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
};

struct SPty {
    SPty() {
        char name[128];
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0) {
            path = name;
            fcntl(master, F_SETFD, FD_CLOEXEC);
            fcntl(slave, F_SETFD, FD_CLOEXEC);
        }
    }
    ~SPty() {
        close(master);
        close(slave);
    }
    int master = -1;
    int slave = -1;
    std::string path;
};

}  // namespace

TEST(PortHolderProcessTest, AChildHoldingTheTerminalIsNamedAndAGaugeLikeChildIsNot) {
    {
        SPty pty;
        ASSERT_FALSE(pty.path.empty());
        CHoldingChild rival({pty.slave});
        ASSERT_GT(rival.Pid(), 0);
        CPosixSerialPort port;
        EXPECT_FALSE(port.Open(pty.path));
        EXPECT_EQ(port.FailureReason(), "Device or resource busy: held by sleep (PID " +
                                            std::to_string(rival.Pid()) +
                                            "); close that program and try again");
    }
    {
        // Like the virtual gauge: the master end, and a slave end of its own.
        SPty pty;
        ASSERT_FALSE(pty.path.empty());
        CHoldingChild peer({pty.master, pty.slave});
        ASSERT_GT(peer.Pid(), 0);
        CPosixSerialPort port;
        EXPECT_TRUE(port.Open(pty.path)) << port.FailureReason();
    }
}

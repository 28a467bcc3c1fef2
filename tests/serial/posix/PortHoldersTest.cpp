#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <fstream>
#include <vector>

#include "serial/posix/PtyLine.h"
#include "serial/posix/PortHolders.h"
#include "serial/posix/PosixSerialPort.h"
#include "support/TestImages.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// A /proc of made-up processes whose descriptors link to real files and devices; the
// device searched for is a real pseudo-terminal's slave end.
class PortHoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(line.IsOpen());
        struct stat info {};
        ASSERT_EQ(stat(line.SlavePath().c_str(), &info), 0);
        search = {proc.Path(), info.st_rdev, 4000, PtySlaveIndex(info.st_rdev), info.st_dev};
        ASSERT_EQ("/dev/pts/" + std::to_string(search.ptyIndex.value()), line.SlavePath());
    }
    void Process(const std::string& pid, const std::string& name) {
        fs::create_directories(proc.Path() / pid / "fd");
        fs::create_directories(proc.Path() / pid / "fdinfo");
        std::ofstream(proc.Path() / pid / "comm") << name << "\n";
    }
    void Descriptor(const std::string& pid, int fd, const fs::path& target,
                    const std::string& fdinfo = "pos:\t0\nflags:\t02\n") {
        fs::create_symlink(target, proc.Path() / pid / "fd" / std::to_string(fd));
        std::ofstream(proc.Path() / pid / "fdinfo" / std::to_string(fd)) << fdinfo;
    }
    static std::string MasterInfo(unsigned ptyIndex) {
        return "pos:\t0\nflags:\t02000002\nmnt_id:\t24\nino:\t90\ntty-index:\t" +
               std::to_string(ptyIndex) + "\n";
    }
    std::optional<pid_t> HolderPid() {
        const std::optional<SPortHolder> holder = FindOtherHolder(search);
        return holder ? std::optional<pid_t>(holder->pid) : std::nullopt;
    }

    CPtyLine line;
    CTempDir proc;
    SHolderSearch search;
};

}  // namespace

TEST_F(PortHoldersTest, OnlyAnotherProcessWithTheDeviceOpenIsAHolder) {
    std::ofstream(proc.File("plain")) << "x";
    Process("100", "bash");
    Descriptor("100", 0, "/dev/null");
    Descriptor("100", 1, proc.File("plain"));
    Descriptor("100", 2, proc.File("gone"));  // cannot be followed
    Process("4000", "kestran");               // this process
    Descriptor("4000", 7, line.SlavePath());
    Process("self", "kestran");  // no process id
    Descriptor("self", 7, line.SlavePath());
    fs::create_directories(proc.Path() / "300");  // its descriptors cannot be read
    EXPECT_EQ(HolderPid(), std::nullopt);

    Process("812", "ModemManager");
    Descriptor("812", 9, line.SlavePath());
    const std::optional<SPortHolder> holder = FindOtherHolder(search);
    ASSERT_TRUE(holder.has_value());
    EXPECT_EQ(holder->pid, 812);
    EXPECT_EQ(holder->name, "ModemManager");
}

TEST_F(PortHoldersTest, TheDeviceIsKnownByItsNumberNotByItsPath) {
    // A second node of the same device, as udev's aliases are; making one needs root.
    struct stat null {};
    ASSERT_EQ(stat("/dev/null", &null), 0);
    const std::string alias = proc.File("null-alias");
    if (mknod(alias.c_str(), S_IFCHR | 0600, null.st_rdev) != 0)
        GTEST_SKIP() << "cannot make a device node here";
    Process("515", "minicom");
    Descriptor("515", 3, alias);
    search = {proc.Path(), null.st_rdev, 4000, std::nullopt, std::nullopt};
    EXPECT_EQ(HolderPid(), 515);
}

TEST_F(PortHoldersTest, ATerminalOfAnotherPtyInstanceIsAnotherTerminal) {
    // An instance of its own, as a container has: it numbers its terminals from 0 too.
    const fs::path instance = proc.Path() / "pts";
    fs::create_directory(instance);
    if (mount("devpts", instance.c_str(), "devpts", 0, "newinstance,ptmxmode=0666") != 0)
        GTEST_SKIP() << "cannot mount a pseudo-terminal instance here";
    std::vector<int> masters;
    unsigned index = 0;
    while (masters.size() <= *search.ptyIndex) {
        const int master = open((instance / "ptmx").c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ioctl(master, TIOCGPTN, &index) != 0)
            break;
        masters.push_back(master);
    }
    if (index == *search.ptyIndex && unlockpt(masters.back()) == 0) {
        Process("900", "bash");
        Descriptor("900", 0, instance / std::to_string(index));
        EXPECT_EQ(HolderPid(), std::nullopt);
    } else {
        ADD_FAILURE() << "no terminal " << *search.ptyIndex << " in the new instance";
    }
    for (int master : masters)
        close(master);
    umount2(instance.c_str(), MNT_DETACH);
}

TEST_F(PortHoldersTest, TheProcessServingTheMasterEndIsThePeer) {
    Process("620", "kestran-gauge");
    Descriptor("620", 3, "/dev/ptmx", MasterInfo(*search.ptyIndex));
    Descriptor("620", 4, line.SlavePath());
    EXPECT_EQ(HolderPid(), std::nullopt);

    // The master of another terminal makes no peer of this one.
    Process("700", "screen");
    Descriptor("700", 3, "/dev/ptmx", MasterInfo(*search.ptyIndex + 1));
    Descriptor("700", 4, line.SlavePath());
    EXPECT_EQ(HolderPid(), 700);
}

// Children (sleep) that hold ends of a pseudo-terminal whose descriptors in the test close
// on exec.
TEST(PortHolderProcessTest, AChildHoldingTheTerminalIsNamedAndAGaugeLikeChildIsNot) {
    for (const bool gaugeLike : {false, true}) {
        int master = -1, slave = -1;
        char path[128];
        ASSERT_EQ(openpty(&master, &slave, path, nullptr, nullptr), 0);
        fcntl(master, F_SETFD, FD_CLOEXEC);
        fcntl(slave, F_SETFD, FD_CLOEXEC);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        // Like the virtual gauge, the peer holds the master and a slave end of its own.
        posix_spawn_file_actions_adddup2(&actions, slave, 200);
        if (gaugeLike)
            posix_spawn_file_actions_adddup2(&actions, master, 201);
        char program[] = "sleep", seconds[] = "60";
        char* argv[] = {program, seconds, nullptr};
        pid_t child = -1;
        ASSERT_EQ(posix_spawnp(&child, program, &actions, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&actions);

        CPosixSerialPort port;
        const bool opened = port.Open(path);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(master);
        close(slave);
        EXPECT_EQ(opened, gaugeLike) << port.FailureReason();
        if (!gaugeLike) {
            EXPECT_EQ(port.FailureReason(), "Device or resource busy: held by sleep (PID " +
                                                std::to_string(child) +
                                                "); close that program and try again");
        }
    }
}

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "angles/GacFileSupport.h"

namespace {

namespace fs = std::filesystem;

const std::string kOldContent = "10|1.0|2.0|3.0|4.0|5.0|6.0|7.0|8.0|9.0|10.0";
const std::vector<std::string> kOpenFailed{"Error open file."};
const std::vector<std::string> kWriteFailed{"Error writing file. Nothing was saved."};

// A small tmpfs mounted on a folder of its own, for a full or read-only disk.
class CScratchMount {
public:
    explicit CScratchMount(const fs::path& folder) : m_folder(folder) {
        fs::create_directory(folder);
        m_mounted = mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=16k,mode=0755") == 0;
        if (!m_mounted)
            m_error = errno;
    }
    ~CScratchMount() {
        if (m_mounted)
            umount2(m_folder.c_str(), MNT_DETACH);
    }
    CScratchMount(const CScratchMount&) = delete;
    CScratchMount& operator=(const CScratchMount&) = delete;

    bool Mounted() const { return m_mounted; }
    std::string Why() const {
        return "cannot mount a tmpfs here: " + std::string(std::strerror(m_error));
    }
    bool MakeReadOnly() {
        return mount("tmpfs", m_folder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=16k") == 0;
    }

private:
    fs::path m_folder;
    bool m_mounted = false;
    int m_error = 0;
};

// A folder that takes no new file while its files may still be written: immutable where the
// file system and the user allow that (root, whom permissions do not stop), else without
// write permission.
class CClosedFolder {
public:
    explicit CClosedFolder(const fs::path& folder) : m_folder(folder) {
        m_immutable = SetImmutable(true);
        if (!m_immutable)
            fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    }
    ~CClosedFolder() {
        if (m_immutable)
            SetImmutable(false);
        std::error_code ignored;
        fs::permissions(m_folder, fs::perms::owner_all, ignored);
    }
    CClosedFolder(const CClosedFolder&) = delete;
    CClosedFolder& operator=(const CClosedFolder&) = delete;

    bool TakesNewFiles() const {
        const fs::path probe = m_folder / "probe";
        std::error_code ec;
        return std::ofstream(probe).is_open() && fs::remove(probe, ec);
    }

private:
    bool SetImmutable(bool on) {
        const int fd = open(m_folder.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        close(fd);
        return done;
    }

    fs::path m_folder;
    bool m_immutable = false;
};

class GacSaveFaultTest : public GacFixture {
protected:
    void SetUp() override {
        GacFixture::SetUp();
        ASSERT_TRUE(host.Click(ids::kMaxSpeedCheck));
    }
    // Saves with files limited to 16 bytes: the write fails part way, as on a full disk.
    std::vector<std::string> SaveCutShort(const std::string& target) {
        rlimit saved{};
        if (getrlimit(RLIMIT_FSIZE, &saved) != 0) {
            ADD_FAILURE() << "the file-size limit cannot be read";
            return {};
        }
        rlimit small = saved;
        small.rlim_cur = 16;
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        std::vector<std::string> messages;
        if (setrlimit(RLIMIT_FSIZE, &small) == 0)
            messages = Save(target);
        else
            ADD_FAILURE() << "the file-size limit cannot be set";
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        return messages;
    }
    // `file` with the old table in it, as a string.
    static std::string OldFile(const fs::path& file) {
        WriteFileBytes(file.string(), kOldContent);
        return file.string();
    }
};

TEST_F(GacSaveFaultTest, AFolderThatCannotBeWrittenGivesOpenError) {
    EXPECT_EQ(Save(dir.File("no/such/folder/x.gac")), kOpenFailed);

    const fs::path folder = dir.Path() / "locked";
    CScratchMount mount(folder);
    const std::string old = OldFile(folder / "old.gac");
    if (mount.Mounted()) {
        ASSERT_TRUE(mount.MakeReadOnly());
    } else {
        // A file that may be written would be written in place.
        fs::permissions(old, fs::perms::owner_read);
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        if (std::FILE* probe = std::fopen((folder / "probe").c_str(), "w")) {
            std::fclose(probe);
            GTEST_SKIP() << "permissions do not stop this user from writing, and " << mount.Why();
        }
    }
    EXPECT_EQ(Save(old), kOpenFailed);
    EXPECT_EQ(Save((folder / "new.gac").string()), kOpenFailed);
    EXPECT_EQ(ReadFileBytes(old), kOldContent);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"old.gac"});
    std::error_code ignored;
    fs::permissions(folder, fs::perms::owner_all, ignored);  // so that it can be removed
}

TEST_F(GacSaveFaultTest, AWritableFileInAClosedFolderIsWrittenInPlace) {
    const fs::path folder = dir.Path() / "closed";
    fs::create_directory(folder);
    const std::string target = OldFile(folder / "table.gac");
    CClosedFolder closed(folder);
    if (closed.TakesNewFiles())
        GTEST_SKIP() << "neither the immutable flag nor permissions close a folder to this user";

    EXPECT_TRUE(Save(target).empty());
    EXPECT_EQ(ReadFileBytes(target).substr(0, 8), "20|7.5|1");
    EXPECT_EQ(Save((folder / "new.gac").string()), kOpenFailed);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"table.gac"});

    // A write cut short puts the old content back.
    const std::string shortOld = "1|5.0";
    WriteFileBytes(target, shortOld);
    EXPECT_EQ(SaveCutShort(target), kWriteFailed);
    EXPECT_EQ(ReadFileBytes(target), shortOld);
}

TEST_F(GacSaveFaultTest, ATargetThatIsNoRegularFileIsRefused) {
    const std::string fifo = dir.File("pipe.gac");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const std::string link = dir.File("link.gac");
    fs::create_symlink(fifo, link);
    EXPECT_EQ(Save(fifo), kOpenFailed);
    EXPECT_EQ(Save(link), kOpenFailed);
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"link.gac", "pipe.gac"}));

    // A device node of its own, with the null device's numbers, where this user may make one.
    const std::string device = dir.File("device.gac");
    struct stat null {};
    if (stat("/dev/null", &null) != 0 || mknod(device.c_str(), S_IFCHR | 0666, null.st_rdev) != 0)
        return;
    EXPECT_EQ(Save(device), kOpenFailed);
    EXPECT_TRUE(fs::is_character_file(fs::symlink_status(device)));
    EXPECT_EQ(FolderEntries(dir.Path()),
              (std::vector<std::string>{"device.gac", "link.gac", "pipe.gac"}));
}

TEST_F(GacSaveFaultTest, AFullDiskKeepsTheOldFile) {
    const fs::path folder = dir.Path() / "small";
    CScratchMount mount(folder);
    if (!mount.Mounted())
        GTEST_SKIP() << mount.Why();
    const std::string target = OldFile(folder / "table.gac");
    std::FILE* filler = std::fopen((folder / "filler").c_str(), "wb");
    ASSERT_NE(filler, nullptr);
    const std::string block(4096, 'x');
    while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
           std::fflush(filler) == 0) {
    }
    std::fclose(filler);
    EXPECT_EQ(Save(target), kWriteFailed);
    EXPECT_EQ(ReadFileBytes(target), kOldContent);
    EXPECT_EQ(FolderEntries(folder), (std::vector<std::string>{"filler", "table.gac"}));

    fs::remove(folder / "filler");  // room again: the same save now works
    EXPECT_TRUE(Save(target).empty());
    EXPECT_EQ(ReadFileBytes(target).substr(0, 8), "20|7.5|1");
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"table.gac"});
}

TEST_F(GacSaveFaultTest, AWriteCutShortKeepsTheOldFile) {
    const std::string target = OldFile(dir.File("table.gac"));
    EXPECT_EQ(SaveCutShort(target), kWriteFailed);
    EXPECT_EQ(ReadFileBytes(target), kOldContent);
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"table.gac"});
}

TEST_F(GacSaveFaultTest, ReplacingKeepsPermissionsAndLinks) {
    const std::string target = OldFile(dir.File("shared.gac"));
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, mode);
    const std::string link = dir.File("link.gac");
    fs::create_symlink(target, link);

    EXPECT_TRUE(Save(link).empty());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(target).substr(0, 8), "20|7.5|1");
    EXPECT_EQ(fs::status(target).permissions(), mode);
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"link.gac", "shared.gac"}));
}

TEST_F(GacSaveFaultTest, AReadOnlyFileIsNotReplaced) {
    const std::string target = OldFile(dir.File("locked.gac"));
    fs::permissions(target, fs::perms::owner_read);
    if (std::FILE* probe = std::fopen(target.c_str(), "r+b")) {
        std::fclose(probe);
        GTEST_SKIP() << "this user may write read-only files";
    }
    EXPECT_EQ(Save(target), kOpenFailed);
    EXPECT_EQ(ReadFileBytes(target), kOldContent);
}

}  // namespace

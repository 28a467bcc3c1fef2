#include "serial/posix/DeviceGroup.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {

bool InGroup(gid_t group) {
    if (getegid() == group)
        return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    const int got = getgroups(count, groups.data());
    return got > 0 && std::find(groups.begin(), groups.begin() + got, group) != groups.end();
}

}  // namespace

std::string GroupToJoin(const std::string& devicePath) {
    struct stat info {};
    if (stat(devicePath.c_str(), &info) != 0 || info.st_gid == 0)
        return {};
    const mode_t readWrite = S_IRGRP | S_IWGRP;
    if ((info.st_mode & readWrite) != readWrite || InGroup(info.st_gid))
        return {};
    const long suggested = sysconf(_SC_GETGR_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<size_t>(suggested) : 16384);
    group entry{};
    group* found = nullptr;
    if (getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->gr_name == nullptr) {
        return {};
    }
    return found->gr_name;
}

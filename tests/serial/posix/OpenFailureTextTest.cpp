#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "serial/posix/OpenFailureText.h"

TEST(OpenFailureTextTest, TheUsualCausesAreSaidWithTheirRemedy) {
    const std::optional<SPortHolder> nobody;
    struct SCase {
        int error;
        std::string group;
        std::optional<SPortHolder> holder;
        std::string text;
    };
    const SCase cases[] = {
        {0, "", nobody, ""},
        {EACCES, "dialout", nobody,
         "Permission denied: the device belongs to the group dialout, which this user is not in "
         "(sudo adduser $USER dialout, then log in again)"},
        {EACCES, "", nobody, "Permission denied"},
        {EBUSY, "", SPortHolder{812, "ModemManager"},
         "Device or resource busy: held by ModemManager (PID 812), which takes new USB serial "
         "devices to look for modems; try again in a moment, or stop it (sudo systemctl stop "
         "ModemManager)"},
        {EBUSY, "", SPortHolder{4242, "minicom"},
         "Device or resource busy: held by minicom (PID 4242); close that program and try again"},
        {EBUSY, "", SPortHolder{77, ""},
         "Device or resource busy: held by another program (PID 77); close it and try again"},
        {EBUSY, "", nobody,
         "Device or resource busy: another program holds it (ModemManager, for one, takes new "
         "USB serial devices to look for modems)"},
        {ENOENT, "", nobody, "No such file or directory: the device is not there (unplugged?)"},
        {ENXIO, "", nobody, "No such device: the device is not there (unplugged?)"},
        {ENOTTY, "", nobody, "Not a serial port: the device is not a terminal"},
        {EIO, "", nobody, std::strerror(EIO)},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(OpenFailureText(c.error, c.group, c.holder), c.text) << "errno " << c.error;
}

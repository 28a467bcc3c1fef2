#include "serial/win32/SerialCommNames.h"

#include "platform/win32/WinApi.h"

#include "platform/win32/WinHandle.h"
#include "platform/win32/WinText.h"

std::vector<std::string> ReadSerialCommNames() {
    std::vector<std::string> names;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                      &opened) != ERROR_SUCCESS) {
        return names;
    }
    const CUniqueKey key(opened);
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[16384];  // the longest a value name can be
        DWORD nameLength = sizeof valueName / sizeof valueName[0];
        wchar_t data[256];
        DWORD dataBytes = sizeof data - sizeof data[0];  // room for a zero of our own
        DWORD type = 0;
        const LSTATUS status = RegEnumValueW(key.get(), index, valueName, &nameLength, nullptr,
                                             &type, reinterpret_cast<BYTE*>(data), &dataBytes);
        if (status == ERROR_MORE_DATA)
            continue;  // no port name is that long
        if (status != ERROR_SUCCESS)
            break;
        if (type != REG_SZ)
            continue;
        data[dataBytes / sizeof data[0]] = L'\0';
        const std::wstring name(data);
        if (!name.empty())
            names.push_back(wintext::Utf8(name));
    }
    return names;
}

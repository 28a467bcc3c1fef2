// The Windows port layer's reading of registry strings: texts as the narrow calls give them,
// measured in the ANSI code page against the search's buffers, then made UTF-8.
#include <gtest/gtest.h>
#include "platform/win32/WinApi.h"

#include <optional>
#include <string>

#include "serial/PortSearches.h"
#include "serial/win32/Win32PortSearchLayer.h"

namespace {

const wchar_t kKeyPath[] = L"Software\\Kestran port layer test";

// Whether the ANSI code page takes an e with an acute accent as one byte, as the Western
// ones do (and UTF-8 takes two).
bool OneByteAccents() {
    char ansi[8];
    BOOL lossy = FALSE;
    return WideCharToMultiByte(CP_ACP, 0, L"\u00e9", 1, ansi, sizeof ansi, nullptr, &lossy) == 1 &&
           !lossy;
}

}  // namespace

TEST(Win32PortSearchLayerTest, RegistryStringsLoseTheirZerosAndFitByTheirAnsiLength) {
    if (!OneByteAccents())
        GTEST_SKIP() << "the ANSI code page " << GetACP() << " has no one-byte accents";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    struct SCase {
        const wchar_t* name;
        std::wstring data;  // as stored, zeros included
        std::optional<std::string> read;
    };
    const std::string accents127 = [] {
        std::string s;
        for (int i = 0; i < 127; ++i)
            s += "\xc3\xa9";
        return s;
    }();
    const SCase cases[] = {
        {L"two zeros", std::wstring(L"COM5\0\0", 6), "COM5"},
        {L"none", L"COM6", "COM6"},
        // 127 bytes in the ANSI code page, 254 in UTF-8: it fits the 128-byte buffer.
        {L"127 accents", std::wstring(127, L'\u00e9'), accents127},
        {L"128 accents", std::wstring(128, L'\u00e9'), std::nullopt},
        {L"127 letters", std::wstring(127, L'a'), std::string(127, 'a')},
        {L"128 letters", std::wstring(128, L'a'), std::nullopt},
    };
    for (const SCase& c : cases) {
        RegSetValueExW(key, c.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(c.data.data()),
                       static_cast<DWORD>(c.data.size() * sizeof(wchar_t)));
    }
    RegCloseKey(key);

    CWin32PortSearchLayer layer;
    IPortSearchLayer::RegKey opened = 0;
    ASSERT_TRUE(layer.OpenKey(IPortSearchLayer::kLocalMachine,
                              "Software\\Kestran port layer test", opened));
    for (const SCase& c : cases) {
        const std::string name(c.name, c.name + wcslen(c.name));
        SCOPED_TRACE(name);
        std::string value;
        const bool read =
            layer.QueryStringValue(opened, name, portsearch::kValueCapacity, value);
        EXPECT_EQ(read, c.read.has_value());
        if (read && c.read) {
            EXPECT_EQ(value, *c.read);
        } else if (!read) {
            EXPECT_EQ(layer.LastError(), IPortSearchLayer::kErrorInsufficientBuffer);
        }
    }
    layer.CloseKey(opened);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKeyPath);
}

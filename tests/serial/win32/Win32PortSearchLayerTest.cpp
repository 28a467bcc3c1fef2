// The Windows port layer's registry strings: measured as the narrow calls give them, in the
// ANSI code page, against the search's buffers, and handed on without their zeros.
#include <gtest/gtest.h>
#include "platform/win32/WinApi.h"

#include <optional>

#include "platform/win32/WinText.h"
#include "serial/PortSearches.h"
#include "serial/win32/Win32PortSearchLayer.h"

TEST(Win32PortSearchLayerTest, RegistryStringsLoseTheirZerosAndFitByTheirAnsiLength) {
    // An e with an acute accent: one byte in the Western code pages, two in UTF-8.
    const std::wstring accents(128, L'\u00e9');
    if (wintext::AnsiFromUtf8(wintext::Utf8(accents)).size() != accents.size())
        GTEST_SKIP() << "the ANSI code page " << GetACP() << " has no one-byte accents";
    const wchar_t path[] = L"Software\\Kestran port layer test";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    struct SCase {
        std::string name;
        std::wstring data;  // as stored, zeros included
        std::optional<std::wstring> read;
    };
    const SCase cases[] = {
        {"two zeros", std::wstring(L"COM5\0\0", 6), L"COM5"},
        {"127 accents", accents.substr(1), accents.substr(1)},  // 254 bytes in UTF-8
        {"128 accents", accents, std::nullopt},
    };
    for (const SCase& c : cases) {
        RegSetValueExW(key, wintext::Wide(c.name).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(c.data.data()),
                       static_cast<DWORD>(c.data.size() * sizeof(wchar_t)));
    }
    RegCloseKey(key);

    CWin32PortSearchLayer layer;
    IPortSearchLayer::RegKey opened = 0;
    ASSERT_TRUE(layer.OpenKey(IPortSearchLayer::kLocalMachine,
                              "Software\\Kestran port layer test", opened));
    for (const SCase& c : cases) {
        std::string value;
        const bool read = layer.QueryStringValue(opened, c.name, portsearch::kValueCapacity, value);
        EXPECT_EQ(read ? std::optional(wintext::Wide(value)) : std::nullopt, c.read) << c.name;
    }
    layer.CloseKey(opened);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, path);
}

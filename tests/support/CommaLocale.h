#pragma once

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/UniqueFolder.h"

// A locale whose decimal separator is a comma, to show that numbers keep the full stop.
// The installed one is used; without it, it is compiled for the run into a temporary
// folder that LOCPATH names while this object lives (needs localedef and the locale sources).
// Windows names its locales differently and always has this one.
class CCommaLocale {
public:
#ifdef _WIN32
    static constexpr const char* kName = "German_Germany.1252";
#else
    static constexpr const char* kName = "de_DE.UTF-8";
#endif

    CCommaLocale() {
        if (Loads()) {
            m_available = true;
            return;
        }
#ifndef _WIN32
        if (!std::filesystem::exists("/usr/share/i18n/locales/de_DE")) {
            return;
        }
        m_dir = MakeUniqueFolder("kestran-locale-").string();
        if (m_dir.empty()) {
            return;
        }
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + m_dir + "/" + kName + "' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        (void)status;  // success shows in Loads below
        setenv("LOCPATH", m_dir.c_str(), 1);
        m_available = Loads();
#endif
    }
    ~CCommaLocale() {
        if (m_dir.empty()) {
            return;
        }
#ifndef _WIN32
        unsetenv("LOCPATH");
#endif
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    CCommaLocale(const CCommaLocale&) = delete;
    CCommaLocale& operator=(const CCommaLocale&) = delete;

    bool Available() const { return m_available; }

private:
    // Whether the locale can be set; the process keeps the locale it had.
    static bool Loads() {
        const char* current = std::setlocale(LC_ALL, nullptr);
        const std::string saved = current != nullptr ? current : "C";
        const bool loads = std::setlocale(LC_ALL, kName) != nullptr;
        std::setlocale(LC_ALL, saved.c_str());
        return loads;
    }

    bool m_available = false;
    std::string m_dir;
};

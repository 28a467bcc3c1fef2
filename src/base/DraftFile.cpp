#include "base/DraftFile.h"

#include <system_error>

namespace draftfile {

bool Replace(const std::filesystem::path& target,
             const std::function<bool(const std::filesystem::path&)>& write, std::string* why) {
    namespace fs = std::filesystem;
    fs::path draft = target;
    draft += ".part";
    std::error_code ec;
    if (!write(draft)) {
        fs::remove(draft, ec);
        if (why != nullptr)
            *why = "the file could not be written";
        return false;
    }
    fs::rename(draft, target, ec);
    if (ec) {
        if (why != nullptr)
            *why = ec.message();
        std::error_code ignored;
        fs::remove(draft, ignored);
        return false;
    }
    return true;
}

}  // namespace draftfile

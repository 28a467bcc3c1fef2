#pragma once

#include <filesystem>
#include <functional>
#include <string>

// Replaces a file through a draft beside it, renamed into place only once it is written
// whole: a reader sees the old file or the new one, and a failed or interrupted write
// leaves the target as it was.
namespace draftfile {

// `write` fills the draft it is given and answers whether every byte went out. False, with
// the reason in `why` (when given), when writing or renaming fails; the draft is removed.
bool Replace(const std::filesystem::path& target,
             const std::function<bool(const std::filesystem::path&)>& write,
             std::string* why = nullptr);

}  // namespace draftfile

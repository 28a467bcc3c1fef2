#include "dial/PictureFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "base/Utf8Path.h"

namespace {

void Say(std::string* why, const std::string& text) {
    if (why != nullptr)
        *why = text;
}

// The dial limit is far more than any dial needs (a dial file is a few hundred kilobytes).
std::string TooLarge(std::uintmax_t maxBytes) {
    if (maxBytes == kMaxDialFileBytes)
        return "too large for a dial picture";
    return "too large: more than " + std::to_string(maxBytes >> 20) + " MiB";
}

}  // namespace

bool ReadPictureFile(const std::string& path, std::vector<uint8_t>& bytes, std::string* why,
                     std::uintmax_t maxBytes) {
    namespace fs = std::filesystem;
    bytes.clear();
    std::error_code ec;
    const fs::path file = utf8path::ToPath(path);
    const fs::file_status status = fs::status(file, ec);
    if (status.type() == fs::file_type::not_found) {
        Say(why, std::strerror(ENOENT));
        return false;
    }
    if (ec) {
        Say(why, ec.message());
        return false;
    }
    if (!fs::is_regular_file(status)) {
        Say(why, fs::is_directory(status) ? "a folder, not a picture file"
                                          : "not a regular file (a device or a pipe)");
        return false;
    }
    const std::uintmax_t size = fs::file_size(file, ec);
    if (!ec && size > maxBytes) {
        Say(why, TooLarge(maxBytes) + " (" + std::to_string(size) + " bytes)");
        return false;
    }

    errno = 0;
    std::FILE* stream = utf8path::Open(path, "rb");
    if (stream == nullptr) {
        Say(why, errno != 0 ? std::strerror(errno) : "cannot be opened");
        return false;
    }
    // Read to the end rather than trust the size: the file may change meanwhile.
    uint8_t chunk[64 * 1024];
    size_t n;
    bool tooLarge = false;
    while ((n = std::fread(chunk, 1, sizeof chunk, stream)) > 0) {
        if (bytes.size() + n > maxBytes) {
            tooLarge = true;
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    const bool failed = std::ferror(stream) != 0;
    std::fclose(stream);
    if (failed || tooLarge) {
        Say(why, failed ? "cannot be read" : TooLarge(maxBytes));
        bytes.clear();
        return false;
    }
    return true;
}

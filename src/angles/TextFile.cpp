#include "angles/TextFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "base/Utf8Path.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace textfile {
namespace {

namespace fs = std::filesystem;

bool SyncToDisk(std::FILE* file) {
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// Creates a new file beside `target` that did not exist before ("x": exclusive). When it
// cannot, errno tells why.
std::FILE* CreateTemporary(const fs::path& target, fs::path& temporary) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
        temporary = target;
        fs::path name = ".";
        name += target.filename();  // as a path: its text need not fit the narrow code page
        name += suffix;
        temporary.replace_filename(name);
        errno = 0;
        if (std::FILE* file = utf8path::Open(utf8path::FromPath(temporary), "wbx"))
            return file;
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

bool WriteAll(std::FILE* file, std::string_view content) {
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    const bool flushed = written && std::fflush(file) == 0 && SyncToDisk(file);
    const bool closed = std::fclose(file) == 0;
    return flushed && closed;
}

bool WriteFile(const fs::path& target, std::string_view content) {
    std::FILE* file = utf8path::Open(utf8path::FromPath(target), "wb");
    return file != nullptr && WriteAll(file, content);
}

// A file the user may write is still saved where its folder takes no new file. Without a
// temporary file a failed write has already cut the old content, so it is written back
// into the space it took before.
EWriteResult WriteInPlace(const fs::path& target, std::string_view content) {
    std::ifstream in(target, std::ios::binary);
    if (!in)
        return EWriteResult::OpenFailed;
    const std::string old{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    if (WriteFile(target, content))
        return EWriteResult::Ok;
    WriteFile(target, old);
    return EWriteResult::WriteFailed;
}

}  // namespace

EWriteResult ReplaceFile(const std::string& path, std::string_view content) {
    std::error_code ec;
    fs::path target = utf8path::ToPath(path);
    // Through a symbolic link the file it points to is replaced, not the link.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        fs::path resolved = fs::canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    const fs::file_status existing = fs::status(target, ec);
    // A device or a pipe would be swapped for a plain file, or written to where it leads.
    if (fs::exists(existing) && !fs::is_regular_file(existing))
        return EWriteResult::OpenFailed;
    if (fs::exists(existing)) {
        // Opening without truncating tells whether the file may be written at all.
        std::FILE* probe = utf8path::Open(utf8path::FromPath(target), "r+b");
        if (probe == nullptr)
            return EWriteResult::OpenFailed;
        std::fclose(probe);
    }

    fs::path temporary;
    std::FILE* file = CreateTemporary(target, temporary);
    if (file == nullptr) {
        const bool folderClosed = errno == EACCES || errno == EPERM;
        return folderClosed && fs::exists(existing) ? WriteInPlace(target, content)
                                                    : EWriteResult::OpenFailed;
    }
    // The replacement keeps the old file's permissions, before it holds any content.
    if (fs::exists(existing))
        fs::permissions(temporary, existing.permissions(), ec);
    bool ok = WriteAll(file, content);
    if (ok) {
        fs::rename(temporary, target, ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(temporary, ec);
        return EWriteResult::WriteFailed;
    }
    return EWriteResult::Ok;
}

EReadResult ReadFirstLine(const std::string& path, std::size_t maxChars, std::string& line) {
    line.clear();
    // A pipe or a device could block the read for ever or never end; a folder holds no
    // line. Only a regular file is opened.
    std::error_code ec;
    const fs::file_status status = fs::status(utf8path::ToPath(path), ec);
    if (fs::exists(status) && !fs::is_regular_file(status))
        return EReadResult::OpenFailed;
    std::FILE* file = utf8path::Open(path, "rb");
    if (file == nullptr)
        return EReadResult::OpenFailed;
    while (line.size() < maxChars) {
        int c = std::getc(file);
        if (c == EOF)
            break;
        if (c == '\r') {
            const int next = std::getc(file);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                std::ungetc(next, file);
            }
        }
        line.push_back(static_cast<char>(c));
        if (c == '\n')
            break;
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        line.clear();
        return EReadResult::ReadFailed;
    }
    if (const size_t nul = line.find('\0'); nul != std::string::npos)
        line.resize(nul);
    return EReadResult::Ok;
}

}  // namespace textfile

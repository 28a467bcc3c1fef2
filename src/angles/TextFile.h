#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The two file operations the gauge configuration file needs, kept in one place so that
// another platform can supply its own.
namespace textfile {

enum class EWriteResult {
    Ok,
    OpenFailed,   // the file (or the temporary file beside it) could not be created
    WriteFailed,  // creating worked but writing, flushing, closing or renaming did not
};

// Replaces the file at `path` with exactly `content`. The content goes to a temporary file
// in the same folder first, which takes the target's place only once every byte is on
// disk, so a failure leaves the old file as it was and no temporary file behind. Where
// the folder takes no new file, an existing file that may be written is written in place.
// An existing file that may not be written, or that is no regular file (a device, a pipe),
// is refused like a failed open.
EWriteResult ReplaceFile(const std::string& path, std::string_view content);

enum class EReadResult { Ok, OpenFailed, ReadFailed };

// Reads the first line of a text file as fgets into a buffer of maxChars + 1 bytes does:
// at most maxChars characters, up to and including the first line feed. A carriage return
// before a line feed is dropped, as text mode reads it; the line ends at a NUL byte, as a
// C string would. Only a regular file is read: anything else (a folder, a pipe, a device)
// is OpenFailed.
EReadResult ReadFirstLine(const std::string& path, std::size_t maxChars, std::string& line);

}  // namespace textfile

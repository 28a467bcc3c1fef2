// A picture given alone, as when it is dropped on the program: everything with the defaults,
// beside the picture, never over a file.
#include <filesystem>

#include "base/Utf8Path.h"
#include "kestran-dial/DialCommands.h"

namespace dialcommands {

SBesideNames NamesBeside(const std::string& picture) {
    namespace fs = std::filesystem;
    const fs::path path = utf8path::ToPath(picture);
    const fs::path folder = path.parent_path();
    const std::string stem = utf8path::FromPath(path.stem());
    for (int n = 1;; ++n) {
        const std::string base = stem + "-dial" + (n == 1 ? "" : "-" + std::to_string(n));
        const fs::path dial = folder / utf8path::ToPath(base + ".png");
        const fs::path sheet = folder / utf8path::ToPath(base + "-needles.png");
        std::error_code ec;
        if (!fs::exists(dial, ec) && !fs::exists(sheet, ec))
            return {utf8path::FromPath(dial), utf8path::FromPath(sheet)};
    }
}

EDialExit PictureAlone(const SPictureAloneCommand& command, SDialReport& report) {
    EDialExit worst = EDialExit::Done;
    for (const std::string& picture : command.pictures) {
        const SBesideNames names = NamesBeside(picture);
        SPrepareCommand prepare;
        prepare.input = picture;
        prepare.output = names.dial;
        EDialExit result = Prepare(prepare, report);
        if (result == EDialExit::Done) {
            SPreviewCommand preview;
            preview.dial = names.dial;
            preview.output = names.sheet;
            result = Preview(preview, report);
        }
        if (static_cast<int>(result) > static_cast<int>(worst))
            worst = result;
    }
    return worst;
}

}  // namespace dialcommands

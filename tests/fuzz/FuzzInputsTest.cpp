// Every fuzz seed and every input a fuzz run once failed on, replayed through the fuzz
// targets' own checks: a fixed fault stays fixed in every build, sanitized or not.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "dialog/HeadlessHost.h"
#include "harness/FuzzCheck.h"
#include "harness/GacCase.h"
#include "harness/PictureCase.h"
#include "harness/PrepareCase.h"
#include "harness/PngSeeds.h"
#include "harness/ReplyCase.h"
#include "harness/ScratchDir.h"
#include "harness/TableCase.h"
#include "support/FileBytes.h"

namespace {

namespace fs = std::filesystem;

struct SInput {
    std::string name;
    std::vector<uint8_t> bytes;
};

// The committed seeds and kept failures of one target.
std::vector<SInput> InputsOf(const std::string& target) {
    std::vector<SInput> inputs;
    for (const char* kind : {"corpus", "regressions"}) {
        const fs::path folder = fs::path(KESTRAN_FUZZ_DIR) / kind / target;
        if (!fs::is_directory(folder))
            continue;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            const std::string bytes = ReadFileBytes(entry.path());
            inputs.push_back({entry.path().filename().string(), {bytes.begin(), bytes.end()}});
        }
    }
    std::sort(inputs.begin(), inputs.end(),
              [](const SInput& a, const SInput& b) { return a.name < b.name; });
    return inputs;
}

// Runs every input, of which there must be at least `least`: fewer means lost seeds.
template <typename Run>
void Replay(const std::vector<SInput>& inputs, size_t least, Run run) {
    ASSERT_GE(inputs.size(), least);
    for (const SInput& input : inputs) {
        try {
            run(input.bytes.data(), input.bytes.size());
        } catch (const CFuzzFailure& failure) {
            ADD_FAILURE() << input.name << ": " << failure.what();
        }
    }
}

}  // namespace

TEST(FuzzInputsTest, PicturesLoadAndDrawInsideTheirBuffers) {
    std::vector<SInput> inputs = InputsOf("picture");
    for (auto& [name, bytes] : fuzzcase::MakePngSeeds())
        inputs.push_back({name, bytes});
    const CScratchDir scratch;
    Replay(inputs, 10,
           [&](const uint8_t* data, size_t size) { fuzzcase::RunPicture(scratch, data, size); });
}

TEST(FuzzInputsTest, ArtworkPreparesIntoCleanDialsOrIsRefused) {
    Replay(InputsOf("prepare"), 6,
           [](const uint8_t* data, size_t size) { fuzzcase::RunPrepare(data, size); });
}

TEST(FuzzInputsTest, GacFilesLoadSaveAndLoadBackToTheSameLine) {
    const CScratchDir scratch;
    Replay(InputsOf("gac"), 10,
           [&](const uint8_t* data, size_t size) { fuzzcase::RunGacFile(scratch, data, size); });
}

TEST(FuzzInputsTest, ReplyStreamsGetExactlyTheLinesTheyCallFor) {
    const CScratchDir scratch;
    const fuzzcase::CReplyStreamCase replyCase(scratch);
    Replay(InputsOf("reply"), 10,
           [&](const uint8_t* data, size_t size) { replyCase.Run(data, size); });
}

TEST(FuzzInputsTest, EntryTextsMakeWellFormedLinesAndReadableSpinTexts) {
    CHeadlessHost host;
    Replay(InputsOf("table"), 5,
           [&](const uint8_t* data, size_t size) { fuzzcase::RunTable(host, data, size); });
}

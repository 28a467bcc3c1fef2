#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/ArgumentReader.h"

namespace {

// A tool with a flag, a value once, a value that repeats and a bounded number; answers what
// it read, or the refusal.
std::string Read(const std::vector<std::string>& args) {
    CArgumentReader in(args);
    std::string read;
    while (in.Next()) {
        if (in.Flag("--force")) {
            read += "force;";
        } else if (auto port = in.Value("--port", CArgumentReader::ERepeat::Allowed)) {
            read += "port=" + *port + ";";
        } else if (auto name = in.Value("--name")) {
            read += "name=" + *name + ";";
        } else if (auto stage = in.WholeNumber("--stage", 1, 3)) {
            read += "stage=" + std::to_string(*stage) + ";";
        } else if (auto pair = in.Values("--pair", 2)) {
            read += "pair=" + (*pair)[0] + "," + (*pair)[1] + ";";
        } else if (auto file = in.Operand()) {
            read += "file=" + *file + ";";
        } else {
            in.RefuseUnknown();
        }
    }
    return in.Failed() ? "refused: " + in.Error() : read;
}

TEST(ArgumentReaderTest, EveryToolReadsItsArgumentsByTheSameRules) {
    const struct {
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {{}, ""},
        {{"--force", "--force", "--name", "-x"}, "force;force;name=-x;"},
        {{"--port", "a", "--port", "b"}, "port=a;port=b;"},
        {{"--name", "a", "--name", "b"}, "refused: --name given twice"},
        {{"--name"}, "refused: the value of --name is missing"},
        {{"--name", ""}, "refused: the value of --name is missing"},
        {{"--name", "--force"}, "refused: the value of --name is missing"},
        {{"--stage", "3"}, "stage=3;"},
        {{"--stage", "4"}, "refused: --stage takes a whole number from 1 to 3, not \"4\""},
        {{"--stage", "+1"}, "refused: --stage takes a whole number from 1 to 3, not \"+1\""},
        {{"--stage", "99999999999"},
         "refused: --stage takes a whole number from 1 to 3, not \"99999999999\""},
        // The first refusal is the one shown; nothing after it is read.
        {{"--what", "--name"}, "refused: unknown option --what"},
        {{"-x"}, "refused: unknown option -x"},
        {{"a.png", "--force", "b.png"}, "file=a.png;force;file=b.png;"},
        {{"--pair", "a", "b", "c"}, "pair=a,b;file=c;"},
        {{"--pair", "a"}, "refused: the value of --pair is missing"},
        {{"--pair", "a", "--force"}, "refused: the value of --pair is missing"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.args), c.expected) << testing::PrintToString(c.args);
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/OptionTable.h"

namespace {

// A tool with a flag, a value once, a value that repeats, a bounded number and a pair, all
// from one option table; answers what it read, or the refusal.
const std::vector<SOption<std::string>> kOptions = {
    {"--force", "", "force it", [](std::string& read, const OptionValues&, CArgumentReader&) {
         read += "force;";
     }},
    {"--port", "PATH", "a port; may be repeated",
     [](std::string& read, const OptionValues& v, CArgumentReader&) { read += "port=" + v[0] + ";"; },
     true},
    {"--name", "NAME", "", [](std::string& read, const OptionValues& v, CArgumentReader&) {
         read += "name=" + v[0] + ";";
     }},
    {"--stage", "S", "the stage,\n1 to 3", [](std::string& read, const OptionValues& v, CArgumentReader& in) {
         if (auto stage = in.WholeNumber(v[0], 1, 3))
             read += "stage=" + std::to_string(*stage) + ";";
     }},
    {"--a-rather-long-pair", "A B", "two", [](std::string& read, const OptionValues& v, CArgumentReader&) {
         read += "pair=" + v[0] + "," + v[1] + ";";
     }},
};

std::string Read(const std::vector<std::string>& args) {
    CArgumentReader in(args);
    std::string read;
    while (in.Next()) {
        if (ReadOption(in, kOptions, read))
            continue;
        if (auto file = in.Operand())
            read += "file=" + *file + ";";
        else
            in.RefuseUnknown();
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
        {{"--a-rather-long-pair", "a", "b", "c"}, "pair=a,b;file=c;"},
        {{"--a-rather-long-pair", "a"}, "refused: the value of --a-rather-long-pair is missing"},
        {{"--a-rather-long-pair", "a", "--force"},
         "refused: the value of --a-rather-long-pair is missing"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.args), c.expected) << testing::PrintToString(c.args);

    // The usage lists the same table: aligned, continued beneath, an option without help left
    // out, one too long for the column on a line of its own.
    EXPECT_EQ(OptionHelp(kOptions, 16),
              "  --force       force it\n"
              "  --port PATH   a port; may be repeated\n"
              "  --stage S     the stage,\n"
              "                1 to 3\n"
              "  --a-rather-long-pair A B\n"
              "                two\n");
}

}  // namespace

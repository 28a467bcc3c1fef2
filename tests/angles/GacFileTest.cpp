#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <string>
#include <tuple>
#include <vector>

#include "angles/GacFileSupport.h"

namespace {

using GacFileTest = GacFixture;

TEST_F(GacFileTest, SavesTheTableAsOneNormalisedLineWithoutLineEnd) {
    ASSERT_TRUE(host.Click(ids::kMaxSpeedCheck));
    const std::string path = dir.File("start.gac");
    EXPECT_TRUE(Save(path).empty());
    EXPECT_EQ(ReadFileBytes(path),
              "20|7.5|15.0|22.5|30.0|50.0|70.0|90.0|113.0|136.0|161.0|186.0|208.0|225.0|241.0|"
              "256.0|269.0|282.0|294.0|306.0|318.0");
    const SFileDialogRequest& r = host.FileDialogRequests().at(0);
    EXPECT_EQ(std::tie(r.open, r.defaultExt, r.fileName, r.flags, r.filter, r.folder),
              std::make_tuple(false, "gac", "", kOfnHideReadOnly | kOfnOverwritePrompt,
                              "Gauge Conf  Files (*.gac)|*.gac|All File (*.*)|*.*||", ""));

    ASSERT_TRUE(host.SelectItem(ids::kMaxSpeedList, 0));  // 100 knots
    SetEntry(1, "  8");
    SetEntry(2, "15.04");
    SetEntry(3, "22.56xyz");
    SetEntry(4, "3e1");
    SetEntry(5, "+50.25");  // exactly half way: rounds to even
    EXPECT_TRUE(Save(path).empty());
    EXPECT_EQ(ReadFileBytes(path), "10|8.0|15.0|22.6|30.0|50.2|70.0|90.0|113.0|136.0|318.0");
    // Every later file dialog of this run opens where the last file was chosen.
    EXPECT_EQ(host.FileDialogRequests().at(1).folder, dir.Path().string());
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"start.gac"});
}

TEST_F(GacFileTest, CancellingEitherDialogChangesNothing) {
    ASSERT_TRUE(host.Click(ids::kMaxSpeedCheck));
    const STableState before = Table();
    ASSERT_TRUE(host.Click(ids::kSave));
    ASSERT_TRUE(host.Click(ids::kLoad));
    EXPECT_EQ(Table(), before);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());
    const SFileDialogRequest& r = host.FileDialogRequests().at(1);
    EXPECT_EQ(std::tie(r.open, r.defaultExt, r.flags, r.filter),
              std::make_tuple(true, "gac", kOfnHideReadOnly | kOfnOverwritePrompt,
                              "Gauge Conf Files (*.gac)|*.gac|All File (*.*)|*.*||"));
}

TEST_F(GacFileTest, LoadsFieldsIntoTheFirstEntriesAndUnlocks) {
    // Start from a wider, locked table, so that the load visibly narrows it.
    ASSERT_TRUE(host.Click(ids::kMaxSpeedCheck));
    ASSERT_TRUE(host.SelectItem(ids::kMaxSpeedList, 40));
    SetEntry(20, "old 200");
    SetEntry(30, "old 300");
    ASSERT_TRUE(host.Click(ids::kMaxSpeedCheck));

    for (const char* line : {"20|7.5|15.0", "20||7.5|15.0", "|20|7.5||15.0|||"}) {
        SetEntry(2, "y");
        EXPECT_TRUE(LoadText(line).empty()) << line;
        EXPECT_EQ(host.GetWindowText(ids::kMaxSpeedList), "200") << line;
        EXPECT_EQ(Entry(1), "7.5") << line;
        EXPECT_EQ(Entry(2), "15.0") << line;
        EXPECT_EQ(Entry(3), "22.5") << line;
        EXPECT_EQ(host.GetWindowText(ids::kAngleBox), "old 200") << line;
        EXPECT_EQ(host.GetCheck(ids::kMaxSpeedCheck), 1) << line;
        EXPECT_TRUE(host.IsWindowEnabled(ids::kSave)) << line;
        for (int k = 1; k <= 50; ++k)
            EXPECT_EQ(host.IsWindowEnabled(ids::EntryBoxId(k)), k <= 20) << line << ' ' << k;
        EXPECT_EQ(Entry(30), "") << line;
    }

    EXPECT_TRUE(LoadText("30|1.0").empty());  // fewer fields than entries
    EXPECT_EQ(Entry(2), "15.0");
    EXPECT_EQ(host.GetWindowText(ids::kAngleBox), "");
    EXPECT_TRUE(host.IsWindowEnabled(ids::EntryBoxId(30)));
}

TEST_F(GacFileTest, LoadedTextsStayVerbatimUpToTheFirstLineEnd) {
    EXPECT_TRUE(LoadText("10|1.50| 2|3.0\n11|99").empty());
    EXPECT_EQ(host.GetWindowText(ids::kMaxSpeedList), "100");
    EXPECT_EQ(Entry(1), "1.50");
    EXPECT_EQ(Entry(2), " 2");
    EXPECT_EQ(Entry(3), "3.0\n");
    EXPECT_EQ(Entry(4), "30.0");

    EXPECT_TRUE(LoadText("10|1.0|2.0\r\n").empty());
    EXPECT_EQ(Entry(2), "2.0\n");
    EXPECT_TRUE(LoadText("10|1.0|2.0\r|3.0").empty());  // a lone CR is just a character
    EXPECT_EQ(Entry(2), "2.0\r");

    // 3 + 505 + 4 = 512 characters: the last one is not read.
    EXPECT_TRUE(LoadText("10|" + std::string(505, ' ') + "|7.5").empty());
    EXPECT_EQ(Entry(2), "7.");
    // 512 bytes on disk, 511 characters once CR LF reads as LF.
    EXPECT_TRUE(LoadText("10|" + std::string(507, ' ') + "\r\n").empty());
    EXPECT_EQ(Entry(1), std::string(507, ' ') + "\n");

    // A last field with its line feed still reads as a number.
    EXPECT_TRUE(LoadText("10|1|2|3|4|5|6|7|8|9|10\n").empty());
    EXPECT_EQ(host.GetWindowText(ids::kAngleBox), "10\n");
    const std::string path = dir.File("out.gac");
    EXPECT_TRUE(Save(path).empty());
    EXPECT_EQ(ReadFileBytes(path), "10|1.0|2.0|3.0|4.0|5.0|6.0|7.0|8.0|9.0|10.0");
}

TEST_F(GacFileTest, SaveAndLoadRoundTrip) {
    std::string line = "50";
    for (int k = 1; k <= 50; ++k)
        line += "|" + std::to_string(7 * k) + "." + std::to_string(k % 10);
    const std::string in = dir.File("in.gac");
    const std::string out = dir.File("out.gac");
    WriteFileBytes(in, line);
    EXPECT_TRUE(Load(in).empty());
    EXPECT_TRUE(Save(out).empty());
    EXPECT_EQ(ReadFileBytes(out), line);

    ASSERT_TRUE(host.SelectItem(ids::kMaxSpeedList, 5));
    ASSERT_TRUE(host.Click(ids::kLinearIncrement));
    EXPECT_TRUE(Save(out).empty());  // replaces the previous file
    const STableState table = Table();
    EXPECT_TRUE(Load(out).empty());
    EXPECT_EQ(Table(), table);
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"in.gac", "out.gac"}));
}

TEST_F(GacFileTest, RefusesFilesWithoutAUsableEntryCount) {
    const STableState before = Table();
    const std::string refusal =
        "Not a gauge configuration file: it must begin with an entry count from 10 to 50.";
    for (const std::string& line :
         {std::string(), std::string("|||"), std::string("\n"), std::string("9|1.0"),
          std::string("51|1.0"), std::string("-20|1.0"), std::string("abc|1.0|2.0"),
          std::string("99999999999|1.0"), std::string(1, '\0') + "20|1.0"}) {
        EXPECT_EQ(LoadText(line), std::vector<std::string>{refusal}) << line;
        EXPECT_EQ(Table(), before) << line;
    }
    EXPECT_EQ(Load(dir.File("missing.gac")), std::vector<std::string>{"Error open file."});
    // A folder or a pipe is not opened at all: a pipe would block the read for ever.
    EXPECT_EQ(Load(dir.Path().string()), std::vector<std::string>{"Error open file."});
#ifndef _WIN32
    const std::string pipe = dir.File("pipe.gac");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(Load(pipe), std::vector<std::string>{"Error open file."});
#endif
    EXPECT_EQ(Table(), before);

    std::string extra = "10";  // 70 angles: those past the 50th have nowhere to go
    for (int k = 1; k <= 70; ++k)
        extra += "|" + std::to_string(k) + ".0";
    EXPECT_TRUE(LoadText(extra).empty());
    EXPECT_EQ(Entry(11), "");
    EXPECT_EQ(host.GetWindowText(ids::kAngleBox), "10.0");
    extra.replace(0, 2, "50");
    EXPECT_TRUE(LoadText(extra).empty());
    EXPECT_EQ(Entry(50), "50.0");
}

TEST_F(GacFileTest, RefusesToSaveALineTooLongToLoadBack) {
    ASSERT_TRUE(host.Click(ids::kMaxSpeedCheck));
    ASSERT_TRUE(host.SelectItem(ids::kMaxSpeedList, 40));
    // 2 + 41 * 10 + 9 * 11 = 511 characters: the longest line that loads back.
    for (int k = 1; k <= 50; ++k)
        SetEntry(k, std::to_string(k <= 41 ? 1000000 + k : 10000000 + k));
    const std::string path = dir.File("long.gac");
    EXPECT_TRUE(Save(path).empty());
    const std::string line = ReadFileBytes(path);
    EXPECT_EQ(line.size(), 511u);
    EXPECT_TRUE(Load(path).empty());
    EXPECT_EQ(Entry(50), "10000050.0");

    const size_t dialogs = host.FileDialogRequests().size();
    SetEntry(41, "10000000");  // one character more
    host.ClearMessages();
    ASSERT_TRUE(host.Click(ids::kSave));
    EXPECT_EQ(host.Messages(),
              std::vector<std::string>{"Needle angle for 500 knots is too large to be saved"});
    EXPECT_EQ(host.FocusId(), ids::EntryBoxId(50));
    EXPECT_EQ(host.Control(ids::EntryBoxId(50)).selEnd, 10);
    EXPECT_EQ(ReadFileBytes(path), line);

    ASSERT_TRUE(host.SelectItem(ids::kMaxSpeedList, 0));
    SetEntry(10, "1e999");  // infinite: would be written as text that reads back as 0
    ASSERT_TRUE(host.Click(ids::kSave));
    EXPECT_EQ(host.Messages().back(), "Needle angle for 100 knots is too large to be saved");
    EXPECT_EQ(host.FileDialogRequests().size(), dialogs);
}

}  // namespace

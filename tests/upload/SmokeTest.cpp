#include "support/DialogFixture.h"
#include "support/TestImages.h"

using UploadSmokeTest = DialogFixture;

TEST_F(UploadSmokeTest, OneColourIasDial) {
    CTempDir dir;
    const std::string png = WriteTestPng(dir, "plain.png", 230, 230, 32,
                                         [](int, int) { return SBgra{0x10, 0x20, 0x30, 0xFF}; });
    host.QueueFileDialogAnswer(png);
    ASSERT_TRUE(host.Click(ids::kSelectIasDial));
    ASSERT_TRUE(host.Messages().empty()) << host.Messages()[0];
    EXPECT_EQ(host.GetCheck(ids::kIasCheck), 1);
    Connect();
    EXPECT_TRUE(host.IsWindowEnabled(ids::kUpdate));
    ASSERT_TRUE(host.Click(ids::kUpdate));
    EXPECT_EQ(Writes(), std::vector<std::string>{"LOAD=11\r\n"});
    Reply("READY");
    EXPECT_EQ(Writes(), std::vector<std::string>{"00102030\r\n"});
    EXPECT_EQ(host.GetWindowText(ids::kStatus),
              "Update in progress, step 1 of 1, do not close this program");
    Reply("U");
    EXPECT_EQ(Writes(), std::vector<std::string>{"52899|00102030\r\n"});
    Reply("U");
    EXPECT_EQ(Writes(), std::vector<std::string>{"END\r\n"});
    EXPECT_EQ(host.GetWindowText(ids::kStatus), "Update completed.");
    EXPECT_EQ(dlg->UploadState().bytesCovered, 211604);
    EXPECT_EQ(host.Control(ids::kProgress).progress, 100);
}

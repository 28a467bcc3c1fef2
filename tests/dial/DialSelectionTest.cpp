#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "dialog/HeadlessCanvas.h"
#include "support/DialogFixture.h"
#include "support/FileBytes.h"
#include "support/TestImages.h"

namespace {

constexpr const char* kLoadError = "Image load error";
constexpr const char* kResolutionError = "Image resolution must be 230 x 230 pixels";
constexpr const char* kDepthError =
    "Image must has a color depth of 32bit per pixel(has an alpha channel)";

// The dial picture of the tests: top-left half transparent, top-right opaque, bottom-right
// fully transparent, the rest a mid grey at alpha 64 (blue, green, red, alpha).
SBgra DialPixel(int x, int y) {
    if (x == 0 && y == 0)
        return {200, 100, 255, 128};
    if (x == 229 && y == 0)
        return {10, 20, 30, 255};
    if (x == 229 && y == 229)
        return {77, 77, 77, 0};
    return {128, uint8_t(x), uint8_t(y), 64};
}

std::vector<uint8_t> Px(const uint8_t* p, int n = 4) {
    return {p, p + n};
}
const std::vector<uint8_t> kBackground = {240, 240, 240, 255};

bool SameDraw(const CHeadlessCanvas::SDrawCall& call, int x, int y) {
    return call.x == x && call.y == y && call.width == 230 && call.height == 230;
}

class DialSelectionTest : public DialogFixture {
protected:
    void SetUp() override {
        DialogFixture::SetUp();
        host.AttachCanvas(&canvas);
    }
    std::string Dial(const std::string& name = "dial.png") {
        return WriteTestPng(dir, name, 230, 230, 32, DialPixel);
    }
    // Pick `path` with the select button of a slot.
    void Select(int button, const std::string& path) {
        host.QueueFileDialogAnswer(path);
        ASSERT_TRUE(host.Click(button));
    }
    // The canvas pixel where the preview at (ox, oy) puts picture pixel (x, y).
    std::vector<uint8_t> Canvas(int ox, int oy, int x, int y) {
        return Px(canvas.Pixel(ox + x, oy + y));
    }
    // The three test pixels of DialPixel, blended premultiplied onto the 240 grey.
    void ExpectPreviewAt(int ox, int oy) {
        EXPECT_EQ(Canvas(ox, oy, 0, 0), (std::vector<uint8_t>{219, 169, 247, 255}));
        EXPECT_EQ(Canvas(ox, oy, 229, 0), (std::vector<uint8_t>{10, 20, 30, 255}));
        EXPECT_EQ(Canvas(ox, oy, 229, 229), kBackground);
        // 128 * 64 / 255 = 32; 240 * 191 / 255 = 179.
        EXPECT_EQ(Canvas(ox, oy, 1, 2), (std::vector<uint8_t>{32 + 179, 0 + 179, 0 + 179, 255}));
        EXPECT_EQ(Canvas(ox - 1, oy, 0, 0), kBackground);
        EXPECT_EQ(Canvas(ox, oy - 1, 0, 0), kBackground);
        EXPECT_EQ(Canvas(ox, oy, 230, 0), kBackground);
    }
    void ExpectNoPreviewAt(int ox, int oy) {
        EXPECT_EQ(Canvas(ox, oy, 0, 0), kBackground);
        EXPECT_EQ(Canvas(ox, oy, 229, 0), kBackground);
    }

    CTempDir dir;
    CHeadlessCanvas canvas;
};

TEST_F(DialSelectionTest, AcceptedDialsAreHeldStraightAndPreviewedPremultiplied) {
    Select(ids::kSelectIasDial, Dial());

    ASSERT_EQ(host.FileDialogRequests().size(), 1u);
    const SFileDialogRequest& r = host.FileDialogRequests()[0];
    EXPECT_EQ(std::tie(r.open, r.defaultExt, r.fileName, r.flags, r.filter),
              std::make_tuple(true, "png", "", 6u, "PNG Files (*.png)|*.png|All File (*.*)|*.*||"));

    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(host.GetCheck(ids::kIasCheck), 1);
    EXPECT_EQ(host.GetCheck(ids::kTasCheck), 0);
    EXPECT_EQ(host.RepaintCount(), 1);

    const CImage& upload = dlg->IasUploadImage();
    ASSERT_FALSE(upload.IsNull());
    EXPECT_EQ(upload.GetPitch(), -920);
    EXPECT_EQ(Px(upload.GetBits()), (std::vector<uint8_t>{200, 100, 255, 128}));
    EXPECT_EQ(Px(upload.PixelAt(229, 229)), (std::vector<uint8_t>{77, 77, 77, 0}));
    const CImage& preview = dlg->IasPreviewImage();
    EXPECT_EQ(Px(preview.GetBits()), (std::vector<uint8_t>{100, 50, 128, 128}));
    EXPECT_EQ(Px(preview.PixelAt(229, 229)), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_TRUE(dlg->TasUploadImage().IsNull());

    ASSERT_EQ(canvas.DrawCalls().size(), 1u);
    EXPECT_TRUE(SameDraw(canvas.DrawCalls()[0], 30, 125));
    ExpectPreviewAt(30, 125);
    ExpectNoPreviewAt(30, 408);

    // The second selection wipes the window, draws its own preview, then puts back the other
    // one; neither picture is premultiplied a second time.
    Select(ids::kSelectTasDial, Dial());

    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(host.GetCheck(ids::kIasCheck), 1);
    EXPECT_EQ(host.GetCheck(ids::kTasCheck), 1);
    EXPECT_EQ(host.RepaintCount(), 2);
    ASSERT_EQ(canvas.DrawCalls().size(), 2u);
    EXPECT_TRUE(SameDraw(canvas.DrawCalls()[0], 30, 408));
    EXPECT_TRUE(SameDraw(canvas.DrawCalls()[1], 30, 125));
    ExpectPreviewAt(30, 408);
    ExpectPreviewAt(30, 125);
    EXPECT_EQ(Px(dlg->IasUploadImage().GetBits()), (std::vector<uint8_t>{200, 100, 255, 128}));
    EXPECT_EQ(Px(dlg->TasUploadImage().GetBits()), (std::vector<uint8_t>{200, 100, 255, 128}));
}

// A refused file drops what the slot held, clears its box and leaves the other slot alone.
TEST_F(DialSelectionTest, RefusedFilesGiveOneMessageAndDropTheHeldDial) {
    const std::string dial = Dial();
    const std::string wide = WriteTestPng(dir, "wide.png", 231, 230, 32, DialPixel);
    const std::string smallRgb = WriteTestPng(dir, "small.png", 100, 100, 24, DialPixel);
    const std::string rgb = WriteTestPng(dir, "rgb.png", 230, 230, 24, DialPixel);
    const std::string text = dir.File("notes.png");
    WriteFileBytes(text, std::string(500, 'k'));
    // A real dial cut short in its pixel data must not pass as a picture of zeros.
    const std::string bytes = ReadFileBytes(dial);
    const std::string cut = dir.File("cut.png");
    WriteFileBytes(cut, bytes.substr(0, bytes.size() / 2));

    // Not regular files: a pipe would block the read for ever, a folder holds nothing.
    const std::string folder = dir.File("folder.png");
    std::filesystem::create_directory(folder);
    // At the size limit a file is read (and found to be no picture); one byte more and it
    // is refused before a byte is read. Sparse files: they cost no disk.
    constexpr std::uintmax_t kLimit = 64u << 20;
    const std::string atLimit = dir.File("at-limit.png");
    const std::string overLimit = dir.File("over-limit.png");
    WriteFileBytes(atLimit, "");
    WriteFileBytes(overLimit, "");
    std::filesystem::resize_file(atLimit, kLimit);
    std::filesystem::resize_file(overLimit, kLimit + 1);

    struct SCase {
        std::string path;
        const char* message;
        std::string reason;  // shown beneath the message, behind the file's name
    };
    const std::string makeADial =
        "; the Dial Workshop or kestran-dial prepare makes a 230 x 230 dial with alpha of it.";
    const std::string jpeg = dir.File("photo.png");  // named as a dial, but a JPEG
    WriteFileBytes(jpeg, std::string("\xFF\xD8\xFF\xE0") + std::string(100, 'j'));
    std::vector<SCase> cases = {
        {wide, kResolutionError, " is 231 x 230 pixels" + makeADial},
        {smallRgb, kResolutionError, " is 100 x 100 pixels" + makeADial},
        {rgb, kDepthError, " is RGB without alpha" + makeADial},
        {jpeg, kLoadError, " is a JPEG picture" + makeADial},
        {text, kLoadError, ": not a PNG picture"},
        {cut, kLoadError, ": damaged or unreadable PNG data"},
        {dir.File("gone.png"), kLoadError, ": No such file or directory"},
        {folder, kLoadError, ": a folder, not a picture file"},
        {atLimit, kLoadError, ": not a PNG picture"},
        {overLimit, kLoadError, ": too large for a dial picture (67108865 bytes)"},
    };
#ifndef _WIN32
    const std::string pipe = dir.File("pipe.png");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    cases.push_back({pipe, kLoadError, ": not a regular file"});
    // Should the pipe be read after all, writers that come and go from the fifth second on
    // end the read: the case fails instead of waiting for ever.
    std::thread([pipe] {
        std::this_thread::sleep_for(std::chrono::seconds(5));
        for (int i = 0; i < 600; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(100)))
            close(open(pipe.c_str(), O_WRONLY | O_NONBLOCK));
    }).detach();
#endif
    Select(ids::kSelectTasDial, dial);
    for (const auto& [path, message, reason] : cases) {
        SCOPED_TRACE(path);
        Select(ids::kSelectIasDial, dial);
        ASSERT_EQ(host.GetCheck(ids::kIasCheck), 1);
        host.ClearMessages();

        Select(ids::kSelectIasDial, path);
        EXPECT_EQ(host.Messages(), std::vector<std::string>{message});
        ASSERT_EQ(host.MessageReasons().size(), 1u);
        const std::string name = std::filesystem::path(path).filename().string();
        EXPECT_EQ(host.MessageReasons()[0].rfind(name + reason, 0), 0u) << host.MessageReasons()[0];
        EXPECT_TRUE(dlg->IasUploadImage().IsNull());
        EXPECT_EQ(host.GetCheck(ids::kIasCheck), 0);
        EXPECT_FALSE(dlg->TasUploadImage().IsNull());
        EXPECT_EQ(host.GetCheck(ids::kTasCheck), 1);
        ASSERT_EQ(canvas.DrawCalls().size(), 1u);
        EXPECT_TRUE(SameDraw(canvas.DrawCalls()[0], 30, 408));
        ExpectNoPreviewAt(30, 125);
        ExpectPreviewAt(30, 408);
    }
}

TEST_F(DialSelectionTest, CancelOnlyClearsTheBoxOfAnEmptySlot) {
    // Ticking the box of an empty slot opens the file dialog; cancelling clears it again.
    ASSERT_TRUE(host.Click(ids::kIasCheck));
    EXPECT_EQ(host.FileDialogRequests().size(), 1u);
    EXPECT_EQ(host.GetCheck(ids::kIasCheck), 0);
    ASSERT_TRUE(host.Click(ids::kSelectTasDial));
    EXPECT_EQ(host.GetCheck(ids::kTasCheck), 0);
    EXPECT_EQ(host.RepaintCount(), 0);
    EXPECT_TRUE(canvas.DrawCalls().empty());
    EXPECT_TRUE(host.Messages().empty());

    // With a dial held, cancelling changes nothing at all.
    Select(ids::kSelectIasDial, Dial());
    const std::vector<uint8_t> before = canvas.Pixels();
    ASSERT_TRUE(host.Click(ids::kSelectIasDial));
    EXPECT_EQ(host.GetCheck(ids::kIasCheck), 1);
    EXPECT_FALSE(dlg->IasUploadImage().IsNull());
    EXPECT_EQ(host.RepaintCount(), 1);
    EXPECT_EQ(canvas.DrawCalls().size(), 1u);
    EXPECT_TRUE(canvas.Pixels() == before);

    // Also with the box cleared by the user: the held dial keeps the box clear.
    ASSERT_TRUE(host.Click(ids::kIasCheck));
    ASSERT_TRUE(host.Click(ids::kSelectIasDial));
    EXPECT_EQ(host.GetCheck(ids::kIasCheck), 0);
    EXPECT_FALSE(dlg->IasUploadImage().IsNull());
}

TEST_F(DialSelectionTest, BoxesTickAndClearWithoutLosingTheHeldDial) {
    // Ticking an empty slot's box and choosing a file selects it.
    host.QueueFileDialogAnswer(Dial());
    ASSERT_TRUE(host.Click(ids::kTasCheck));
    EXPECT_EQ(host.GetCheck(ids::kTasCheck), 1);
    EXPECT_FALSE(dlg->TasUploadImage().IsNull());
    ExpectPreviewAt(30, 408);

    ASSERT_TRUE(host.Click(ids::kTasCheck));
    EXPECT_EQ(host.GetCheck(ids::kTasCheck), 0);
    EXPECT_FALSE(dlg->TasUploadImage().IsNull());
    ASSERT_TRUE(host.Click(ids::kTasCheck));
    EXPECT_EQ(host.GetCheck(ids::kTasCheck), 1);
    EXPECT_EQ(host.FileDialogRequests().size(), 1u);
    EXPECT_FALSE(dlg->TasUploadImage().IsNull());
}

TEST_F(DialSelectionTest, UpdateNeedsAnOpenPortAndATickedBox) {
    const std::string dial = Dial();
    Select(ids::kSelectIasDial, dial);
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
    ASSERT_TRUE(host.Click(ids::kMaxSpeedCheck));
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
    ASSERT_TRUE(host.Click(ids::kMaxSpeedCheck));

    Connect();
    EXPECT_TRUE(host.IsWindowEnabled(ids::kUpdate));
    ASSERT_TRUE(host.Click(ids::kIasCheck));
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
    ASSERT_TRUE(host.Click(ids::kMaxSpeedCheck));
    EXPECT_TRUE(host.IsWindowEnabled(ids::kUpdate));
    ASSERT_TRUE(host.Click(ids::kMaxSpeedCheck));
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));

    Select(ids::kSelectTasDial, dial);
    EXPECT_TRUE(host.IsWindowEnabled(ids::kUpdate));
    // A refused file clears the only ticked box.
    Select(ids::kSelectTasDial, dir.File("missing.png"));
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
    // Cancelling with the IAS dial held and its box clear leaves Update off.
    ASSERT_TRUE(host.Click(ids::kSelectIasDial));
    EXPECT_FALSE(host.IsWindowEnabled(ids::kUpdate));
    ASSERT_TRUE(host.Click(ids::kIasCheck));
    EXPECT_TRUE(host.IsWindowEnabled(ids::kUpdate));
}

}  // namespace

// A picture dropped on a slot is taken as that slot's Select takes a chosen one; anything
// else dropped is refused with a message and changes nothing.
TEST_F(DialSelectionTest, DropsGoThroughTheSlotsSelectAndAnythingElseIsRefused) {
    const std::string dial = Dial();
    const std::string small = WriteTestPng(dir, "small.png", 100, 100, 32, DialPixel);
    const std::string text = dir.File("notes.png");
    WriteFileBytes(text, "not a picture");
    const struct {
        int target;
        std::vector<std::string> paths;
        const char* message;  // nullptr: taken
        int check;            // the slot's check box afterwards
    } cases[] = {
        {ids::kSelectTasDial, {dial}, nullptr, 1},
        {ids::kSelectIasDial, {dial}, nullptr, 1},
        {ids::kSelectIasDial, {small}, kResolutionError, 0},
        {ids::kSelectIasDial, {text}, kLoadError, 0},
        {ids::kSelectIasDial, {dial, dial}, CTillerbyDlg::kDropOneFileMessage, 0},
        {ids::kSelectIasDial, {""}, CTillerbyDlg::kDropOneFileMessage, 0},
        {0, {dial}, CTillerbyDlg::kDropOnASlotMessage, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.paths.front());
        host.ClearMessages();
        dlg->OnDropFiles(c.target, c.paths);
        const int checkId = c.target == ids::kSelectTasDial ? ids::kTasCheck : ids::kIasCheck;
        EXPECT_EQ(host.GetCheck(checkId), c.check);
        EXPECT_EQ(host.Messages(),
                  c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    }
    // The taken dial is the file's, drawn where the slot's Select draws it.
    EXPECT_EQ(Px(dlg->TasUploadImage().PixelAt(229, 0)), (std::vector<uint8_t>{10, 20, 30, 255}));
    EXPECT_TRUE(SameDraw(canvas.DrawCalls().front(), 30, 408));

    // During an update the slots take nothing.
    Connect();
    ASSERT_TRUE(host.Click(ids::kUpdate));
    host.ClearMessages();
    dlg->OnDropFiles(ids::kSelectTasDial, {small});
    EXPECT_EQ(host.Messages(), std::vector<std::string>{CTillerbyDlg::kDropDuringUpdateMessage});
    EXPECT_FALSE(dlg->TasUploadImage().IsNull());
}

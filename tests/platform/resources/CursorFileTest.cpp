// Cursors from bit planes, .cur and .ico files through LoadImage (the
// entry that suits the size asked for), and animated cursors.

#include "platform/Errors.h"
#include "platform/images/Picture.h"
#include "platform/images/PngFile.h"
#include "platform/resources/Icon.h"
#include "tests/support/GdiCanvas.h"
#include "tests/support/IconBytes.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace iconbytes;

namespace {

constexpr uint32_t kBackground = 0x00336699;

std::string SolidImage(int size, uint32_t colour, int bitCount = 32) {
    return DibImage(MakePicture(size, size, colour), bitCount);
}

std::string CursorFile(uint32_t colour, int hotX, int hotY, int size = 32) {
    return IconFile({Entry{size, size, 32, SolidImage(size, colour), hotX, hotY}}, 2);
}

HANDLE LoadFile(const TempFolder& folder, const std::string& name, UINT type, int cx, int cy,
                UINT flags = LR_LOADFROMFILE) {
    return LoadImage(nullptr, folder.File(name).c_str(), type, cx, cy, flags);
}

} // namespace

TEST(CursorPlanes, FollowTheAndXorRulesAndReadBackAsOneMonochromePlane) {
    // 16 x 1: pixels 0..3 are (AND, XOR) = (0,0) (0,1) (1,0) (1,1).
    const uint8_t andPlane[2] = {0x30, 0x00}; // bits 2 and 3
    const uint8_t xorPlane[2] = {0x50, 0x00}; // bits 1 and 3
    HCURSOR cursor = CreateCursor(nullptr, 1, 0, 16, 1, andPlane, xorPlane);
    ASSERT_NE(cursor, nullptr);
    GdiCanvas canvas(16, 1);
    canvas.Fill(kBackground);
    ASSERT_TRUE(DrawIcon(canvas.dc(), 0, 0, reinterpret_cast<HICON>(cursor)));
    EXPECT_EQ(canvas.At(0, 0) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(canvas.At(1, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(canvas.At(2, 0) & 0xFFFFFF, kBackground);
    EXPECT_EQ(canvas.At(3, 0) & 0xFFFFFF, kBackground ^ 0xFFFFFFu);

    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(cursor), &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 1u);
    EXPECT_EQ(info.hbmColor, nullptr);
    BITMAP bm{};
    ASSERT_TRUE(GetObject(info.hbmMask, sizeof bm, &bm));
    EXPECT_EQ(bm.bmHeight, 2); // AND plane over XOR plane
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, info.hbmMask);
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 2, 1), RGB(0, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    // Rebuilt from that one plane, it draws the same.
    HICON rebuilt = CreateIconIndirect(&info);
    ASSERT_NE(rebuilt, nullptr);
    GdiCanvas again(16, 1);
    again.Fill(kBackground);
    DrawIcon(again.dc(), 0, 0, rebuilt);
    EXPECT_EQ(again.Pixels(), canvas.Pixels());
    DeleteObject(info.hbmMask);
    DestroyIcon(rebuilt);
    EXPECT_TRUE(DestroyCursor(cursor));

    EXPECT_EQ(CreateCursor(nullptr, 16, 0, 16, 1, andPlane, xorPlane), nullptr); // hot spot outside
    EXPECT_EQ(CreateCursor(nullptr, 0, 0, 0, 1, andPlane, xorPlane), nullptr);
    EXPECT_EQ(CreateCursor(nullptr, 0, 0, 16, 1, nullptr, xorPlane), nullptr);
}

TEST(IconFiles, LoadImagePicksTheEntryNearestTheSizeAsked) {
    TempFolder folder;
    folder.Write("sizes.ico", IconFile({Entry{16, 16, 8, SolidImage(16, 0x00FF0000, 8)},
                                        Entry{48, 48, 32, SolidImage(48, 0x000000FF)},
                                        Entry{32, 32, 4, SolidImage(32, 0x0000FF00, 4)},
                                        Entry{32, 32, 24, SolidImage(32, 0x00FFFF00, 24)}}));
    struct Case {
        int cx, cy, size;
        uint32_t colour;
    } cases[] = {
        {16, 16, 16, 0xFF0000}, {48, 48, 48, 0x0000FF}, {64, 64, 64, 0x0000FF},
        {40, 40, 40, 0x0000FF}, // a tie between 32 and 48 goes to the larger
        {30, 30, 30, 0xFFFF00}, // of two 32s the deeper wins
        {0, 0, 32, 0xFFFF00},   // no size: the system size picks
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cx);
        HICON icon = static_cast<HICON>(LoadFile(folder, "sizes.ico", IMAGE_ICON, c.cx, c.cy));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm{};
        GetObject(info.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, c.size);
        GdiCanvas canvas(c.size, c.size);
        DrawIcon(canvas.dc(), 0, 0, icon);
        EXPECT_EQ(canvas.At(c.size - 1, c.size - 1) & 0xFFFFFF, c.colour);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST(IconFiles, PngEntriesKeepTheirAlpha) {
    platform::PixelImage picture;
    picture.Reset(64, 64, 0xFF2040C0u);
    picture.hasAlpha = true;
    picture.At(0, 0) = 0; // see-through corner
    std::string png;
    ASSERT_TRUE(platform::EncodePng(picture, png));
    TempFolder folder;
    folder.Write("large.ico", IconFile({Entry{16, 16, 8, SolidImage(16, 0x00FF0000, 8)},
                                        Entry{64, 64, 32, png}}));
    HICON icon = static_cast<HICON>(LoadFile(folder, "large.ico", IMAGE_ICON, 64, 64));
    ASSERT_NE(icon, nullptr);
    GdiCanvas canvas(64, 64);
    canvas.Fill(kBackground);
    DrawIcon(canvas.dc(), 0, 0, icon);
    EXPECT_EQ(canvas.At(0, 0) & 0xFFFFFF, kBackground);
    EXPECT_EQ(canvas.At(63, 63) & 0xFFFFFF, 0x2040C0u);
    DestroyIcon(icon);
    // A PNG stream cut short is refused like any other broken image.
    folder.Write("cut.ico", IconFile({Entry{64, 64, 32, png.substr(0, png.size() / 2)}}));
    EXPECT_EQ(LoadFile(folder, "cut.ico", IMAGE_ICON, 64, 64), nullptr);
}

TEST(IconFiles, CursorsLoadFromTheirFilesAndTheKindMustMatch) {
    TempFolder folder;
    folder.Write("point.cur", CursorFile(0x00FF0000, 5, 7));
    folder.Write("plain.ico", IconFile({Entry{32, 32, 32, SolidImage(32, 0x00FF0000)}}));
    HCURSOR cursor = static_cast<HCURSOR>(LoadFile(folder, "point.cur", IMAGE_CURSOR, 0, 0));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(cursor), &info));
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 7u);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyCursor(cursor);
    EXPECT_EQ(LoadFile(folder, "point.cur", IMAGE_ICON, 0, 0), nullptr);
    EXPECT_EQ(LoadFile(folder, "plain.ico", IMAGE_CURSOR, 0, 0), nullptr);
    SetLastError(0);
    EXPECT_EQ(LoadFile(folder, "missing.ico", IMAGE_ICON, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
}

TEST(IconFiles, TruncatedAndLyingFilesAreRefused) {
    TempFolder folder;
    const std::string good = IconFile({Entry{16, 16, 8, SolidImage(16, 0x00FF0000, 8)},
                                       Entry{32, 32, 32, SolidImage(32, 0x000000FF)}});
    for (size_t length = 0; length < good.size(); length += 29) {
        folder.Write("cut.ico", good.substr(0, length));
        SetLastError(0);
        EXPECT_EQ(LoadFile(folder, "cut.ico", IMAGE_ICON, 32, 32), nullptr) << length;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_DATA)) << length;
    }
    auto patched = [&](size_t at, uint32_t value) {
        std::string bad = good;
        for (int i = 0; i < 4; ++i)
            bad[at + size_t(i)] = char(value >> (8 * i));
        folder.Write("bad.ico", bad);
        return LoadFile(folder, "bad.ico", IMAGE_ICON, 16, 16);
    };
    EXPECT_EQ(patched(6 + 8, 0x10000000), nullptr);       // first image size beyond the file
    EXPECT_EQ(patched(6 + 16 + 12, 0xFFFFFFF0), nullptr); // second image offset beyond it
    EXPECT_EQ(patched(6 + 12, 2), nullptr);               // first image inside the directory
    EXPECT_EQ(patched(4, 0x0009), nullptr);               // more entries than the file holds
    EXPECT_EQ(patched(0, 0x00020000), nullptr);           // type 2 is a cursor file
    EXPECT_NE(patched(0, 0x00010000), nullptr);           // the good header again
}

TEST(AnimatedCursors, FramesRatesAndSequenceAreReadAndTheFirstStepShows) {
    const std::vector<std::string> frames = {
        CursorFile(0x00FF0000, 1, 1), CursorFile(0x0000FF00, 1, 1), CursorFile(0x000000FF, 1, 1)};
    std::string ani = AniFile(frames, {6, 12, 6, 30}, {2, 0, 1, 0});
    HCURSOR cursor = reinterpret_cast<HCURSOR>(CreateIconFromResource(
        reinterpret_cast<PBYTE>(ani.data()), DWORD(ani.size()), FALSE, 0x30000));
    ASSERT_NE(cursor, nullptr);
    platform::AnimatedCursorInfo info;
    ASSERT_TRUE(platform::GetAnimatedCursorInfo(cursor, info));
    EXPECT_EQ(info.frameCount, 3);
    EXPECT_EQ(info.rates, (std::vector<DWORD>{6, 12, 6, 30}));
    EXPECT_EQ(info.sequence, (std::vector<int>{2, 0, 1, 0}));
    // The handle looks like the first step's frame (blue).
    EXPECT_EQ(platform::CursorShapeOf(cursor)->pixels[0], 0xFF0000FFu);
    // Steps last 100, 200, 100 and 500 ms; the sequence repeats.
    EXPECT_EQ(platform::AnimatedCursorFrameAt(cursor, 0), 2);
    EXPECT_EQ(platform::AnimatedCursorFrameAt(cursor, 99), 2);
    EXPECT_EQ(platform::AnimatedCursorFrameAt(cursor, 100), 0);
    EXPECT_EQ(platform::AnimatedCursorFrameAt(cursor, 350), 1);
    EXPECT_EQ(platform::AnimatedCursorFrameAt(cursor, 899), 0);
    EXPECT_EQ(platform::AnimatedCursorFrameAt(cursor, 900), 2);
    platform::CursorShape frame;
    ASSERT_TRUE(platform::GetAnimatedCursorFrame(cursor, 1, frame));
    EXPECT_EQ(frame.pixels[0], 0xFF00FF00u);
    EXPECT_FALSE(platform::GetAnimatedCursorFrame(cursor, 3, frame));
    DestroyCursor(cursor);

    // Without rate and sequence: every frame once, at the header's rate.
    TempFolder folder;
    folder.Write("plain.ani", AniFile(frames, {}, {}, 4));
    cursor = static_cast<HCURSOR>(LoadFile(folder, "plain.ani", IMAGE_CURSOR, 0, 0));
    ASSERT_NE(cursor, nullptr);
    ASSERT_TRUE(platform::GetAnimatedCursorInfo(cursor, info));
    EXPECT_EQ(info.rates, (std::vector<DWORD>{4, 4, 4}));
    EXPECT_EQ(info.sequence, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(platform::CursorShapeOf(cursor)->pixels[0], 0xFFFF0000u);
    DestroyCursor(cursor);
    EXPECT_EQ(platform::AnimatedCursorFrameAt(LoadCursor(nullptr, IDC_ARROW), 0), -1);
}

TEST(AnimatedCursors, BrokenFilesAreRefused) {
    const std::vector<std::string> frames = {CursorFile(0x00FF0000, 1, 1, 8),
                                             CursorFile(0x0000FF00, 1, 1, 8)};
    auto refused = [](std::string bytes) {
        SetLastError(0);
        HICON made = CreateIconFromResource(reinterpret_cast<PBYTE>(bytes.data()),
                                            DWORD(bytes.size()), FALSE, 0x30000);
        if (made)
            DestroyIcon(made);
        return made == nullptr && GetLastError() == DWORD(ERROR_INVALID_DATA);
    };
    const std::string good = AniFile(frames, {5, 5, 5}, {0, 1, 0});
    ASSERT_FALSE(refused(good));
    for (size_t length = 12; length < good.size(); ++length)
        EXPECT_TRUE(refused(good.substr(0, length))) << length;
    EXPECT_TRUE(refused(AniFile(frames, {5, 5, 5}, {0, 2, 0}))); // names a missing frame
    EXPECT_TRUE(refused(AniFile(frames, {5}, {0, 1, 0})));       // rate table too short
    EXPECT_TRUE(
        refused(AniFile({frames[0]}, {}, {}).replace(8 + 4 + 8 + 4, 1, "\x05"))); // 5 frames said
    EXPECT_TRUE(refused(AniFile({"not a cursor"}, {}, {})));
    std::string lying = good;
    lying[4] = char(0x7F); // RIFF size past the end
    EXPECT_TRUE(refused(lying));
}

// Icon objects: made from resource bytes of every depth, read back, drawn
// with their mask, scaled, copied and destroyed.

#include "platform/resources/Icon.h"
#include "platform/Errors.h"
#include "platform/resources/Resource.h"
#include "tests/support/GdiCanvas.h"
#include "tests/support/IconBytes.h"

#include <gtest/gtest.h>

#include <random>

using namespace iconbytes;

namespace {

constexpr uint32_t kBackground = 0x00336699;

// A 4 x 4 picture holding each case of the drawing rule: opaque colours,
// transparent black (screen shows), and transparent white (screen inverted).
Picture Sampler() {
    Picture p = MakePicture(4, 4, 0x00FF0000);
    p.At(1, 0) = 0x0000FF00;
    p.At(2, 0) = 0x000000FF;
    p.At(3, 0) = 0x00FFFFFF;
    for (int x = 0; x < 4; ++x) {
        p.At(x, 2) = 0x00000000; // transparent: mask 1, colour black
        p.MaskAt(x, 2) = 1;
        p.At(x, 3) = 0x00FFFFFF; // inverting: mask 1, colour white
        p.MaskAt(x, 3) = 1;
    }
    return p;
}

HICON IconOf(const std::string& image, BOOL icon = TRUE) {
    return CreateIconFromResourceEx(reinterpret_cast<PBYTE>(const_cast<char*>(image.data())),
                                    DWORD(image.size()), icon, 0x30000, 0, 0, 0);
}

// What the icon must leave on a canvas holding `under`.
uint32_t Expected(const Picture& p, int x, int y, uint32_t under) {
    const uint32_t colour = p.colour[size_t(y) * size_t(p.width) + size_t(x)] & 0xFFFFFF;
    return p.mask[size_t(y) * size_t(p.width) + size_t(x)] ? (under ^ colour) : colour;
}

std::vector<uint32_t> BitmapPixels(HBITMAP bitmap, int width, int height) {
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetDIBits(dc, bitmap, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS), height);
    DeleteDC(dc);
    return pixels;
}

} // namespace

TEST(IconObjects, EveryDepthDrawsItsColoursAndHonoursItsMask) {
    const Picture p = Sampler();
    for (int bitCount : {4, 8, 24, 32}) {
        SCOPED_TRACE(bitCount);
        HICON icon = IconOf(DibImage(p, bitCount));
        ASSERT_NE(icon, nullptr);
        GdiCanvas canvas(6, 6);
        canvas.Fill(kBackground);
        ASSERT_TRUE(DrawIconEx(canvas.dc(), 1, 1, icon, 0, 0, 0, nullptr, DI_NORMAL));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(canvas.At(x + 1, y + 1) & 0xFFFFFF, Expected(p, x, y, kBackground))
                    << x << "," << y;
        EXPECT_EQ(canvas.At(0, 0) & 0xFFFFFF, kBackground); // nothing outside
        EXPECT_EQ(canvas.At(5, 5) & 0xFFFFFF, kBackground);
        EXPECT_TRUE(DestroyIcon(icon));
    }
}

TEST(IconObjects, OneAndSixteenBitImagesKeepTheirColours) {
    Picture mono = MakePicture(8, 2, 0);
    mono.At(3, 0) = 0x00FFFFFF;
    mono.MaskAt(5, 1) = 1;
    HICON icon = IconOf(DibImage(mono, 1));
    ASSERT_NE(icon, nullptr);
    GdiCanvas canvas(8, 2);
    canvas.Fill(kBackground);
    DrawIcon(canvas.dc(), 0, 0, icon);
    EXPECT_EQ(canvas.At(3, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(canvas.At(4, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(canvas.At(5, 1) & 0xFFFFFF, kBackground);
    DestroyIcon(icon);

    // 5-5-5: each channel keeps its top five bits, widened again.
    Picture high = MakePicture(2, 1, 0x00F80800);
    icon = IconOf(DibImage(high, 16));
    ASSERT_NE(icon, nullptr);
    GdiCanvas out(2, 1);
    DrawIcon(out.dc(), 0, 0, icon);
    const uint32_t pixel = out.At(0, 0) & 0xFFFFFF;
    EXPECT_EQ(pixel >> 16 & 0xF8, 0xF8u);
    EXPECT_EQ(pixel >> 8 & 0xF8, 0x08u);
    EXPECT_EQ(pixel & 0xF8, 0u);
    DestroyIcon(icon);
}

TEST(IconObjects, GetIconInfoGivesTheColourAndMaskBackAndCreateIconIndirectRebuildsIt) {
    const Picture p = Sampler();
    HICON icon = IconOf(DibImage(p, 24));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_TRUE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 2u); // an icon's hot spot is its centre
    ASSERT_NE(info.hbmColor, nullptr);
    BITMAP mask{};
    ASSERT_TRUE(GetObject(info.hbmMask, sizeof mask, &mask));
    EXPECT_EQ(mask.bmBitsPixel, 1);
    EXPECT_EQ(mask.bmHeight, 4);
    const auto colour = BitmapPixels(info.hbmColor, 4, 4);
    const auto bits = BitmapPixels(info.hbmMask, 4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const size_t i = size_t(y) * 4 + size_t(x);
            EXPECT_EQ(colour[i] & 0xFFFFFF, p.colour[i] & 0xFFFFFF);
            EXPECT_EQ((bits[i] & 0xFFFFFF) != 0, p.mask[i] != 0);
        }
    HICON rebuilt = CreateIconIndirect(&info);
    ASSERT_NE(rebuilt, nullptr);
    GdiCanvas a(4, 4), b(4, 4);
    a.Fill(kBackground);
    b.Fill(kBackground);
    DrawIcon(a.dc(), 0, 0, icon);
    DrawIcon(b.dc(), 0, 0, rebuilt);
    EXPECT_EQ(a.Pixels(), b.Pixels());
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(rebuilt);
    DestroyIcon(icon);
}

TEST(IconObjects, DrawIconExStretchesMaskAndColourAndDrawsEachPlaneAlone) {
    Picture p = MakePicture(2, 2, 0x00FF0000);
    p.At(1, 1) = 0;
    p.MaskAt(1, 1) = 1;
    HICON icon = IconOf(DibImage(p, 32));
    GdiCanvas canvas(4, 4);
    canvas.Fill(kBackground);
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, 4, 4, 0, nullptr, DI_NORMAL));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(canvas.At(x, y) & 0xFFFFFF, x >= 2 && y >= 2 ? kBackground : 0xFF0000u);

    canvas.Fill(kBackground);
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_MASK));
    EXPECT_EQ(canvas.At(0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(canvas.At(1, 1) & 0xFFFFFF, 0xFFFFFFu);
    canvas.Fill(kBackground);
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_IMAGE));
    EXPECT_EQ(canvas.At(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(canvas.At(1, 1) & 0xFFFFFF, 0u); // the colour alone, no screen
    EXPECT_FALSE(DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, 0));
    DestroyIcon(icon);
}

TEST(IconObjects, AlphaPicturesBlendOverTheScreen) {
    Picture p = MakePicture(2, 1, 0xFFFF0000);
    p.At(1, 0) = 0x80000000; // half-transparent black
    HICON icon = IconOf(DibImage(p, 32));
    GdiCanvas canvas(2, 1);
    canvas.Fill(0x00FFFFFF);
    DrawIcon(canvas.dc(), 0, 0, icon);
    EXPECT_EQ(canvas.At(0, 0) & 0xFFFFFF, 0xFF0000u);
    const uint32_t grey = canvas.At(1, 0) & 0xFF;
    EXPECT_NEAR(int(grey), 0x7F, 2);
    DestroyIcon(icon);
}

TEST(IconObjects, CopiesOutliveTheOriginalAndSharedIconsSurviveDestroy) {
    HICON icon = IconOf(DibImage(Sampler(), 8));
    HICON copy = CopyIcon(icon);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, icon);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon)); // already gone
    GdiCanvas canvas(4, 4);
    EXPECT_TRUE(DrawIcon(canvas.dc(), 0, 0, copy));
    EXPECT_EQ(canvas.At(1, 0) & 0xFFFFFF, 0x00FF00u);
    EXPECT_TRUE(DestroyIcon(copy));

    HICON shared = LoadIcon(nullptr, IDI_QUESTION);
    ASSERT_NE(shared, nullptr);
    EXPECT_TRUE(DestroyIcon(shared));
    EXPECT_TRUE(DrawIcon(canvas.dc(), 0, 0, shared)); // still there
}

TEST(IconObjects, ResourceSizesScaleAndCursorsCarryTheirHotSpot) {
    const Picture p = Sampler();
    std::string image = DibImage(p, 32);
    HICON big = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(image.data()), DWORD(image.size()),
                                         TRUE, 0x30000, 8, 12, 0);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(big, &info));
    BITMAP bm{};
    GetObject(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 8);
    EXPECT_EQ(bm.bmHeight, 12);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(big);
    // CreateIconFromResource makes the system size.
    HICON standard = CreateIconFromResource(reinterpret_cast<PBYTE>(image.data()),
                                            DWORD(image.size()), TRUE, 0x30000);
    ASSERT_TRUE(GetIconInfo(standard, &info));
    GetObject(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(standard);

    std::string cursorBytes;
    PutU16(cursorBytes, 3);
    PutU16(cursorBytes, 1);
    cursorBytes += image;
    HICON cursor = IconOf(cursorBytes, FALSE);
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 3u);
    EXPECT_EQ(info.yHotspot, 1u);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    HCURSOR asCursor = reinterpret_cast<HCURSOR>(cursor);
    SetCursor(asCursor);
    EXPECT_EQ(GetCursor(), asCursor);
    const platform::CursorShape* shape = platform::CursorShapeOf(asCursor);
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->hotSpot.x, 3);
    EXPECT_EQ(shape->pixels[0], 0xFFFF0000u);
    EXPECT_EQ(shape->pixels[2 * 4], 0u); // transparent on the display
    SetCursor(nullptr);
    DestroyIcon(cursor);
}

TEST(IconObjects, BrokenResourceBytesAreRefusedWithoutReadingPastThem) {
    const std::string good = DibImage(Sampler(), 8);
    // Every cut of a good image must be refused, never read beyond.
    for (size_t length = 0; length < good.size(); ++length) {
        std::vector<BYTE> cut(good.begin(), good.begin() + long(length));
        SetLastError(0);
        HICON icon = CreateIconFromResourceEx(cut.empty() ? nullptr : cut.data(), DWORD(length),
                                              TRUE, 0x30000, 0, 0, 0);
        EXPECT_EQ(icon, nullptr) << length;
        EXPECT_NE(GetLastError(), 0u) << length;
    }
    auto withField = [&](size_t at, uint32_t value, int bytes) {
        std::string bad = good;
        for (int i = 0; i < bytes; ++i)
            bad[at + size_t(i)] = char(value >> (8 * i));
        return IconOf(bad);
    };
    EXPECT_EQ(withField(4, 0, 4), nullptr);          // no width
    EXPECT_EQ(withField(4, 300, 4), nullptr);        // wider than an icon
    EXPECT_EQ(withField(8, 7, 4), nullptr);          // odd doubled height
    EXPECT_EQ(withField(12, 2, 2), nullptr);         // two planes
    EXPECT_EQ(withField(14, 2, 2), nullptr);         // 2 bits per pixel
    EXPECT_EQ(withField(16, 1, 4), nullptr);         // run-length compressed
    EXPECT_EQ(withField(32, 100000, 4), nullptr);    // colour table beyond reason
    EXPECT_EQ(withField(0, 0x7FFFFFFF, 4), nullptr); // header larger than the bytes
    std::string bytes = good;
    EXPECT_EQ(CreateIconFromResourceEx(reinterpret_cast<PBYTE>(bytes.data()), DWORD(bytes.size()),
                                       TRUE, 0x10000, 0, 0, 0),
              nullptr); // unknown format version
    std::string shortCursor = "\x01";
    EXPECT_EQ(IconOf(shortCursor, FALSE), nullptr);
}

TEST(IconObjects, RandomBytesNeverCrashTheReader) {
    std::mt19937 rng(7);
    const std::string good = DibImage(Sampler(), 4);
    int made = 0;
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = good;
        for (int flips = 0; flips < 3; ++flips)
            bytes[rng() % bytes.size()] = char(rng());
        if (HICON icon = IconOf(bytes)) {
            ++made;
            DestroyIcon(icon);
        }
    }
    EXPECT_GT(made, 0); // most flips land in pixels and still decode
}

// Pictures in memory by kind (GIF, PNG, BMP, JPEG through the codec
// libraries or the library's own readers), and the same from files.

#include "BitmapKit.h"

#include "knclientUI05/CodecBindings.h"
#include "knclientUI05/KnClientPublic.h"
#include "platform/images/JpegFile.h"
#include "platform/images/PngFile.h"
#include "tests/support/GifFixtures.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace ui_test;

namespace {

const BYTE* Data(const std::string& s) {
    return reinterpret_cast<const BYTE*>(s.data());
}

HBITMAP Decode(const std::string& s) {
    return CreateBitmapFromImageData(Data(s), int(s.size()));
}

uint32_t Gradient(int x, int y) {
    return uint32_t(x * 30) << 16 | uint32_t(y * 40) << 8 | 0x50;
}

std::string PngOf(int width, int height, uint32_t (*pixel)(int, int)) {
    platform::PixelImage image;
    image.Reset(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.At(x, y) = 0xFF000000u | pixel(x, y);
    std::string png;
    EXPECT_TRUE(platform::EncodePng(image, png));
    return png;
}

std::string BmpOf(HBITMAP source) {
    HGLOBAL dib = CreateDibFromBitmap(source, BI_RGB, nullptr);
    TempFolder folder;
    EXPECT_EQ(SaveDibToFile(folder.File("p.bmp").c_str(), dib), 1);
    FreeDib(dib);
    return folder.Read("p.bmp");
}

TEST(ImageData, TooShortOrNothingGivesNull) {
    const std::string png = PngOf(2, 2, Gradient);
    EXPECT_EQ(CreateBitmapFromImageData(Data(png), 5), nullptr);
    EXPECT_EQ(CreateBitmapFromImageData(nullptr, 100), nullptr);
}

TEST(ImageData, PngKeepsItsPixels) {
    std::string png = PngOf(5, 4, Gradient);
    HBITMAP bitmap = Decode(png);
    ASSERT_NE(bitmap, nullptr);
    int width = 0, height = 0;
    ASSERT_TRUE(GetBitmapExtent(bitmap, &width, &height));
    EXPECT_EQ(width, 5);
    EXPECT_EQ(height, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(PixelOf(bitmap, x, y) & 0xFFFFFF, Gradient(x, y)) << x << "," << y;
    DeleteObject(bitmap);
    // A damaged second byte makes it no PNG; as JPEG it does not decode.
    png[1] = 'Q';
    EXPECT_EQ(Decode(png), nullptr);
}

TEST(ImageData, GifGoesThroughTheCodecLibraryInItsPalettesColours) {
    const std::string gif = gif_fixture::Builder(4, 2, {RGB(200, 10, 20), RGB(5, 100, 250)})
                                .Add(gif_fixture::Picture(4, 2, {0, 1, 1, 0, 1, 1, 0, 0}))
                                .Finish();
    HBITMAP bitmap = Decode(gif);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelOf(bitmap, 0, 0) & 0xFFFFFF, 0xC80A14u);
    EXPECT_EQ(PixelOf(bitmap, 1, 0) & 0xFFFFFF, 0x0564FAu);
    EXPECT_EQ(PixelOf(bitmap, 0, 1) & 0xFFFFFF, 0x0564FAu);
    EXPECT_EQ(PixelOf(bitmap, 3, 1) & 0xFFFFFF, 0xC80A14u);
    DeleteObject(bitmap);
    // Cut inside the picture: no frame, no bitmap.
    EXPECT_EQ(Decode(gif.substr(0, 20)), nullptr);
}

TEST(ImageData, JpegIsWhatIsLeftAndDecodesClose) {
    platform::PixelImage image;
    image.Reset(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            image.At(x, y) = 0xFF000000u | 0x2080C0u;
    std::string jpeg;
    ASSERT_TRUE(platform::EncodeJpeg(image.View(), 95, jpeg));
    HBITMAP bitmap = Decode(jpeg);
    ASSERT_NE(bitmap, nullptr);
    const uint32_t p = PixelOf(bitmap, 7, 9);
    EXPECT_NEAR(int(p >> 16 & 0xFF), 0x20, 4);
    EXPECT_NEAR(int(p >> 8 & 0xFF), 0x80, 4);
    EXPECT_NEAR(int(p & 0xFF), 0xC0, 4);
    DeleteObject(bitmap);
    EXPECT_EQ(Decode("not a picture at all"), nullptr);
}

TEST(ImageData, BmpMustStateItsOwnSize) {
    HBITMAP source = MakeBitmap(3, 2, [](int x, int y) { return uint32_t(x * 80 + y); });
    std::string bmp = BmpOf(source);
    HBITMAP bitmap = Decode(bmp);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelOf(bitmap, 2, 1), PixelOf(source, 2, 1));
    DeleteObject(bitmap);
    EXPECT_EQ(Decode(bmp + "extra"), nullptr);
    EXPECT_EQ(Decode(bmp.substr(0, bmp.size() - 1)), nullptr);
    DeleteObject(source);
}

TEST(ImageData, FilesDecodeByTheirBytesAndTheGifOrBmpLoaderRefusesOthers) {
    TempFolder folder;
    folder.Write("shot.png", PngOf(3, 3, Gradient));
    const std::string path = folder.File("shot.png");
    HBITMAP bitmap = LoadImageFileOrResource(nullptr, path.c_str(), nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelOf(bitmap, 2, 2) & 0xFFFFFF, Gradient(2, 2));
    DeleteObject(bitmap);
    EXPECT_EQ(LoadGifOrBmpFileOrResource(nullptr, path.c_str(), nullptr, 0), nullptr);
    const std::string missing = folder.File("missing.png");
    EXPECT_EQ(LoadImageFileOrResource(nullptr, missing.c_str(), nullptr, 0), nullptr);
    EXPECT_EQ(LoadImageFileOrResource(nullptr, nullptr, nullptr, 0), nullptr);

    HBITMAP source = MakeBitmap(2, 2, [](int x, int y) { return uint32_t(0x102030 * (x + y)); });
    folder.Write("p.bmp", BmpOf(source));
    const std::string bmpPath = folder.File("p.bmp");
    bitmap = LoadGifOrBmpFileOrResource(nullptr, bmpPath.c_str(), nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelOf(bitmap, 1, 1), PixelOf(source, 1, 1));
    DeleteObject(bitmap);
    DeleteObject(source);
}

} // namespace

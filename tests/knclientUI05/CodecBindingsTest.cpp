// The codec bindings over the stand-in libraries: JPEG written at two
// qualities and read back, PNG with alpha, the GIF library class, and GIF or
// BMP bytes through the library's own GIF decoder.

#include "BitmapKit.h"

#include "knclientUI05/CodecBindings.h"
#include "knclientUI05/KnClientPublic.h"
#include "kngif/gif89.h"
#include "outside/KNGifTga.h"
#include "platform/images/JpegFile.h"
#include "platform/images/PngFile.h"
#include "tests/support/GifFixtures.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace ui_test;

namespace {

// A picture with smooth areas and a sharp edge, as screenshots have.
uint32_t Scene(int x, int y) {
    if (x > 40 && y > 20)
        return 0xF0F0F0;
    return uint32_t(x * 4) << 16 | uint32_t(y * 4) << 8 | uint32_t(128);
}

// The mean difference of the channels, in hundredths.
int MeanChannelError(HBITMAP a, HBITMAP b, int width, int height) {
    long total = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t p = PixelOf(a, x, y), q = PixelOf(b, x, y);
            for (int shift : {0, 8, 16})
                total += std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF));
        }
    return int(total * 100 / (width * height * 3));
}

std::string GifOfTwoColours(const char* signature) {
    std::string file = gif_fixture::Builder(4, 2, {RGB(200, 10, 20), RGB(5, 100, 250)})
                           .Add(gif_fixture::Picture(4, 2, {0, 1, 1, 0, 1, 1, 0, 0}))
                           .Finish();
    file.replace(0, 6, signature);
    return file;
}

const BYTE* Data(const std::string& s) {
    return reinterpret_cast<const BYTE*>(s.data());
}

} // namespace

TEST(JpegBinding, DibWrittenAtTwoQualitiesReadsBackClose) {
    TempFolder folder;
    HBITMAP source = MakeBitmap(64, 48, Scene);
    HGLOBAL dib = CreateDibFromBitmap(source, BI_RGB, nullptr);
    ASSERT_NE(dib, nullptr);
    std::string best = folder.File("best.jpg"), small = folder.File("small.jpg");
    ASSERT_EQ(CallWriteDibToJpeg(dib, best.c_str(), 100), 1);
    ASSERT_EQ(CallWriteDibToJpeg(dib, small.c_str(), 20), 1);
    EXPECT_LT(folder.Read("small.jpg").size(), folder.Read("best.jpg").size());
    int errors[2];
    for (int i = 0; i < 2; ++i) {
        HBITMAP back = nullptr;
        HPALETTE palette = reinterpret_cast<HPALETTE>(1);
        int width = 0, height = 0;
        ASSERT_EQ(CallLoadJpgFile((i ? small : best).c_str(), &back, &palette, &width, &height), 1);
        EXPECT_EQ(palette, nullptr);
        ASSERT_EQ(width, 64);
        ASSERT_EQ(height, 48);
        errors[i] = MeanChannelError(source, back, 64, 48);
        DeleteObject(back);
    }
    EXPECT_LE(errors[0], 150); // 1.5 levels on average
    EXPECT_GT(errors[1], errors[0]);
    EXPECT_LE(errors[1], 600);
    FreeDib(dib);
    DeleteObject(source);
}

TEST(JpegBinding, MemoryFormsAndImageData) {
    // Red above blue in blocks of 8, so that colours keep clear of the edge.
    HBITMAP source = MakeBitmap(5, 16, [](int, int y) { return y < 8 ? 0xFF0000 : 0x0000FF; });
    HGLOBAL dib = CreateDibFromBitmap(source, BI_RGB, nullptr);
    HGLOBAL jpeg = nullptr;
    const DWORD size = CallWriteDibToJpegMEM(dib, &jpeg, 100);
    ASSERT_GT(size, 100u);
    const BYTE* bytes = static_cast<const BYTE*>(CallGetPointerFromHandleLock(jpeg));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    HGLOBAL data = nullptr;
    int width = 0, height = 0, bits = 0, stride = 0;
    DWORD dataSize = 0;
    ASSERT_EQ(CallLoadJpgImageDataFromMem(bytes, size, &data, &width, &height, &bits, &stride,
                                          &dataSize, FALSE),
              1);
    EXPECT_EQ(bits, 24);
    EXPECT_EQ(stride, 16); // 15 bytes padded to 16
    EXPECT_EQ(dataSize, 16u * 16u);
    const BYTE* rows = static_cast<const BYTE*>(CallGetPointerFromHandleLock(data));
    // Bottom-up: the last row of the data is the picture's top row. Blue
    // is the first byte of a pixel.
    EXPECT_GT(rows[15 * 16 + 2], 200); // top-left red
    EXPECT_LT(rows[15 * 16 + 0], 60);
    EXPECT_GT(rows[0 * 16 + 4 * 3], 200); // bottom-right blue
    EXPECT_LT(rows[0 * 16 + 4 * 3 + 2], 60);
    CallUnLockDataHandle(data);
    EXPECT_EQ(CallFreeDataHandle(data), 1);
    HBITMAP back = nullptr;
    EXPECT_EQ(CallLoadJpgFromMem(bytes, size, &back, nullptr, &width, &height), 1);
    DeleteObject(back);
    EXPECT_EQ(CallLoadJpgFromMem(bytes, 40, &back, nullptr, &width, &height), 0); // cut short
    CallUnLockDataHandle(jpeg);
    CallFreeDataHandle(jpeg);
    FreeDib(dib);
    DeleteObject(source);
}

TEST(JpegBinding, PartOfABitmapAndRefusals) {
    TempFolder folder;
    HBITMAP source = MakeBitmap(30, 20, [](int x, int) { return x < 10 ? 0x00FF00 : 0x000000; });
    std::string part = folder.File("part.jpg");
    ASSERT_EQ(CallWriteBitmapToJpeg(source, 0, 5, 10, 10, nullptr, part.c_str(), 90), 1);
    HBITMAP back = nullptr;
    int width = 0, height = 0;
    ASSERT_EQ(CallLoadJpgFile(part.c_str(), &back, nullptr, &width, &height), 1);
    EXPECT_EQ(width, 10);
    EXPECT_GT((PixelOf(back, 5, 5) >> 8) & 0xFF, 200u);
    DeleteObject(back);
    EXPECT_EQ(CallWriteBitmapToJpeg(source, 25, 0, 10, 10, nullptr, part.c_str(), 90), 0);
    EXPECT_EQ(CallWriteDibToJpeg(nullptr, part.c_str(), 100), 0);
    const BYTE junk[] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(CallLoadJpgFromMem(junk, sizeof junk, &back, nullptr, &width, &height), 0);
    DeleteObject(source);
}

TEST(PngBinding, AlphaIsReadWithThePicture) {
    // Written by libpng directly, read through the binding.
    platform::PixelImage image;
    image.Reset(3, 2);
    image.hasAlpha = true;
    image.At(0, 0) = 0x80FF0000;
    image.At(2, 1) = 0x00123456;
    image.At(1, 0) = 0xFF00FF00;
    std::string png;
    ASSERT_TRUE(platform::EncodePng(image, png));
    HBITMAP bitmap = nullptr;
    int width = 0, height = 0;
    ASSERT_EQ(CallLoadPNGFromMem(Data(png), DWORD(png.size()), &bitmap, nullptr, &width, &height),
              1);
    EXPECT_EQ(width, 3);
    auto* surface = platform::SurfaceOfBitmap(bitmap);
    EXPECT_EQ(surface->GetPixel(0, 0), 0x80FF0000u);
    EXPECT_EQ(surface->GetPixel(1, 0), 0xFF00FF00u);
    EXPECT_EQ(surface->GetPixel(2, 1) >> 24, 0u);
    DeleteObject(bitmap);
    EXPECT_EQ(
        CallLoadPNGFromMem(Data(png), DWORD(png.size() / 2), &bitmap, nullptr, &width, &height), 0);
}

TEST(PngBinding, ImageDataAndBitmapsWritten) {
    const BYTE pixels[2 * 8] = {1, 2, 3, 40, 4, 5, 6, 50, 7, 8, 9, 60, 10, 11, 12, 70};
    HGLOBAL png = nullptr;
    const DWORD size = CallWriteImageDataToPNGMem(pixels, 2, 2, 8, 32, TRUE, &png);
    ASSERT_GT(size, 0u);
    platform::PixelImage back;
    ASSERT_TRUE(platform::DecodePng(GlobalLock(png), size, back));
    EXPECT_TRUE(back.hasAlpha);
    EXPECT_EQ(back.At(1, 1), platform::MakePixel(12, 11, 10, 70));
    GlobalUnlock(png);
    GlobalFree(png);
    EXPECT_EQ(CallWriteImageDataToPNGMem(pixels, 2, 2, 4, 32, TRUE, &png), 0u); // stride too small

    TempFolder folder;
    HBITMAP source =
        MakeBitmap(4, 4, [](int x, int y) { return uint32_t(x * 60) << 8 | uint32_t(y); });
    std::string file = folder.File("bitmap.png");
    ASSERT_EQ(CallWriteBmpToPNGFile(source, file.c_str()), 1);
    HBITMAP read = nullptr;
    int width, height;
    ASSERT_EQ(CallLoadPNGFile(file.c_str(), &read, nullptr, &width, &height), 1);
    EXPECT_EQ(PixelOf(read, 3, 2), PixelOf(source, 3, 2));                  // lossless
    EXPECT_EQ(platform::SurfaceOfBitmap(read)->GetPixel(0, 0) >> 24, 255u); // opaque
    HGLOBAL memory = nullptr;
    EXPECT_GT(CallWriteBmpToPNGMem(source, &memory), 0u);
    GlobalFree(memory);
    DeleteObject(read);
    DeleteObject(source);
}

TEST(GifTgaBinding, FramesThroughTheLibrary) {
    std::string file = GifOfTwoColours("GIF89a");
    CKNGifTga gif;
    ASSERT_EQ(gif.LoadFromMemory(Data(file), DWORD(file.size()), TRUE), 0);
    int width = 0, height = 0, background = -1;
    EXPECT_EQ(gif.GetImageSize(&width, &height, &background), 1);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(gif.GetGlobalColorIndexTotal(&background), 2);
    BYTE palette[6];
    EXPECT_EQ(gif.GetGlobalColorIndexData(palette, 5), 0);
    ASSERT_EQ(gif.GetGlobalColorIndexData(palette, 6), 1);
    EXPECT_EQ(palette[5], 250);
    int left, top, disposal, delay;
    HBITMAP bitmap = nullptr;
    HPALETTE hpal = nullptr;
    BOOL transparent;
    COLORREF key;
    ASSERT_NE(gif.GetNextImage(&left, &top, &width, &height, &bitmap, &transparent, &key, &hpal,
                               &disposal, &delay),
              0);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 2);
    EXPECT_NE(hpal, nullptr);
    EXPECT_EQ(PixelOf(bitmap, 1, 0), 0x0564FAu);
    EXPECT_EQ(delay, 100);
    HBITMAP current = gif.CreateCurrentBmp();
    EXPECT_EQ(PixelOf(current, 0, 0), 0xC80A14u);
    DeleteObject(current);
    DeleteObject(bitmap);
    DeleteObject(hpal);
    EXPECT_EQ(gif.GetNextRawFrameData(), nullptr); // the end
    gif.Reset();
    const GifTgaRawFrame* raw = gif.GetNextRawFrameData();
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(raw->pixels[1], 1);
    EXPECT_EQ(raw->delay, 10);
    EXPECT_EQ(gif.LoadFromMemory(Data(file), 5, TRUE), 3);
    EXPECT_EQ(gif.GetImageSize(&width, &height, &background), 0);
}

TEST(GifOrBmpData, GifGoesThroughTheLibrarysDecoder) {
    for (const char* signature : {"GIF87a", "GIF89a"}) {
        std::string file = GifOfTwoColours(signature);
        HBITMAP bitmap = CreateBitmapFromGifOrBmpData(Data(file), int(file.size()));
        ASSERT_NE(bitmap, nullptr) << signature;
        // The same frame as the decoder gives, in its palette's colours.
        CKNGif89 gif;
        ASSERT_EQ(gif.LoadFromMemory(Data(file), DWORD(file.size()), TRUE), 0);
        GifFrameRecord* record = gif.GetNextFrameRecord();
        ASSERT_NE(record, nullptr);
        const uint32_t colours[2] = {0xC80A14, 0x0564FA};
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(PixelOf(bitmap, x, y), colours[record->pixels[y * record->stride + x]]);
        GifFreeFrameRecord(record);
        BITMAP info{};
        GetObject(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmBitsPixel, 32); // realised into a bitmap like the screen
        DeleteObject(bitmap);
    }
}

TEST(GifOrBmpData, OtherBytesAndBmps) {
    const std::string gif88 = GifOfTwoColours("GIF88a");
    EXPECT_EQ(CreateBitmapFromGifOrBmpData(Data(gif88), int(gif88.size())), nullptr);
    EXPECT_EQ(CreateBitmapFromGifOrBmpData(Data(gif88), 5), nullptr);
    EXPECT_EQ(CreateBitmapFromGifOrBmpData(nullptr, 100), nullptr);
    const std::string png = "\x89PNG\r\n\x1a\n-------";
    EXPECT_EQ(CreateBitmapFromGifOrBmpData(Data(png), int(png.size())), nullptr);
    const std::string broken = GifOfTwoColours("GIF89a").substr(0, 10);
    EXPECT_EQ(CreateBitmapFromGifOrBmpData(Data(broken), int(broken.size())), nullptr);
    HBITMAP source = MakeBitmap(3, 2, [](int x, int y) { return uint32_t(x * 80 + y); });
    HGLOBAL dib = CreateDibFromBitmap(source, BI_RGB, nullptr);
    TempFolder folder;
    ASSERT_EQ(SaveDibToFile(folder.File("p.bmp").c_str(), dib), 1);
    const std::string bmp = folder.Read("p.bmp");
    HBITMAP bitmap = CreateBitmapFromGifOrBmpData(Data(bmp), int(bmp.size()));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelOf(bitmap, 2, 1), PixelOf(source, 2, 1));
    DeleteObject(bitmap);
    FreeDib(dib);
    DeleteObject(source);
}

#include "tests/support/CommandOutput.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TextCanvas.h"

#include "platform/images/BmpFile.h"
#include "platform/images/JpegFile.h"
#include "platform/images/Picture.h"
#include "platform/images/PngFile.h"

#include <cstdlib>

#include <gif_lib.h>
#include <zlib.h>

#include <gtest/gtest.h>

using namespace platform;

namespace {

PixelImage Gradient(int width, int height, bool alpha) {
    PixelImage image;
    image.Reset(width, height);
    image.hasAlpha = alpha;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.At(x, y) = MakePixel(x * 255 / width, y * 255 / height, 128,
                                       alpha ? (x + y) * 255 / (width + height) : 0);
    return image;
}

int WriteToString(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)
        ->append(reinterpret_cast<const char*>(data), size_t(length));
    return length;
}

// A GIF written with giflib: an 8x7 screen of four colours, one frame of
// 6x5 at (1, 1) whose pixel (x, y) has index (x + y) % 4.
std::string MakeGif(int transparentIndex, bool interlaced) {
    std::string out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToString, &error);
    EGifSetGifVersion(gif, true);
    GifColorType colors[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colors);
    EGifPutScreenDesc(gif, 8, 7, 2, 3, map);
    if (transparentIndex >= 0) {
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, transparentIndex};
        GifByteType block[4];
        size_t length = EGifGCBToExtension(&control, block);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), block);
    }
    EGifPutImageDesc(gif, 1, 1, 6, 5, interlaced, nullptr);
    std::vector<int> rows;
    if (interlaced) {
        const int starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = starts[pass]; y < 5; y += steps[pass])
                rows.push_back(y);
    } else {
        rows = {0, 1, 2, 3, 4};
    }
    for (int y : rows) {
        GifPixelType line[6];
        for (int x = 0; x < 6; ++x)
            line[x] = GifPixelType((x + y) % 4);
        EGifPutLine(gif, line, 6);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

std::string Be32(uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

// A 16-bit grey PNG as other programs write it, with no chunk that states its
// gamma: one row of the samples.
std::string SixteenBitGreyPng(const std::vector<uint16_t>& samples) {
    std::string raw(1, '\0'); // no filter
    for (uint16_t v : samples)
        raw += {char(v >> 8), char(v)};
    std::string packed(compressBound(uLong(raw.size())), '\0');
    uLongf length = uLongf(packed.size());
    compress(reinterpret_cast<Bytef*>(packed.data()), &length,
             reinterpret_cast<const Bytef*>(raw.data()), uLong(raw.size()));
    const std::string header =
        Be32(uint32_t(samples.size())) + Be32(1) + "\x10" + std::string(4, 0);
    std::string png = "\x89PNG\r\n\x1A\n";
    for (const auto& [type, body] : std::vector<std::pair<std::string, std::string>>{
             {"IHDR", header}, {"IDAT", packed.substr(0, length)}, {"IEND", ""}}) {
        const std::string typed = type + body;
        png += Be32(uint32_t(body.size())) + typed +
               Be32(uint32_t(
                   crc32(0, reinterpret_cast<const Bytef*>(typed.data()), uInt(typed.size()))));
    }
    return png;
}

void ExpectTruncationsRefused(const std::string& file, size_t keepAtEnd, const char* what) {
    for (size_t cut = 0; cut + keepAtEnd < file.size(); ++cut) {
        PixelImage image;
        ASSERT_FALSE(DecodePicture(file.data(), cut, image)) << what << " cut at " << cut;
    }
}

} // namespace

TEST(Picture, PngRoundTripsWithAndWithoutAlpha) {
    for (bool alpha : {false, true}) {
        PixelImage image = Gradient(19, 7, alpha);
        std::string file;
        ASSERT_TRUE(EncodePng(image, file));
        EXPECT_EQ(SniffPicture(file.data(), file.size()), PictureFormat::Png);
        PixelImage back;
        ASSERT_TRUE(DecodePicture(file.data(), file.size(), back));
        EXPECT_EQ(back.hasAlpha, alpha);
        EXPECT_EQ(back.pixels, image.pixels);
    }
}

// 16-bit samples of a file that states no gamma are sRGB, as ImageMagick
// reads them: each comes down to the nearest of the 256 levels.
TEST(Picture, SixteenBitPngWithoutGammaReadsAsImageMagickReadsIt) {
    std::vector<uint16_t> samples;
    for (uint32_t i = 0; i < 512; ++i)
        samples.push_back(uint16_t(i * 40503u)); // spread over the whole range
    const std::string file = SixteenBitGreyPng(samples);
    PixelImage image;
    ASSERT_TRUE(DecodePicture(file.data(), file.size(), image));
    ASSERT_EQ(image.width, 512);
    TempFolder folder;
    folder.Write("deep.png", file);
    const bool magick = std::system("convert -version 2>/dev/null | grep -q ImageMagick") == 0;
    const std::string grey =
        magick ? CommandOutput("convert " + folder.File("deep.png") + " -depth 8 gray:-") : "";
    ASSERT_EQ(grey.size(), magick ? samples.size() : 0u);
    int worst = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        const int want = magick ? uint8_t(grey[i]) : int((samples[i] * 255u + 32767u) / 65535u);
        for (int shift : {0, 8, 16})
            worst = std::max(worst, std::abs(int(image.pixels[i] >> shift & 0xFF) - want));
    }
    EXPECT_LE(worst, magick ? 1 : 0); // ImageMagick takes the level below, not the nearest
    printf("16-bit grey PNG: %d levels at most from %s\n", worst,
           magick ? "ImageMagick" : "the nearest level (ImageMagick is not installed)");
}

TEST(Picture, JpegKeepsSizeAndColoursAndHonoursQuality) {
    PixelImage image = Gradient(32, 16, false);
    std::string best, worst;
    ASSERT_TRUE(EncodeJpeg(image.View(), 95, best));
    ASSERT_TRUE(EncodeJpeg(image.View(), 5, worst));
    EXPECT_LT(worst.size(), best.size());
    PixelImage back;
    ASSERT_TRUE(DecodePicture(best.data(), best.size(), back));
    ASSERT_EQ(back.width, 32);
    ASSERT_EQ(back.height, 16);
    long error = 0;
    for (size_t i = 0; i < back.pixels.size(); ++i)
        for (int shift : {0, 8, 16})
            error += std::abs(int(back.pixels[i] >> shift & 0xFF) -
                              int(image.pixels[i] >> shift & 0xFF));
    EXPECT_LT(error / long(back.pixels.size() * 3), 4);
}

TEST(Picture, GifFirstFrameWithTransparencyAndInterlace) {
    for (bool interlaced : {false, true}) {
        std::string file = MakeGif(0, interlaced);
        PixelImage image;
        std::string why;
        ASSERT_TRUE(DecodePicture(file.data(), file.size(), image, &why)) << why;
        ASSERT_EQ(image.width, 8);
        ASSERT_EQ(image.height, 7);
        EXPECT_TRUE(image.hasAlpha);
        const uint32_t opaque[4] = {0, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 8; ++x) {
                bool inFrame = x >= 1 && x < 7 && y >= 1 && y < 6;
                uint32_t expected = inFrame ? opaque[(x - 1 + y - 1) % 4] : 0;
                ASSERT_EQ(image.At(x, y), expected) << x << "," << y << " " << interlaced;
            }
        }
    }
}

TEST(Picture, OpaqueGifShowsTheBackgroundAroundItsFrame) {
    std::string file = MakeGif(-1, false);
    PixelImage image;
    ASSERT_TRUE(DecodePicture(file.data(), file.size(), image));
    EXPECT_FALSE(image.hasAlpha);
    EXPECT_EQ(image.At(0, 0), 0xFFFFFFu); // background index 3
    EXPECT_EQ(image.At(1, 1), 0xFF0000u);
}

TEST(Picture, TruncatedFilesAreRefused) {
    PixelImage image = Gradient(12, 9, true);
    std::string png, jpeg;
    ASSERT_TRUE(EncodePng(image, png));
    ASSERT_TRUE(EncodeJpeg(image.View(), 80, jpeg));
    ExpectTruncationsRefused(png, 12, "PNG");             // all but the closing chunk
    ExpectTruncationsRefused(jpeg, 2, "JPEG");            // all but the closing marker
    ExpectTruncationsRefused(MakeGif(0, true), 2, "GIF"); // all but the closing bytes
    PixelImage none;
    EXPECT_FALSE(DecodePicture("", 0, none));
    EXPECT_FALSE(DecodePicture("hello world", 11, none));
}

TEST(Picture, HugeDimensionsAreRefusedBeforeAllocating) {
    std::string png;
    ASSERT_TRUE(EncodePng(Gradient(2, 2, false), png));
    // Width 1,000,000 in the header, with its checksum mended so libpng reads on.
    const size_t ihdr = 12;
    png[ihdr + 4] = 0x00;
    png[ihdr + 5] = 0x0F;
    png[ihdr + 6] = 0x42;
    png[ihdr + 7] = 0x40;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + ihdr), 17);
    for (int i = 0; i < 4; ++i)
        png[ihdr + 17 + size_t(i)] = char(crc >> (24 - 8 * i));
    PixelImage image;
    std::string why;
    EXPECT_FALSE(DecodePicture(png.data(), png.size(), image, &why));
    EXPECT_FALSE(why.empty());

    std::string gif = MakeGif(0, false);
    gif[6] = gif[7] = gif[8] = gif[9] = char(0xFF); // a 65535 x 65535 screen
    EXPECT_FALSE(DecodePicture(gif.data(), gif.size(), image));
}

TEST(Picture, RendersScaledIntoADcAndBlendsTransparency) {
    std::string file = MakeGif(0, false);
    IPicture* picture = nullptr;
    ASSERT_EQ(CreatePictureFromMemory(file.data(), file.size(), &picture), S_OK);
    LONG width = 0, height = 0;
    picture->get_Width(&width);
    picture->get_Height(&height);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 7);

    TextCanvas upright(40, 40), flipped(40, 40);
    ASSERT_EQ(picture->Render(upright.dc(), 0, 0, 16, 14, 0, 0, 8, 7, nullptr), S_OK);
    ASSERT_EQ(picture->Render(flipped.dc(), 0, 0, 16, 14, 0, 7, 8, -7, nullptr), S_OK);
    EXPECT_EQ(GetPixel(upright.dc(), 0, 0), RGB(255, 255, 255)); // transparent: canvas shows
    EXPECT_EQ(GetPixel(upright.dc(), 2, 2), RGB(255, 255, 255)); // index 0 is transparent
    EXPECT_EQ(GetPixel(upright.dc(), 4, 2), RGB(0, 255, 0));     // frame (1, 0) doubled
    EXPECT_EQ(GetPixel(upright.dc(), 5, 3), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(upright.dc(), 6, 2), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(upright.dc(), 20, 20), RGB(255, 255, 255)); // outside the target
    EXPECT_EQ(upright.Pixels(), flipped.Pixels());
    EXPECT_EQ(picture->Release(), 0u);

    IPicture* none = reinterpret_cast<IPicture*>(1);
    EXPECT_EQ(CreatePictureFromMemory("GIF89a", 6, &none), E_FAIL);
    EXPECT_EQ(none, nullptr);
}

TEST(Picture, LoadImageReadsBmpFilesOnly) {
    TempFolder folder;
    PixelImage image = Gradient(6, 4, false);
    ASSERT_TRUE(SaveBmpFile(folder.File("a.bmp"), image, BmpFormat::Rgb24));
    std::string png;
    ASSERT_TRUE(EncodePng(image, png));
    folder.Write("b.bmp", png);

    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImage(nullptr, folder.File("a.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    GetObject(bitmap, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 6);
    EXPECT_EQ(bm.bmHeight, 4);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 3, 2), ColorFromPixel(image.At(3, 2)));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);

    HBITMAP stretched = static_cast<HBITMAP>(
        LoadImage(nullptr, folder.File("a.bmp").c_str(), IMAGE_BITMAP, 12, 2, LR_LOADFROMFILE));
    ASSERT_NE(stretched, nullptr);
    GetObject(stretched, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 12);
    EXPECT_EQ(bm.bmHeight, 2);
    DeleteObject(stretched);

    EXPECT_EQ(LoadImage(nullptr, folder.File("b.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE),
              nullptr); // a PNG under a .bmp name
    EXPECT_EQ(
        LoadImage(nullptr, folder.File("none.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE),
        nullptr);
    EXPECT_EQ(LoadImage(nullptr, "a.bmp", IMAGE_BITMAP, 0, 0, 0), nullptr); // resources: not here
}

TEST(Picture, SurfacesSaveAsPngAndJpeg) {
    TempFolder folder;
    GdiCanvas canvas(10, 6);
    std::mt19937 rng(7);
    canvas.FillRandom(rng, 0x00FFFFFF);
    ASSERT_TRUE(SavePngFile(folder.File("shot.png"), canvas.surface()));
    ASSERT_TRUE(SaveJpegFile(folder.File("shot.jpg"), canvas.surface(), 90));
    PixelImage png, jpeg;
    ASSERT_TRUE(LoadPictureFile(folder.File("shot.png"), png));
    ASSERT_TRUE(LoadPictureFile(folder.File("shot.jpg"), jpeg));
    EXPECT_EQ(png.pixels, canvas.Pixels());
    EXPECT_EQ(jpeg.width, 10);
    EXPECT_EQ(jpeg.height, 6);
    EXPECT_FALSE(SavePngFile(folder.File("missing/shot.png"), canvas.surface()));
}

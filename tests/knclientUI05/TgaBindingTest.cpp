// The GIF library's TGA half through the codec binding, read against
// ImageMagick's reading of the same files: every kind ImageMagick writes
// (true-colour, colour-mapped and grey, plain and run-length, with alpha),
// and kinds it only reads (16 bits with an alpha bit, top-down rows, an
// image id, a colour map that starts at an index, run-length packets that
// run on into the next row, rows from the right).

#include "BitmapKit.h"

#include "knclientUI05/CodecBindings.h"
#include "tests/support/CommandOutput.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace ui_test;

namespace {

// ImageMagick's reading: red, green, blue, alpha a pixel, rows top-down.
std::string ReferenceRgba(const std::string& path) {
    return CommandOutput("convert '" + path + "' -auto-orient -depth 8 rgba:- 2>/dev/null");
}

struct Reading {
    int width = 0, height = 0, depth = 0, entries = 0;
    bool alpha = false;
    std::string rgba;
};

// The binding's reading, in ImageMagick's layout.
Reading ReadThroughBinding(const std::string& path) {
    Reading r;
    void* tga = CallLoadTGAFile(path.c_str());
    if (!tga)
        return r;
    r.width = CallGetTgaWidth(tga);
    r.height = CallGetTgaHeight(tga);
    r.depth = CallGetTgaPixelDepth(tga);
    r.entries = CallGetTgaPalNum(tga);
    r.alpha = CallGetTgaGetImageAlphaData(tga) != nullptr;
    const BYTE* pixels = CallGetTgaGetImageData(tga);
    for (int i = 0; pixels && i < r.width * r.height; ++i) {
        const BYTE* p = pixels + 4 * i;
        r.rgba += {char(p[2]), char(p[1]), char(p[0]), char(p[3])};
    }
    CallCloseTGAHandle(tga);
    return r;
}

// A TGA file: the 18-byte header, then what follows it.
std::string Tga(int type, int depth, int descriptor, int width, int height, const std::string& rest,
                int idLength = 0, int mapFirst = 0, int mapLength = 0, int mapBits = 0) {
    Bytes b;
    b.U8(uint32_t(idLength)).U8(mapLength ? 1 : 0).U8(uint32_t(type));
    b.U16(uint32_t(mapFirst)).U16(uint32_t(mapLength)).U8(uint32_t(mapBits));
    b.U16(0).U16(0).U16(uint32_t(width)).U16(uint32_t(height));
    b.U8(uint32_t(depth)).U8(uint32_t(descriptor));
    return b.data + rest;
}

std::string Bgr(uint32_t rgb) {
    return {char(rgb & 0xFF), char(rgb >> 8 & 0xFF), char(rgb >> 16 & 0xFF)};
}

// 16 bits: alpha bit, then 5 bits each of red, green and blue.
std::string Pixel16(int alpha, int r, int g, int b) {
    const uint32_t v = uint32_t(alpha << 15 | r << 10 | g << 5 | b);
    return {char(v & 0xFF), char(v >> 8)};
}

TEST(TgaBindingTest, PicturesReadAsImageMagickReadsThemAndBrokenOnesAreRefused) {
    ASSERT_EQ(std::system("convert -version > /dev/null 2>&1"), 0)
        << "ImageMagick's convert is the reference reader";
    TempFolder folder;
    const std::string base = folder.File("base.png");
    ASSERT_EQ(
        std::system(
            ("convert -size 7x5 gradient:red-blue -fill '#20C040' -draw 'point 3,2' '" + base + "'")
                .c_str()),
        0);
    struct Written {
        const char* name;
        const char* options;
        int depth;
        bool mapped;
        bool alpha;
    };
    const Written written[] = {
        {"true", "-compress None", 24, false, false},
        {"true_rle", "-compress RLE", 24, false, false},
        {"mapped", "-type Palette -compress None", 8, true, false},
        {"mapped_rle", "-type Palette -compress RLE", 8, true, false},
        {"grey", "-type Grayscale -compress None", 8, false, false},
        {"grey_rle", "-type Grayscale -compress RLE", 8, false, false},
        {"alpha", "-alpha set -channel A -evaluate set 50% +channel -compress None", 32, false,
         true},
        {"alpha_rle", "-alpha set -channel A -evaluate set 50% +channel -compress RLE", 32, false,
         true},
    };
    for (const Written& w : written) {
        const std::string path = folder.File(std::string(w.name) + ".tga");
        ASSERT_EQ(std::system(("convert '" + base + "' " + w.options + " '" + path + "'").c_str()),
                  0)
            << w.name;
        const Reading r = ReadThroughBinding(path);
        EXPECT_EQ(r.width, 7) << w.name;
        EXPECT_EQ(r.height, 5) << w.name;
        EXPECT_EQ(r.depth, w.depth) << w.name;
        EXPECT_EQ(r.entries > 0, w.mapped) << w.name;
        EXPECT_EQ(r.alpha, w.alpha) << w.name;
        EXPECT_EQ(r.rgba, ReferenceRgba(path)) << w.name;
    }

    // Kinds ImageMagick reads but does not write.
    const std::string sixteen =
        Tga(2, 16, 0x21, 3, 2,
            "id!" + Pixel16(1, 31, 0, 0) + Pixel16(0, 0, 31, 0) + Pixel16(1, 3, 7, 24) +
                Pixel16(1, 28, 1, 2) + Pixel16(1, 0, 0, 31) + Pixel16(0, 31, 31, 31),
            3);
    const std::string runs =
        Tga(10, 24, 0x10, 3, 2, "\x83" + Bgr(0x0A141E) + "\x01" + Bgr(0xC86432) + Bgr(0x010203));
    const std::string mapFrom =
        Tga(1, 8, 0x20, 2, 2,
            Bgr(0xFF0000) + Bgr(0x00FF00) + Bgr(0x0000FF) + std::string("\x05\x06\x07\x05", 4), 0,
            5, 3, 24);
    for (const auto& [name, bytes] : {std::pair<const char*, std::string>{"sixteen", sixteen},
                                      {"runs", runs},
                                      {"map_from", mapFrom}}) {
        const std::string path = folder.File(std::string(name) + ".tga");
        folder.Write(std::string(name) + ".tga", bytes);
        EXPECT_EQ(ReadThroughBinding(path).rgba, ReferenceRgba(path)) << name;
    }

    // The bitmap holds the picture's colours.
    void* tga = CallLoadTGAFile(folder.File("true.tga").c_str());
    ASSERT_NE(tga, nullptr);
    HBITMAP bitmap = CallCreateBitmapFromTGA(tga);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelOf(bitmap, 3, 2), 0x20C040u);
    DeleteObject(bitmap);
    CallCloseTGAHandle(tga);

    // A picture that ends early, or bytes that are none, open nothing.
    for (size_t cut : {size_t(10), size_t(18), runs.size() - 1})
        EXPECT_EQ(CallLoadTgaFromMem(reinterpret_cast<const BYTE*>(runs.data()), DWORD(cut)),
                  nullptr)
            << cut;
    EXPECT_EQ(CallLoadTgaFromMem(nullptr, 100), nullptr);
    EXPECT_EQ(CallLoadTGAFile(folder.File("missing.tga").c_str()), nullptr);
}

} // namespace

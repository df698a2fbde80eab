#include "platform/images/BmpFile.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace platform;

namespace {

// A picture of `colors` distinct colours (each made by `color(i)`), in a
// pattern that touches every row and column.
template <class MakeColor> PixelImage Pattern(int width, int height, int colors, MakeColor color) {
    PixelImage image;
    image.Reset(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.At(x, y) = color((x * 7 + y * 3) % colors);
    return image;
}

uint32_t AnyColor(int i) {
    return MakePixel(i * 37 % 256, i * 91 % 256, i * 13 % 256);
}

// Colours that survive 5 bits per channel (and 6 for green in 5-6-5): the low
// bits repeat the high ones, as 16-bit pixels are widened.
uint32_t Widen(int value, int bits) {
    int v = value << (8 - bits);
    return uint32_t(v | v >> bits);
}
uint32_t Color555(int i) {
    return MakePixel(Widen(i % 32, 5), Widen(i * 3 % 32, 5), Widen(i * 5 % 32, 5));
}
uint32_t Color565(int i) {
    return MakePixel(Widen(i % 32, 5), Widen(i * 3 % 64, 6), Widen(i * 5 % 32, 5));
}

void PutU32(std::string& file, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        file[at + size_t(i)] = char(v >> (8 * i));
}
uint32_t GetU32(const std::string& file, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | uint8_t(file[at + size_t(i)]);
    return v;
}

// A 40-byte-header file around hand-made pixel data.
std::string HandMade(int width, int height, int bits, uint32_t compression,
                     const std::vector<uint32_t>& palette, const std::string& pixels) {
    std::string file(14 + 40, '\0');
    file[0] = 'B';
    file[1] = 'M';
    PutU32(file, 10, uint32_t(14 + 40 + palette.size() * 4));
    PutU32(file, 14, 40);
    PutU32(file, 18, uint32_t(width));
    PutU32(file, 22, uint32_t(height));
    file[26] = 1;
    file[28] = char(bits);
    PutU32(file, 30, compression);
    PutU32(file, 46, uint32_t(palette.size()));
    for (uint32_t color : palette) {
        std::string entry(4, '\0');
        PutU32(entry, 0, color);
        file += entry;
    }
    file += pixels;
    PutU32(file, 2, uint32_t(file.size()));
    return file;
}

bool Decodes(const std::string& file, PixelImage& image, std::string* why = nullptr) {
    return DecodeBmp(file.data(), file.size(), image, why);
}

} // namespace

TEST(BmpFile, RoundTripsAtEveryDepth) {
    struct Case {
        BmpFormat format;
        PixelImage image;
    } cases[] = {
        {BmpFormat::Indexed1, Pattern(13, 5, 2, AnyColor)},
        {BmpFormat::Indexed4, Pattern(13, 5, 16, AnyColor)},
        {BmpFormat::Indexed8, Pattern(29, 11, 200, AnyColor)},
        {BmpFormat::Rgb555, Pattern(13, 5, 40, Color555)},
        {BmpFormat::Rgb565, Pattern(13, 5, 40, Color565)},
        {BmpFormat::Rgb24, Pattern(13, 5, 50, AnyColor)},
        {BmpFormat::Rgb32,
         Pattern(13, 5, 50, [](int i) { return AnyColor(i) | uint32_t(i) << 24; })},
    };
    for (const Case& c : cases) {
        std::string file;
        ASSERT_TRUE(EncodeBmp(c.image, c.format, file));
        PixelImage back;
        std::string why;
        ASSERT_TRUE(Decodes(file, back, &why)) << int(c.format) << ": " << why;
        EXPECT_EQ(back.width, c.image.width);
        EXPECT_EQ(back.height, c.image.height);
        EXPECT_EQ(back.pixels, c.image.pixels) << int(c.format);
    }
}

TEST(BmpFile, IndexedFormatsRefuseTooManyColours) {
    std::string file;
    EXPECT_FALSE(EncodeBmp(Pattern(8, 8, 3, AnyColor), BmpFormat::Indexed1, file));
    EXPECT_FALSE(EncodeBmp(Pattern(8, 8, 17, AnyColor), BmpFormat::Indexed4, file));
}

TEST(BmpFile, ReadsTopDownRows) {
    PixelImage image = Pattern(5, 4, 20, AnyColor);
    std::string bottomUp;
    ASSERT_TRUE(EncodeBmp(image, BmpFormat::Rgb24, bottomUp));
    // The same rows in the other order, with a negative height.
    size_t at = GetU32(bottomUp, 10), stride = 16;
    std::string topDown = bottomUp.substr(0, at);
    for (int row = 3; row >= 0; --row)
        topDown += bottomUp.substr(at + size_t(row) * stride, stride);
    PutU32(topDown, 22, uint32_t(-4));
    PixelImage back;
    ASSERT_TRUE(Decodes(topDown, back));
    EXPECT_EQ(back.pixels, image.pixels);
}

TEST(BmpFile, ReadsRle8) {
    std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00};
    std::string data = std::string("\x03\x01\x01\x02\x00\x00", 6)   // bottom row: 1 1 1 2
                       + std::string("\x00\x03\x00\x01\x02\x00", 6) // literal 0 1 2, padded
                       + std::string("\x00\x00", 2)                 // end of row
                       + std::string("\x00\x02\x01\x00", 4)         // move one right
                       + std::string("\x02\x02\x00\x01", 4);        // 2 2, end of picture
    PixelImage image;
    std::string why;
    ASSERT_TRUE(Decodes(HandMade(4, 3, 8, 1, palette, data), image, &why)) << why;
    std::vector<uint32_t> expected = {
        0x000000, 0x00FF00, 0x00FF00, 0x000000, // top row: skipped pixel, then the run
        0x000000, 0xFF0000, 0x00FF00, 0x000000, // literal
        0xFF0000, 0xFF0000, 0xFF0000, 0x00FF00, // bottom row
    };
    EXPECT_EQ(image.pixels, expected);
}

TEST(BmpFile, ReadsRle4) {
    std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00};
    std::string data = std::string("\x05\x12", 2)                   // 1 2 1 2 1
                       + std::string("\x00\x03\x21\x20\x00\x00", 6) // literal 2 1 2, padded
                       + std::string("\x00\x01", 2);
    PixelImage image;
    std::string why;
    ASSERT_TRUE(Decodes(HandMade(8, 1, 4, 2, palette, data), image, &why)) << why;
    std::vector<uint32_t> expected = {0xFF0000, 0x00FF00, 0xFF0000, 0x00FF00,
                                      0xFF0000, 0x00FF00, 0xFF0000, 0x00FF00};
    EXPECT_EQ(image.pixels, expected);
}

TEST(BmpFile, BadRunLengthDataIsRefused) {
    std::vector<uint32_t> palette = {0, 0xFFFFFF};
    PixelImage image;
    // A literal run of 200 pixels with 2 bytes behind it.
    EXPECT_FALSE(Decodes(HandMade(4, 2, 8, 1, palette, std::string("\x00\xC8\x01\x01", 4)), image));
    // No end-of-picture mark before the data ends.
    EXPECT_FALSE(Decodes(HandMade(4, 2, 8, 1, palette, std::string("\x04\x01", 2)), image));
    // Runs past the right edge and moves past the bottom stay inside the picture.
    std::string wild = std::string("\xFF\x01\x00\x02\xFF\xFF\x09\x01\x00\x01", 10);
    ASSERT_TRUE(Decodes(HandMade(4, 2, 8, 1, palette, wild), image));
    EXPECT_EQ(image.pixels.size(), 8u);
}

TEST(BmpFile, ReadsTheOldCoreHeader) {
    std::string file = "BM" + std::string(12, '\0');
    std::string core(12, '\0');
    PutU32(core, 0, 12);
    core[4] = 2; // width 2, height 1 (16-bit fields)
    core[6] = 1;
    core[8] = 1;
    core[10] = 8;
    file += core;
    file += std::string("\x00\x00\xFF", 3); // palette of RGB triples: red
    file += std::string("\xFF\x00\x00", 3); // blue
    file.resize(14 + 12 + 256 * 3, '\0');
    PutU32(file, 10, uint32_t(file.size()));
    file += std::string("\x01\x00\x00\x00", 4);
    PixelImage image;
    std::string why;
    ASSERT_TRUE(Decodes(file, image, &why)) << why;
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0x0000FF, 0xFF0000}));
}

TEST(BmpFile, EveryTruncationIsRefused) {
    for (BmpFormat format : {BmpFormat::Indexed4, BmpFormat::Rgb565, BmpFormat::Rgb24}) {
        std::string file;
        ASSERT_TRUE(EncodeBmp(Pattern(7, 3, 9, Color565), format, file));
        for (size_t cut = 0; cut < file.size(); ++cut) {
            PixelImage image;
            std::string shorter = file.substr(0, cut);
            ASSERT_FALSE(Decodes(shorter, image)) << cut;
        }
    }
}

TEST(BmpFile, HostileHeadersAreRefused) {
    std::string good;
    ASSERT_TRUE(EncodeBmp(Pattern(4, 4, 4, AnyColor), BmpFormat::Indexed8, good));
    struct Patch {
        size_t at;
        uint32_t value;
        const char* what;
    } patches[] = {
        {18, 1u << 20, "huge width"},
        {22, 0x7FFFFFFF, "huge height"},
        {22, 0x80000000, "most negative height"},
        {18, 0, "zero width"},
        {10, 0xFFFFFF00, "pixel offset past the end"},
        {46, 100000, "huge colour table"},
        {14, 64000, "huge header"},
        {28, 7, "seven bits per pixel"},
        {30, 4, "JPEG inside"},
        {26, 2, "two planes"},
    };
    for (const Patch& p : patches) {
        std::string file = good;
        if (p.at == 26 || p.at == 28) {
            file[p.at] = char(p.value);
        } else {
            PutU32(file, p.at, p.value);
        }
        PixelImage image;
        EXPECT_FALSE(Decodes(file, image)) << p.what;
    }
    PixelImage image;
    EXPECT_FALSE(Decodes("PK\x03\x04", image));
}

TEST(BmpFile, PackedDibHasItsBitsAfterTheColourTable) {
    std::string file;
    PixelImage image = Pattern(3, 2, 4, AnyColor);
    ASSERT_TRUE(EncodeBmp(image, BmpFormat::Indexed8, file));
    std::string dib = file.substr(14);
    PixelImage back;
    ASSERT_TRUE(DecodePackedDib(dib.data(), dib.size(), back));
    EXPECT_EQ(back.pixels, image.pixels);
}

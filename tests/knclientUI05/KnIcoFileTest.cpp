// .ico files written and read by the UI kit, checked against icoutils'
// icotool and ImageMagick as independent readers and writers, and against
// directories that lie.

#include "tests/support/IconBytes.h"
#include "tests/support/TempFolder.h"

#include "knclientUI05/KnClientPublic.h"
#include "platform/images/Picture.h"
#include "platform/images/PngFile.h"
#include "platform/resources/IconObject.h"
#include "platform/system/FileIo.h"

#include "tests/support/CommandOutput.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace iconbytes;

namespace {

bool Have(const char* tool) {
    return std::system((std::string(tool) + " --version > /dev/null 2>&1").c_str()) == 0;
}

std::string Output(const std::string& command) {
    return CommandOutput(command + " 2>&1");
}

uint16_t U16(const std::string& bytes, size_t at) {
    return uint16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
}
uint32_t U32(const std::string& bytes, size_t at) {
    return U16(bytes, at) | uint32_t(U16(bytes, at + 2)) << 16;
}

// An opaque picture of many colours with a transparent corner pixel.
Picture Colourful(int width, int height) {
    Picture p = MakePicture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.At(x, y) = 0xFF000000u | uint32_t(x * 13 % 256) << 16 | uint32_t(y * 29 % 256) << 8 |
                         uint32_t((x + y) * 7 % 256);
    p.At(0, 0) = 0;
    p.MaskAt(0, 0) = 1;
    return p;
}

HICON IconOf(const Picture& picture, int bitCount = 32) {
    std::string image = DibImage(picture, bitCount);
    return CreateIconFromResourceEx(reinterpret_cast<PBYTE>(image.data()), DWORD(image.size()),
                                    TRUE, 0x30000, 0, 0, 0);
}

// What a reader should show: straight RGBA, transparent where the mask is set.
uint32_t Expected(Picture p, int x, int y) {
    return p.MaskAt(x, y) ? 0u : (0xFF000000u | (p.At(x, y) & 0xFFFFFF));
}

void ExpectPixels(const platform::PixelImage& read, const Picture& p) {
    ASSERT_EQ(read.width, p.width);
    ASSERT_EQ(read.height, p.height);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            uint32_t got = read.pixels[size_t(y) * size_t(p.width) + size_t(x)];
            if ((got >> 24) == 0)
                got = 0; // a transparent pixel's colour does not show
            ASSERT_EQ(got, Expected(p, x, y)) << x << "," << y;
        }
}

TEST(IcoReadTest, LyingOrForeignDirectoriesAreRefused) {
    const std::string good = IconFile({Entry{16, 16, 32, DibImage(Colourful(16, 16), 32)}});
    auto attempt = [](std::string bytes) {
        HICON icon =
            CreateIconFromIcoData(reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size()));
        if (icon)
            DestroyIcon(icon);
        return icon != nullptr;
    };
    ASSERT_TRUE(attempt(good));
    std::string reserved = good;
    reserved[0] = 1;
    EXPECT_FALSE(attempt(reserved));
    EXPECT_FALSE(attempt(IconFile({Entry{16, 16, 32, DibImage(Colourful(16, 16), 32), 1, 1}}, 2)))
        << "a cursor file";
    std::string none = good;
    none[4] = 0;
    EXPECT_FALSE(attempt(none)) << "no image";
    std::string many = good;
    many[4] = char(0xFF);
    EXPECT_FALSE(attempt(many)) << "more entries than bytes";
    std::string past = good;
    past[18] = char(0xF0); // the offset's top bytes
    past[19] = char(0x7F);
    EXPECT_FALSE(attempt(past)) << "an image past the end";
    std::string huge = good;
    huge[14] = char(0xFF);
    huge[15] = char(0xFF);
    huge[16] = char(0xFF);
    huge[17] = char(0xFF);
    EXPECT_FALSE(attempt(huge)) << "an image larger than the file";
    std::string zero = good;
    for (int i = 14; i < 18; ++i)
        zero[size_t(i)] = 0;
    EXPECT_FALSE(attempt(zero)) << "an image of no bytes";
    std::string smallHeader = good;
    smallHeader[22] = 12;
    EXPECT_FALSE(attempt(smallHeader)) << "no BITMAPINFOHEADER";
    EXPECT_FALSE(attempt(good.substr(0, 5)));
    EXPECT_FALSE(attempt(good.substr(0, good.size() - 1))) << "a short image";
    EXPECT_EQ(CreateIconFromIcoData(nullptr, 100), nullptr);
}

TEST(IcoReadTest, TheFirstImageOfAFileDecodes) {
    const Picture first = Colourful(16, 16);
    const std::string file =
        IconFile({Entry{16, 16, 32, DibImage(first, 32)},
                  Entry{32, 32, 8, DibImage(MakePicture(32, 32, 0x123456), 8)}});
    HICON icon =
        CreateIconFromIcoData(reinterpret_cast<const BYTE*>(file.data()), DWORD(file.size()));
    ASSERT_NE(icon, nullptr);
    const platform::IconParts* parts = platform::IconPartsOf(icon);
    ASSERT_NE(parts, nullptr);
    EXPECT_EQ(parts->width, 16);
    EXPECT_EQ(parts->colour[size_t(5 * 16 + 3)] & 0xFFFFFF,
              first.colour[size_t(5 * 16 + 3)] & 0xFFFFFF);
    EXPECT_EQ(parts->andMask[0], 1);
    DestroyIcon(icon);
}

TEST(IcoReadTest, IdlesIconDecodesAsIcotoolExtractsIt) {
    const std::string ico = "/usr/lib/python3.11/idlelib/Icons/idle.ico";
    std::string bytes;
    if (!ReadWholeFile(ico, bytes, size_t(1) << 30) || !Have("icotool"))
        GTEST_SKIP() << "needs idle.ico (Debian package idle-python3.11) and icotool";
    HICON icon =
        CreateIconFromIcoData(reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size()));
    ASSERT_NE(icon, nullptr);
    const platform::IconParts* parts = platform::IconPartsOf(icon);
    ASSERT_NE(parts, nullptr);
    ASSERT_EQ(parts->width, 16);
    ASSERT_EQ(parts->height, 16);
    TempFolder temp;
    ASSERT_EQ(std::system(
                  ("icotool -x -i 1 -o '" + temp.File("first.png") + "' '" + ico + "' 2> /dev/null")
                      .c_str()),
              0);
    std::string png;
    ASSERT_TRUE(ReadWholeFile(temp.File("first.png"), png, size_t(1) << 30));
    platform::PixelImage theirs;
    ASSERT_TRUE(platform::DecodePng(png.data(), png.size(), theirs));
    ASSERT_EQ(theirs.width, 16);
    int opaque = 0;
    for (size_t i = 0; i < theirs.pixels.size(); ++i) {
        const uint32_t expected = theirs.pixels[i], got = parts->colour[i];
        ASSERT_EQ(got >> 24, expected >> 24) << i;
        if (expected >> 24) {
            ASSERT_EQ(got & 0xFFFFFF, expected & 0xFFFFFF) << i;
            ++opaque;
        }
    }
    EXPECT_GT(opaque, 50);
    DestroyIcon(icon);
}

class IcoWriteTest : public ::testing::Test {
protected:
    TempFolder temp;
    std::string Path(const char* name) const { return temp.File(name); }
};

TEST_F(IcoWriteTest, ASavedIconHasAnHonestDirectoryAndReadsBack) {
    const Picture p = Colourful(24, 20);
    HICON icon = IconOf(p);
    ASSERT_NE(icon, nullptr);
    ASSERT_TRUE(SaveIconToIcoFile(icon, Path("saved.ico").c_str()));
    const std::string file = temp.Read("saved.ico");
    ASSERT_GE(file.size(), 22u);
    EXPECT_EQ(U16(file, 4), 1);
    EXPECT_EQ(uint8_t(file[6]), 24);
    EXPECT_EQ(uint8_t(file[7]), 20);
    EXPECT_EQ(U32(file, 18), 22u);
    EXPECT_EQ(U32(file, 14), file.size() - 22) << "the size is what was written";
    EXPECT_EQ(U32(file, 22 + 8), 40u) << "doubled height";

    HICON back =
        CreateIconFromIcoData(reinterpret_cast<const BYTE*>(file.data()), DWORD(file.size()));
    ASSERT_NE(back, nullptr);
    const platform::IconParts* parts = platform::IconPartsOf(back);
    ASSERT_NE(parts, nullptr);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const size_t i = size_t(y) * size_t(p.width) + size_t(x);
            ASSERT_EQ(parts->andMask[i], p.mask[i]);
            if (!p.mask[i])
                ASSERT_EQ(parts->colour[i] & 0xFFFFFF, p.colour[i] & 0xFFFFFF);
        }
    DestroyIcon(back);
    DestroyIcon(icon);
}

TEST_F(IcoWriteTest, CursorsAndMonochromeIconsAreNotWritten) {
    const Picture p = Colourful(16, 16);
    std::string image = std::string("\x04\x00\x05\x00", 4) + DibImage(p, 32);
    HICON cursor = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(image.data()),
                                            DWORD(image.size()), FALSE, 0x30000, 0, 0, 0);
    ASSERT_NE(cursor, nullptr);
    EXPECT_FALSE(SaveIconToIcoFile(cursor, Path("cursor.ico").c_str()));
    EXPECT_FALSE(AddIconToIcoFile(cursor, Path("cursor.ico").c_str(), TRUE));
    EXPECT_FALSE(std::filesystem::exists(Path("cursor.ico")));
    DestroyIcon(cursor);
    EXPECT_FALSE(SaveIconToIcoFile(nullptr, Path("none.ico").c_str()));
    EXPECT_FALSE(std::filesystem::exists(Path("none.ico")));
}

TEST_F(IcoWriteTest, AppendingStartsAFileThenMovesTheOldImages) {
    const Picture a = Colourful(16, 16), b = Colourful(32, 32);
    HICON first = IconOf(a), second = IconOf(b, 24);
    ASSERT_TRUE(first && second);
    temp.Write("empty.ico", "");
    ASSERT_TRUE(AddIconToIcoFile(first, Path("empty.ico").c_str(), TRUE));
    ASSERT_TRUE(AddIconToIcoFile(first, Path("grown.ico").c_str(), TRUE)) << "a missing file";
    const std::string one = temp.Read("grown.ico");
    EXPECT_EQ(temp.Read("empty.ico"), one);
    EXPECT_EQ(U16(one, 4), 1);
    EXPECT_EQ(U32(one, 18), 22u);

    ASSERT_TRUE(AddIconToIcoFile(second, Path("grown.ico").c_str(), TRUE));
    const std::string two = temp.Read("grown.ico");
    EXPECT_EQ(U16(two, 4), 2);
    EXPECT_EQ(U32(two, 18), 22u + 16) << "the old image moves by one entry";
    EXPECT_EQ(two.substr(38, one.size() - 22), one.substr(22)) << "and keeps its bytes";
    EXPECT_EQ(U32(two, 22 + 12), 38 + one.size() - 22) << "the new one follows it";
    EXPECT_EQ(U32(two, 22 + 8) + U32(two, 22 + 12), two.size());
    EXPECT_EQ(uint8_t(two[22]), 32);

    std::string error;
    EXPECT_TRUE(platform::CheckIconFile(two, 1, &error)) << error;
    DestroyIcon(first);
    DestroyIcon(second);
}

TEST_F(IcoWriteTest, AFileThatIsNoSoundIcoIsLeftAsItWas) {
    HICON icon = IconOf(Colourful(16, 16));
    const std::string lying =
        IconFile({Entry{16, 16, 32, DibImage(Colourful(16, 16), 32)}}).substr(0, 100);
    temp.Write("lying.ico", lying);
    EXPECT_FALSE(AddIconToIcoFile(icon, Path("lying.ico").c_str(), TRUE));
    EXPECT_EQ(temp.Read("lying.ico"), lying);
    std::string empty = IconFile({Entry{16, 16, 32, DibImage(Colourful(16, 16), 32)}});
    for (int i = 14; i < 18; ++i)
        empty[size_t(i)] = 0; // an entry of no bytes
    temp.Write("empty-entry.ico", empty);
    EXPECT_FALSE(AddIconToIcoFile(icon, Path("empty-entry.ico").c_str(), TRUE));
    EXPECT_EQ(temp.Read("empty-entry.ico"), empty);
    temp.Write("text.ico", "not an icon at all");
    EXPECT_FALSE(AddIconToIcoFile(icon, Path("text.ico").c_str(), TRUE));
    EXPECT_EQ(temp.Read("text.ico"), "not an icon at all");
    DestroyIcon(icon);
}

TEST_F(IcoWriteTest, IcotoolAndImageMagickReadWhatWeWrite) {
    if (!Have("icotool") || !Have("identify"))
        GTEST_SKIP() << "icoutils and imagemagick are installed by scripts/install-deps.sh";
    const Picture a = Colourful(16, 16), b = Colourful(32, 24);
    HICON first = IconOf(a), second = IconOf(b);
    const std::string ico = Path("pair.ico");
    ASSERT_TRUE(AddIconToIcoFile(first, ico.c_str(), FALSE));
    ASSERT_TRUE(AddIconToIcoFile(second, ico.c_str(), TRUE));
    const std::string listing = Output("icotool -l '" + ico + "'");
    EXPECT_NE(listing.find("--index=1 --width=16 --height=16 --bit-depth=32"), std::string::npos)
        << listing;
    EXPECT_NE(listing.find("--index=2 --width=32 --height=24 --bit-depth=32"), std::string::npos)
        << listing;
    EXPECT_EQ(Output("identify -format '%w %h\\n' '" + ico + "'"), "16 16\n32 24\n");

    ASSERT_EQ(std::system(("icotool -x -o '" + temp.Path() + "' '" + ico + "'").c_str()), 0);
    const Picture* pictures[] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        std::string png;
        const std::string name =
            temp.File("pair_" + std::to_string(i + 1) + "_" + std::to_string(pictures[i]->width) +
                      "x" + std::to_string(pictures[i]->height) + "x32.png");
        ASSERT_TRUE(ReadWholeFile(name, png, size_t(1) << 30)) << name;
        platform::PixelImage read;
        ASSERT_TRUE(platform::DecodePng(png.data(), png.size(), read));
        ExpectPixels(read, *pictures[i]);
        // ImageMagick's own decoding of the same entry.
        const std::string out = temp.File("magick.png");
        ASSERT_EQ(
            std::system(
                ("convert '" + ico + "[" + std::to_string(i) + "]' 'png32:" + out + "'").c_str()),
            0);
        ASSERT_TRUE(ReadWholeFile(out, png, size_t(1) << 30));
        ASSERT_TRUE(platform::DecodePng(png.data(), png.size(), read));
        ExpectPixels(read, *pictures[i]);
    }
    DestroyIcon(first);
    DestroyIcon(second);
}

TEST_F(IcoWriteTest, WeReadWhatIcotoolWrites) {
    if (!Have("icotool"))
        GTEST_SKIP() << "icoutils is installed by scripts/install-deps.sh";
    platform::PixelImage source;
    source.Reset(20, 20);
    source.hasAlpha = true;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            source.At(x, y) = x < 2 ? 0u : 0xFF000000u | uint32_t(x * 12) << 16 | uint32_t(y * 12);
    ASSERT_TRUE(platform::SavePngFile(temp.File("source.png"), source));
    const std::string ico = temp.File("theirs.ico");
    ASSERT_EQ(std::system(
                  ("icotool -c -b 32 -o '" + ico + "' '" + temp.File("source.png") + "'").c_str()),
              0);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(ico, bytes, size_t(1) << 30));
    HICON icon =
        CreateIconFromIcoData(reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size()));
    ASSERT_NE(icon, nullptr);
    const platform::IconParts* parts = platform::IconPartsOf(icon);
    ASSERT_NE(parts, nullptr);
    ASSERT_EQ(parts->width, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 2; x < 20; ++x)
            ASSERT_EQ(parts->colour[size_t(y * 20 + x)] & 0xFFFFFF, source.At(x, y) & 0xFFFFFF);
    DestroyIcon(icon);
}

} // namespace

// Our icon reading and our icon groups checked against icoutils' icotool:
// files icotool writes at every depth must draw as their PNG source, and an
// .ico assembled from a module's group must list and extract in icotool as
// we read it.

#include "platform/images/Picture.h"
#include "platform/images/PngFile.h"
#include "platform/resources/Resource.h"
#include "platform/system/Module.h"
#include "tests/support/GdiCanvas.h"
#include "tests/support/IconBytes.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace iconbytes;

namespace {

bool HaveIcotool() {
    return std::system("icotool --version > /dev/null 2>&1") == 0;
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

// A picture with a few colours and a transparent corner.
platform::PixelImage Source(int size, bool twoColours) {
    platform::PixelImage image;
    image.Reset(size, size);
    image.hasAlpha = true;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            uint32_t colour =
                twoColours ? ((x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u)
                           : 0xFF000000u | uint32_t(x * 40) << 16 | uint32_t(y * 40) << 8 | 0x80;
            image.At(x, y) = x + y < 3 ? 0u : colour;
        }
    return image;
}

// What drawing the picture leaves on a canvas of `under`.
uint32_t Shown(const platform::PixelImage& image, int x, int y, uint32_t under) {
    const uint32_t pixel = image.At(x, y);
    return (pixel >> 24) <= 127 ? under : pixel & 0xFFFFFF;
}

} // namespace

TEST(IcoTool, FilesIcotoolWritesAtEveryDepthDrawAsTheirSource) {
    if (!HaveIcotool())
        GTEST_SKIP() << "icotool (Debian package icoutils) is not installed";
    TempFolder folder;
    for (int depth : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(depth);
        const platform::PixelImage source = Source(depth == 1   ? 16
                                                   : depth == 4 ? 4
                                                                : 6,
                                                   depth == 1);
        ASSERT_TRUE(platform::SavePngFile(folder.File("source.png"), source));
        const std::string ico = folder.File("made.ico");
        const std::string command = "icotool -c -b " + std::to_string(depth) + " -o " +
                                    Quoted(ico) + " " + Quoted(folder.File("source.png")) + " 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        // The image really has the depth asked for (icotool keeps a higher one
        // when the picture has too many colours).
        const std::string bytes = folder.Read("made.ico");
        ASSERT_GT(bytes.size(), 22u + 16);
        const size_t image = uint8_t(bytes[18]) | uint8_t(bytes[19]) << 8;
        ASSERT_GT(bytes.size(), image + 16);
        EXPECT_EQ(uint8_t(bytes[image + 14]), depth);
        HICON icon = static_cast<HICON>(LoadImage(nullptr, ico.c_str(), IMAGE_ICON, source.width,
                                                  source.height, LR_LOADFROMFILE));
        ASSERT_NE(icon, nullptr);
        for (uint32_t under : {0x000000u, 0xFFFFFFu, 0x336699u}) {
            GdiCanvas canvas(source.width, source.height);
            canvas.Fill(under);
            ASSERT_TRUE(DrawIcon(canvas.dc(), 0, 0, icon));
            for (int y = 0; y < source.height; ++y)
                for (int x = 0; x < source.width; ++x)
                    ASSERT_EQ(canvas.At(x, y) & 0xFFFFFF, Shown(source, x, y, under))
                        << x << "," << y << " over " << std::hex << under;
        }
        DestroyIcon(icon);
    }
}

TEST(IcoTool, AModulesIconGroupAssembledAsAFileListsAndExtractsAsWeReadIt) {
    if (!HaveIcotool())
        GTEST_SKIP() << "icotool (Debian package icoutils) is not installed";
    TempFolder folder;
    Picture small = MakePicture(16, 16, 0x00C02040);
    small.MaskAt(0, 0) = 1;
    small.At(0, 0) = 0;
    Picture large = MakePicture(32, 32, 0x00207010);
    large.MaskAt(31, 31) = 1;
    large.At(31, 31) = 0;
    folder.Write("pair.ico", IconFile({Entry{16, 16, 8, DibImage(small, 8)},
                                       Entry{32, 32, 24, DibImage(large, 24)}}));
    std::string error;
    ASSERT_TRUE(RegisterResourceModuleText("IcoTool_res.dll", "7 ICON \"pair.ico\"\n",
                                           folder.Path(), &error))
        << error;
    HMODULE module = LoadLibraryEx("IcoTool_res.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    // The group's 14-byte entries become 16-byte directory entries with offsets.
    HRSRC groupFound = FindResource(module, MAKEINTRESOURCE(7), RT_GROUP_ICON);
    const auto* group = static_cast<const uint8_t*>(LockResource(LoadResource(module, groupFound)));
    ASSERT_NE(group, nullptr);
    const unsigned count = group[4];
    std::string file(reinterpret_cast<const char*>(group), 6), images;
    uint32_t offset = 6 + 16 * count;
    for (unsigned i = 0; i < count; ++i) {
        const uint8_t* entry = group + 6 + 14 * i;
        file.append(reinterpret_cast<const char*>(entry), 12);
        PutU32(file, offset);
        HRSRC image = FindResource(module, MAKEINTRESOURCE(entry[12] | entry[13] << 8), RT_ICON);
        ASSERT_NE(image, nullptr);
        images.append(static_cast<const char*>(LockResource(LoadResource(module, image))),
                      SizeofResource(module, image));
        offset += SizeofResource(module, image);
    }
    folder.Write("group.ico", file + images);
    FreeLibrary(module);
    UnregisterResourceModule("IcoTool_res.dll");

    const std::string listing = folder.File("listing.txt");
    ASSERT_EQ(
        std::system(
            ("icotool -l " + Quoted(folder.File("group.ico")) + " > " + Quoted(listing)).c_str()),
        0);
    const std::string text = folder.Read("listing.txt");
    EXPECT_NE(text.find("--index=1 --width=16 --height=16 --bit-depth=8"), std::string::npos)
        << text;
    EXPECT_NE(text.find("--index=2 --width=32 --height=32 --bit-depth=24"), std::string::npos)
        << text;
    ASSERT_EQ(std::system(("icotool -x -o " + Quoted(folder.Path()) + " " +
                           Quoted(folder.File("group.ico")))
                              .c_str()),
              0);
    const struct {
        const char* png;
        Picture* picture;
    } extracted[] = {{"group_1_16x16x8.png", &small}, {"group_2_32x32x24.png", &large}};
    for (const auto& e : extracted) {
        SCOPED_TRACE(e.png);
        platform::PixelImage png;
        ASSERT_TRUE(platform::LoadPictureFile(folder.File(e.png), png));
        HICON ours =
            static_cast<HICON>(LoadImage(nullptr, folder.File("group.ico").c_str(), IMAGE_ICON,
                                         png.width, png.height, LR_LOADFROMFILE));
        ASSERT_NE(ours, nullptr);
        GdiCanvas canvas(png.width, png.height);
        canvas.Fill(0x336699);
        DrawIcon(canvas.dc(), 0, 0, ours);
        for (int y = 0; y < png.height; ++y)
            for (int x = 0; x < png.width; ++x) {
                const uint32_t pixel = png.At(x, y);
                const uint32_t expected = (pixel >> 24) == 0 ? 0x336699u : pixel & 0xFFFFFF;
                ASSERT_EQ(canvas.At(x, y) & 0xFFFFFF, expected) << x << "," << y;
                ASSERT_EQ((pixel >> 24) == 0, e.picture->MaskAt(x, y) != 0);
            }
        DestroyIcon(ours);
    }
}

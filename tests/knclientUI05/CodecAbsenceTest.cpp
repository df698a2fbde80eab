// The codec bindings when their libraries are missing or incomplete. A
// binding remembers a failure for the rest of the run, so these tests have
// a program of their own, and each takes a different library away.

#include "knclientUI05/CodecBindings.h"
#include "knclientUI05/CodecLibraries.h"
#include "outside/OutsideModules.h"

#include <gtest/gtest.h>

namespace {

int pngAttaches = 0, pngDetaches = 0;

} // namespace

TEST(CodecAbsence, JpegLibraryMissingIsTriedOnce) {
    ASSERT_TRUE(UnregisterBuiltinModule("KNJPG.dll"));
    const int before = BuiltinModuleLoadAttempts("KNJPG.dll");
    HGLOBAL dib = GlobalAlloc(GMEM_FIXED, 64);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(CallWriteDibToJpeg(dib, "shot.jpg", 100), 0);
    HBITMAP bitmap = nullptr;
    EXPECT_EQ(CallLoadJpgFromMem(nullptr, 0, &bitmap, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(CallGetPointerFromHandleLock(dib), nullptr);
    EXPECT_EQ(BuiltinModuleLoadAttempts("KNJPG.dll"), before + 1);
    // Put back, it stays unavailable to this run.
    ASSERT_TRUE(RegisterBuiltinModule(JpegModule()));
    EXPECT_EQ(CallWriteDibToJpeg(dib, "shot.jpg", 100), 0);
    EXPECT_EQ(BuiltinModuleLoadAttempts("KNJPG.dll"), before + 1);
    GlobalFree(dib);
}

TEST(CodecAbsence, PngLibraryWithoutAnExportIsUnloadedForGood) {
    BuiltinModuleDefinition partial = PngModule();
    partial.exports.pop_back(); // WriteImageDataToPNGMem
    ASSERT_EQ(PngModule().exports.back().name, std::string("WriteImageDataToPNGMem"));
    partial.attach = [] { ++pngAttaches; };
    partial.detach = [] { ++pngDetaches; };
    ASSERT_TRUE(RegisterBuiltinModule(partial));
    const BYTE png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    HBITMAP bitmap = nullptr;
    EXPECT_EQ(CallLoadPNGFromMem(png, sizeof png, &bitmap, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(pngAttaches, 1);
    EXPECT_EQ(pngDetaches, 1);
    EXPECT_TRUE(PngLibrary().Failed());
    ASSERT_TRUE(RegisterBuiltinModule(PngModule()));
    EXPECT_EQ(CallWriteBmpToPNGFile(nullptr, "x.png"), 0);
    EXPECT_EQ(pngAttaches, 1);
}

TEST(CodecAbsence, GifLibraryClassIsSafeAfterAFailedLoad) {
    ASSERT_TRUE(UnregisterBuiltinModule("KNGIFTGA.dll"));
    const BYTE gif[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B};
    CKNGifTga library;
    EXPECT_EQ(library.LoadFromMemory(gif, sizeof gif, TRUE), 3);
    EXPECT_EQ(library.LoadFile("picture.gif"), 3);
    int a, b, c, d, e, f;
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    BOOL transparent;
    COLORREF colour;
    BYTE buffer[16];
    EXPECT_EQ(library.GetImageSize(&a, &b, &c), 0);
    EXPECT_EQ(library.CreateCurrentBmp(), nullptr);
    EXPECT_EQ(library.GetGlobalColorIndexTotal(&a), 0);
    EXPECT_EQ(library.GetGlobalColorIndexData(buffer, 16), 0);
    EXPECT_EQ(library.GetNextRawFrameData(), nullptr);
    EXPECT_EQ(
        library.GetNextImage(&a, &b, &c, &d, &bitmap, &transparent, &colour, &palette, &e, &f), 0);
    library.Reset();
    // Its TGA half gives nothing either, and tries no more loads.
    EXPECT_EQ(CallLoadTgaFromMem(gif, sizeof gif), nullptr);
    EXPECT_EQ(CallGetTgaWidth(nullptr), 0);
    EXPECT_EQ(CallGetTgaGetImageData(nullptr), nullptr);
    CallCloseTGAHandle(nullptr);
    EXPECT_EQ(BuiltinModuleLoadAttempts("KNGIFTGA.dll"), 1);
}

#pragma once

// A frame skin of plain coloured pieces written to a folder of its own, so
// tests know the colour of every pixel the frame paints: borders 4 pixels,
// title 24, caption buttons 26 x 18 whose four frames are four colours.

#include "app/AppServices.h"
#include "platform/images/BmpFile.h"
#include "platform/images/PngFile.h"
#include "platform/system/FileIo.h"
#include "platform/system/FileOps.h"
#include "sprite/GdiRoutines.h"
#include "sprite/SkinFrame.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>

namespace app_test {

// The colours (0x00RRGGBB) of the pieces and of the caption buttons' frames.
constexpr uint32_t kTitleActive = 0x203080, kTitleInactive = 0x606060, kTitleCenterA = 0x00A000;
constexpr uint32_t kTitleRightA = 0x00FFFF, kBorder = 0x102040, kBorderA = 0xA0A000;
constexpr uint32_t kBottom = 0x400000, kMagenta = 0xFF00FF;
constexpr uint32_t kFrameColours[4] = {0xC0C0C0, 0xFFFF00, 0xFF0000, 0x808080};

class SkinFolder {
public:
    SkinFolder() {
        layout = temp.File("Skin.thm");
        bitmaps = temp.Path();
        SetLogFileOverride(temp.File("test.log").c_str());
    }
    ~SkinFolder() { SetLogFileOverride(nullptr); }

    // A solid piece; corner pieces get one magenta pixel in their outer corner.
    void Piece(const std::string& name, int w, int h, uint32_t colour, int magentaCorner = 0) {
        platform::PixelImage image;
        image.Reset(w, h, colour);
        if (magentaCorner) {
            const int x = magentaCorner == 1 || magentaCorner == 3 ? 0 : w - 1;
            const int y = magentaCorner <= 2 ? 0 : h - 1;
            image.At(x, y) = kMagenta;
            // and the next pixel along the top or bottom edge
            image.At(x == 0 ? 1 : w - 2, y) = kMagenta;
        }
        Save(name, image);
    }
    // Four frames of w x h in the frame colours, a magenta key column at the left.
    void Strip(const std::string& name, int w, int h) {
        platform::PixelImage image;
        image.Reset(4 * w, h);
        for (int f = 0; f < 4; ++f)
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    image.At(f * w + x, y) = x == 0 ? kMagenta : kFrameColours[f];
        Save(name, image);
    }
    void Save(const std::string& name, const platform::PixelImage& image) {
        ASSERT_TRUE(platform::SaveBmpFile(temp.File(name), image, platform::BmpFormat::Rgb24));
    }

    // The whole skin; extra lines are added to the end of the file.
    void WriteFull(const std::string& extra = "", bool keyColour = true) {
        const char* const title[] = {"titleleft", "titlecenter", "titleright"};
        for (const char* t : title) {
            const std::string name = t;
            const int corner = name == "titleleft" ? 1 : name == "titleright" ? 2 : 0;
            Piece(name + ".bmp", 8, 24, kTitleActive, corner);
            Piece(name + "NA.bmp", 8, 24, kTitleInactive, corner);
        }
        Piece("titlecenterA.bmp", 8, 24, kTitleCenterA);
        Piece("titlerightA.bmp", 8, 24, kTitleRightA, 2);
        Piece("left.bmp", 4, 8, kBorder);
        Piece("right.bmp", 4, 8, kBorder);
        Piece("rightA.bmp", 4, 8, kBorderA);
        Piece("bottomleft.bmp", 8, 4, kBottom, 3);
        Piece("bottomcenter.bmp", 8, 4, kBottom);
        Piece("bottomcenterA.bmp", 8, 4, kBorderA);
        Piece("bottomright.bmp", 8, 4, kBottom, 4);
        Piece("bottomrightA.bmp", 8, 4, kBorderA, 4);
        for (const char* b : {"close", "max", "restore", "min", "u0", "u1", "u2"})
            Strip(std::string(b) + ".bmp", 26, 18);
        std::string text = "[FRAME]\n";
        for (int i = 0; i < CSkinFrame::kFramePieceCount; ++i)
            text += std::string(CSkinFrame::kFramePieceKeys[i]) + "=" +
                    std::string(CSkinFrame::kFramePieceKeys[i] + 4) + ".bmp\n";
        text += "color_transparent=255,0,255\nroundmax=4\nTextColorNA=10,20,30\n"
                "[DEFAULT]\nBUTTON_INTER=2\nOFFSET_1STBTN=-30,4\n";
        if (keyColour)
            text += "KEYCOLOR=255,0,255\n";
        text += "[SYS_BUTTON]\nbmp_close=close.bmp\nbmp_max=max.bmp\nbmp_restore=restore.bmp\n"
                "bmp_min=min.bmp\n[USER_BUTTON]\ncount=3\nbmp_user0=u0.bmp\ntip_user0=设置\n"
                "bmp_user1=u1.bmp\ngroup_user1=other\nbmp_user2=u2.bmp\ngroup_user2=main\n";
        Write(text + extra);
    }
    void Write(const std::string& text) { ASSERT_TRUE(WriteFileAtomically(layout, text)); }
    std::string Log() const { return temp.Read("test.log"); }

    TempFolder temp;
    std::string layout;
    std::string bitmaps;
};

// A folder for the pictures a person looks at after the run.
inline std::string OutputPath(const std::string& name) {
    CreateDirectory(APP_TEST_OUTPUT_DIR, nullptr);
    return std::string(APP_TEST_OUTPUT_DIR) + "/" + name;
}

} // namespace app_test

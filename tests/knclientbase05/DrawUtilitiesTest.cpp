#include "knclientbase05/DrawUtilities.h"

#include "platform/text/Text.h"
#include "tests/support/GdiCanvas.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr uint32_t kKey = 0xFF00FF; // magenta, as 0x00RRGGBB

TEST(DrawTransparentTest, LeavesTheDestinationUnderKeyPixels) {
    GdiCanvas source(4, 2), dest(6, 4);
    dest.Fill(0x102030);
    source.Fill(0xABCDEF);
    source.Set(1, 0, kKey);
    source.Set(3, 1, kKey);
    COLORREF key = RGB(255, 0, 255);
    ASSERT_EQ(DrawTransparent(dest.dc(), 1, 1, 4, 2, source.dc(), 0, 0, &key), 1);
    EXPECT_EQ(dest.At(1, 1), 0xABCDEFu);
    EXPECT_EQ(dest.At(2, 1), 0x102030u); // under a key pixel
    EXPECT_EQ(dest.At(4, 2), 0x102030u); // under a key pixel
    EXPECT_EQ(dest.At(3, 2), 0xABCDEFu);
    EXPECT_EQ(dest.At(0, 0), 0x102030u); // outside the rectangle
    EXPECT_EQ(dest.At(5, 1), 0x102030u);
}

TEST(DrawTransparentTest, WithoutAKeyCopiesEverything) {
    GdiCanvas source(2, 2), dest(2, 2);
    dest.Fill(0x102030);
    source.Fill(kKey);
    ASSERT_EQ(DrawTransparent(dest.dc(), 0, 0, 2, 2, source.dc(), 0, 0, nullptr), 1);
    EXPECT_EQ(dest.At(1, 1), kKey);
}

TEST(AlphaBlendRectTest, WeighsDestinationAgainstSource) {
    GdiCanvas source(3, 1), dest(4, 1);
    source.Fill(0x000000);
    dest.Fill(0xFFFFFF);
    // An odd width: the blend works on an even one but must give back only
    // the three pixels asked for.
    AlphaBlendRect(dest.dc(), 0, 0, 3, 1, source.dc(), 0, 0, 50);
    EXPECT_EQ(dest.At(0, 0), 0x7F7F7Fu);
    EXPECT_EQ(dest.At(2, 0), 0x7F7F7Fu);
    EXPECT_EQ(dest.At(3, 0), 0xFFFFFFu);

    dest.Fill(0x204060);
    source.Fill(0x806040);
    AlphaBlendRect(dest.dc(), 0, 0, 3, 1, source.dc(), 0, 0, 100);
    EXPECT_EQ(dest.At(1, 0), 0x204060u);
    AlphaBlendRect(dest.dc(), 0, 0, 3, 1, source.dc(), 0, 0, 0);
    EXPECT_EQ(dest.At(1, 0), 0x806040u);
}

class FitTextTest : public ::testing::Test {
protected:
    int Width(const char* text) {
        SIZE size{};
        GetTextExtentPoint32(canvas_.dc(), text, static_cast<int>(strlen(text)), &size);
        return size.cx;
    }
    static bool EndsInsideCharacter(const std::string& text) {
        size_t run = 0;
        while (run < text.size() && (static_cast<BYTE>(text[text.size() - 1 - run]) & 0x80))
            ++run;
        return run % 2 == 1;
    }
    GdiCanvas canvas_{8, 8};
};

TEST_F(FitTextTest, ATextThatFitsIsReturnedItself) {
    const char* text = "short";
    EXPECT_EQ(FitTextWithEllipsis(canvas_.dc(), text, Width(text), 0), text);
    EXPECT_EQ(FitTextWithEllipsis(canvas_.dc(), "", 0, 0)[0], '\0');
}

TEST_F(FitTextTest, NeverEndsWithHalfADoubleByteCharacter) {
    // Letters and Chinese characters mixed, cut at every width.
    std::string text = "ab中文字符c测试的句子";
    int full = Width(text.c_str());
    ASSERT_GT(full, 0);
    for (int maxWidth = 0; maxWidth < full; ++maxWidth) {
        std::string fitted = FitTextWithEllipsis(canvas_.dc(), text.c_str(), maxWidth, 0);
        ASSERT_GE(fitted.size(), 3u);
        ASSERT_EQ(fitted.substr(fitted.size() - 3), "...");
        std::string kept = fitted.substr(0, fitted.size() - 3);
        EXPECT_FALSE(EndsInsideCharacter(kept)) << maxWidth;
        EXPECT_EQ(text.compare(0, kept.size(), kept), 0);
        if (kept.size() > 1) {
            EXPECT_LE(Width(fitted.c_str()), maxWidth) << maxWidth;
        }
    }
}

TEST_F(FitTextTest, ALongTextStaysInsideTheSharedBuffer) {
    std::string text;
    for (int i = 0; i < 150; ++i)
        text += "字";
    std::string fitted =
        FitTextWithEllipsis(canvas_.dc(), text.c_str(), Width(text.c_str()) - 1, 0);
    EXPECT_LE(fitted.size(), 255u);
    EXPECT_EQ(fitted.substr(fitted.size() - 3), "...");
    EXPECT_FALSE(EndsInsideCharacter(fitted.substr(0, fitted.size() - 3)));
}

TEST(MainWindowTest, WithoutAMainWindowNothingIsVisibleOrCancelled) {
    EXPECT_EQ(IsMainWindowVisible(), 0);
    CancelMainWindowModes();
}

} // namespace

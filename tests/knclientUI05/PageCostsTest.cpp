// What a page costs the page control: the screen counts what the layout will
// make of the markup (the elements HTML implies, each word and blank of the
// text), and the picture store keeps each picture at the size it is drawn,
// within its budget.

#include "outside/PagePictures.h"
#include "outside/PageScreen.h"
#include "outside/PageText.h"
#include "platform/images/PngFile.h"
#include "tests/support/ResourceScriptText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(PageCostsTest, TheScreenCountsTheElementsAndWordsTheLayoutMakes) {
    // Words, blanks and each Chinese character are pieces of their own, as
    // the layout cuts them (the page's text is UTF-8); a sequence cut short
    // counts as one piece.
    const std::string text = Utf8(u8"ab 大字  c");
    EXPECT_EQ(CountPagePieces(text.data(), text.size()), 7u);
    EXPECT_EQ(CountPagePieces("ab\xE5", 3), 1u);
    std::vector<std::string> words;
    SplitPageText(
        text.c_str(), [&](const char* w) { words.push_back(w); }, nullptr);
    EXPECT_EQ(words, (std::vector<std::string>{"ab", Utf8(u8"大"), Utf8(u8"字"), "c"}));

    // Two start tags, but the parser implies html, head, body, tbody and
    // tr: seven elements.
    const std::string table = "<table><td>x</table>";
    EXPECT_EQ(ScreenMarkup(table, 7, 100, 200), "");
    EXPECT_NE(ScreenMarkup(table, 6, 100, 200), "");
    // A page of few tags and many words.
    std::string words1000;
    for (int k = 0; k < 500; ++k)
        words1000 += "a ";
    EXPECT_EQ(ScreenMarkup("<p>" + words1000 + "</p>", 10, 1000, 200), "");
    const std::string refusal = ScreenMarkup("<p>" + words1000 + "b</p>", 10, 1000, 200);
    EXPECT_NE(refusal.find("1000"), std::string::npos) << refusal;
}

std::string Png(int width, int height, uint32_t pixel) {
    platform::PixelImage image;
    image.Reset(width, height, pixel);
    std::string bytes;
    EXPECT_TRUE(platform::EncodePng(image, bytes));
    return bytes;
}

TEST(PageCostsTest, PicturesAreKeptAtTheSizeDrawnWithinTheirBudget) {
    // Each new pixel is the average of those it covers.
    platform::PixelImage stripes;
    stripes.Reset(4, 2);
    for (int x = 0; x < 4; ++x)
        for (int y = 0; y < 2; ++y)
            stripes.At(x, y) = x % 2 ? 0x00FFFFFF : 0x00000000;
    const platform::PixelImage grey = PagePictures::Shrink(stripes, 2, 1);
    ASSERT_EQ(grey.width, 2);
    EXPECT_EQ(grey.At(0, 0), 0x00808080u);
    EXPECT_EQ(grey.At(1, 0), 0x00808080u);

    PagePictures pictures(100000);
    EXPECT_TRUE(pictures.Ask("http://x/big.png"));
    EXPECT_FALSE(pictures.Ask("http://x/big.png")) << "asked for once";
    std::string why;
    EXPECT_FALSE(pictures.Decode("http://x/text", "not a picture", &why));
    EXPECT_FALSE(why.empty());
    ASSERT_TRUE(pictures.Decode("http://x/big.png", Png(400, 300, 0xFF336699), &why)) << why;
    ASSERT_TRUE(pictures.Decode("http://x/tile.png", Png(10, 10, 0xFF000000), &why)) << why;
    // The layout sees the picture's own size; drawn at 40 x 30 it keeps that.
    ASSERT_NE(pictures.Find("http://x/big.png"), nullptr);
    EXPECT_EQ(pictures.Find("http://x/big.png")->width, 400);
    EXPECT_TRUE(pictures.Keep({{"http://x/big.png", SIZE{40, 30}}}));
    const PagePictures::Picture* big = pictures.Find("http://x/big.png");
    EXPECT_EQ(big->width, 400);
    EXPECT_EQ(big->keptWidth, 40);
    EXPECT_EQ(big->keptHeight, 30);
    EXPECT_EQ(big->decoded, nullptr) << "the whole decoding is let go";
    EXPECT_EQ(pictures.Find("http://x/tile.png")->keptWidth, 10) << "a background is kept whole";
    EXPECT_EQ(pictures.KeptBytes(), size_t(40 * 30 + 10 * 10) * 4);

    // Drawn larger than itself, a picture keeps its own size; past the
    // budget it is refused.
    ASSERT_TRUE(pictures.Decode("http://x/wide.png", Png(300, 100, 0xFFFFFFFF), &why));
    EXPECT_FALSE(pictures.Keep({{"http://x/wide.png", SIZE{4000, 2000}}}));
    ASSERT_TRUE(pictures.Decode("http://x/wide.png", Png(300, 100, 0xFFFFFFFF), &why));
    EXPECT_TRUE(pictures.Keep({{"http://x/wide.png", SIZE{100, 50}}}));
    EXPECT_EQ(pictures.Find("http://x/wide.png")->keptWidth, 100);
}

} // namespace

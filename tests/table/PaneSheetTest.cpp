// Every pane of the default theme at the size its layout values give, with
// values set, drawn onto one sheet for a person to look at.

#include "game/GameLogic.h"
#include "table/panes/CellPaneImages.h"
#include "table/panes/LastCardPaneImage.h"
#include "table/panes/ReelPaneImage.h"
#include "table/panes/ResultPaneImage.h"
#include "table/panes/TextPaneImage.h"
#include "tests/table/TableTestKit.h"

#include <cstring>
#include <memory>

namespace {

using namespace table_test;

// The pane's size from its bitmap file: the width over its cells.
SIZE SizeFromFile(const std::string& file, int cells) {
    platform::PixelImage image;
    EXPECT_TRUE(platform::LoadBmpFile(kAssets + "theme_bmp/Default/" + file, image)) << file;
    return SIZE{image.width / cells, image.height};
}

TEST(PaneSheetTest, EveryPaneOfTheDefaultThemeAtItsSize) {
    ProgramResources resources;
    const char* layout = kLayoutFile.c_str();
    struct Entry {
        std::unique_ptr<CPaneImage> pane;
        SIZE expected;
    };
    std::vector<Entry> entries;

    auto start = std::make_unique<CTextPaneImage>(500);
    ASSERT_TRUE(start->LoadTextPane(layout, "PANE_START", TRUE));
    start->m_nValue = 100;
    entries.push_back({std::move(start), SizeFromFile("pane_start.bmp", 2)});
    auto plain = std::make_unique<CTextPaneImage>(501);
    ASSERT_TRUE(plain->LoadTextPane(layout, "PANE_START", FALSE));
    entries.push_back({std::move(plain), SizeFromFile("pane_start_plain.bmp", 2)});

    tagGAMEOVERMSG record{};
    for (int seat = 0; seat < kSeatCount; ++seat) {
        snprintf(record.users[seat].szNickName, 20, "座位%d", seat);
        record.change.nScoreChange[seat] = (seat % 2 ? 1 : -1) * 1200 * (seat + 1);
        record.change.nBeanChange[seat] = (seat % 2 ? 1 : -1) * 15000 * seat;
    }
    const int places[kSeatCount] = {1, 3, 5, 0, 2, 4};
    auto result = std::make_unique<CResultPaneImage>(1009);
    ASSERT_TRUE(result->LoadResultPane(layout, "PANE_RESULT"));
    result->SetResult(&record, places);
    result->SetMySeat(1);
    entries.push_back({std::move(result), SizeFromFile("pane_result.bmp", 2)});
    auto coin = std::make_unique<CResultCoinPaneImage>(1015);
    ASSERT_TRUE(coin->LoadResultCoinPane(layout, "PANE_RESULT"));
    coin->SetResult(&record, places);
    coin->SetMySeat(4);
    entries.push_back({std::move(coin), SizeFromFile("pane_result_coin.bmp", 2)});

    for (int value = 1; value <= 10; value += 3) {
        auto remnant = std::make_unique<CRemnantPaneImage>(1014);
        ASSERT_TRUE(remnant->LoadRemnantCardPane(layout, "PANE_REMNANT", FALSE));
        remnant->m_nValue = value;
        entries.push_back({std::move(remnant), SizeFromFile("pane_remnant.bmp", 20)});
    }
    for (int level = 1; level <= 5; ++level) {
        auto multiple = std::make_unique<CRemnantPaneImage>(1056);
        ASSERT_TRUE(multiple->LoadRemnantCardPane(layout, "PANE_MULTIPLE", TRUE));
        multiple->m_nValue = level;
        entries.push_back({std::move(multiple), SizeFromFile("pane_multiple.bmp", 10)});
    }
    auto countdown = std::make_unique<CCountdownPaneImage>(1033);
    ASSERT_TRUE(countdown->LoadCountDownPane(layout, "PANE_COUNTDOWN"));
    countdown->m_nValue = 27;
    entries.push_back({std::move(countdown), SizeFromFile("pane_countdown.bmp", 10)});
    for (int value = 1; value <= 3; ++value) {
        auto gousj = std::make_unique<CGouSJPaneImage>(1020);
        ASSERT_TRUE(gousj->LoadGouSJPane(layout, "PANE_GOUSJ"));
        gousj->m_nValue = value;
        entries.push_back({std::move(gousj), SizeFromFile("pane_gousj.bmp", 4)});
    }
    auto reel = std::make_unique<CReelPaneImage>(1010);
    ASSERT_TRUE(reel->LoadReelPane(layout, "PANE_REEL"));
    reel->AddReelLine("本桌规则：六人够级，三家一伙。");
    reel->AddReelLine("开点：先出完的一家开点。\n烧牌：被烧的一家不能再出。");
    entries.push_back({std::move(reel), SizeFromFile("pane_reel.bmp", 2)});
    auto last = std::make_unique<CLastCardPaneImage>(1055);
    ASSERT_TRUE(last->LoadLastCardPane(layout, "PANE_LASTCARD"));
    tagCARD block[kSeatCount][kHandSize] = {};
    int count[kSeatCount];
    for (int view = 0; view < kSeatCount; ++view) {
        count[view] = 4 + view * 2;
        for (int i = 0; i < count[view]; ++i)
            block[view][i] = CGameLogic::CardFromIndex((view * 31 + i * 7) % kCardCodeCount);
    }
    last->SetLastCards(block, count);
    entries.push_back({std::move(last), SizeFromFile("pane_lastcard.bmp", 2)});

    // Lay them out in rows on the felt.
    GdiCanvas canvas(1400, 1300);
    canvas.Fill(0x00206040);
    int x = 10, y = 10, rowHeight = 0;
    for (Entry& entry : entries) {
        const SIZE size = entry.pane->GetSize(nullptr);
        EXPECT_EQ(size.cx, entry.expected.cx) << entry.pane->m_nId;
        EXPECT_EQ(size.cy, entry.expected.cy) << entry.pane->m_nId;
        if (x + size.cx > canvas.width()) {
            x = 10;
            y += rowHeight + 10;
            rowHeight = 0;
        }
        ASSERT_LE(y + size.cy, canvas.height());
        DrawWhole(*entry.pane, canvas, x, y, CReelPaneImage::kFrames - 1);
        int drawn = 0;
        for (int py = y; py < y + size.cy; ++py)
            for (int px = x; px < x + size.cx; ++px)
                drawn += canvas.At(px, py) != 0x00206040;
        EXPECT_GT(drawn, size.cx * size.cy / 8) << entry.pane->m_nId; // digits are thin
        x += size.cx + 10;
        rowHeight = std::max<int>(rowHeight, size.cy);
    }
    SaveSheet("panes.png", CanvasImage(canvas));
}

} // namespace

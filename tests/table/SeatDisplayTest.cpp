// The seat's player picture: its offsets in frames of every band, the name
// record, its window, and the pixels it draws cropped and centred.

#include "ClientFixture.h"
#include "table/panes/SeatDisplayWnd.h"
#include "tests/support/GdiCanvas.h"

#include <set>

namespace table_test {
namespace {

constexpr uint32_t kUntouched = 0x00123456;
constexpr uint32_t kSkin = 0x00F6D6B4;

TEST(SeatDisplayOffsets, EachBandAndItsEdges) {
    EXPECT_EQ(CSeatDisplayWnd::HorizontalOffset(71), -39);
    EXPECT_EQ(CSeatDisplayWnd::HorizontalOffset(0), -39);
    EXPECT_EQ(CSeatDisplayWnd::HorizontalOffset(150), 0);
    EXPECT_EQ(CSeatDisplayWnd::HorizontalOffset(200), 25);
    const std::pair<int, int> vertical[] = {{96, -26}, {0, -26},  {54, -27},  {55, -27},
                                            {78, -27}, {79, -27}, {144, -22}, {145, -22},
                                            {190, 1},  {191, 0},  {20, -44},  {250, 30}};
    for (auto [height, offset] : vertical)
        EXPECT_EQ(CSeatDisplayWnd::VerticalOffset(height), offset) << height;
}

class SeatDisplay : public platform_test::DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        ASSERT_TRUE(table.CreateTop(&log, 400, 300));
    }
    void TearDown() override {
        seat.DestroyWindow();
        table.DestroyWindow();
        DisplayTest::TearDown();
    }
    std::vector<platform_test::Delivered> log;
    platform_test::RecordingWnd table;
    CSeatDisplayWnd seat;
};

TEST_F(SeatDisplay, CreatedAsTheSeatsChildWithItsNameRecord) {
    platform_test::RecordingWnd noWindow;
    EXPECT_FALSE(seat.Create("alice", 22047, &noWindow, 2));
    EXPECT_FALSE(seat.Create("alice", 22047, nullptr, 2));
    ASSERT_TRUE(seat.Create("alice", 22047, &table, 2));
    EXPECT_EQ(GetDlgCtrlID(seat.m_hWnd), 27002);
    EXPECT_EQ(GetParent(seat.m_hWnd), table.m_hWnd);
    RECT rect;
    seat.GetClientRect(&rect);
    EXPECT_EQ(rect.right, 150);
    EXPECT_EQ(rect.bottom, 190);
    EXPECT_STREQ(seat.GetNameRecord(), "alice");

    const std::string longName(200, 'n');
    seat.SetName(longName.c_str(), 22047);
    EXPECT_EQ(std::string(seat.GetNameRecord()), longName.substr(0, 115));
    EXPECT_EQ(seat.GetNameRecord()[115], '\0');
    seat.SetName(nullptr, 22047);
    const std::vector<char> zeros(116, 0);
    EXPECT_EQ(std::vector<char>(seat.GetNameRecord(), seat.GetNameRecord() + 116), zeros);
}

TEST_F(SeatDisplay, ASmallFrameShowsThePicturesMiddle) {
    ASSERT_TRUE(seat.Create("alice", 22047, &table, 0));
    GdiCanvas canvas(200, 200);
    canvas.Fill(kUntouched);
    seat.Draw(canvas.dc(), 10, 20, 71, 96);
    EXPECT_EQ(seat.GetHorizontalOffset(), -39);
    EXPECT_EQ(seat.GetVerticalOffset(), -26);
    // The head's centre (75, 75) of the picture lands at (75 - 39, 75 - 26).
    EXPECT_EQ(canvas.At(10 + 36, 20 + 49) & 0xFFFFFF, kSkin);
    // Nothing outside the frame.
    EXPECT_EQ(canvas.At(9, 20) & 0xFFFFFF, kUntouched);
    EXPECT_EQ(canvas.At(10 + 71, 20) & 0xFFFFFF, kUntouched);
    EXPECT_EQ(canvas.At(10, 20 + 96) & 0xFFFFFF, kUntouched);
    EXPECT_NE(canvas.At(10 + 70, 20 + 95) & 0xFFFFFF, kUntouched);
}

TEST_F(SeatDisplay, ALargeFrameShowsTheWholePictureCentred) {
    ASSERT_TRUE(seat.Create("bob", 22047, &table, 1));
    GdiCanvas canvas(260, 260);
    canvas.Fill(kUntouched);
    seat.Draw(canvas.dc(), 0, 0, 200, 250);
    EXPECT_EQ(canvas.At(24, 29) & 0xFFFFFF, kUntouched);
    EXPECT_NE(canvas.At(25, 30) & 0xFFFFFF, kUntouched);
    EXPECT_EQ(canvas.At(25 + 75, 30 + 75) & 0xFFFFFF, kSkin);
    EXPECT_NE(canvas.At(25 + 149, 30 + 189) & 0xFFFFFF, kUntouched);
    EXPECT_EQ(canvas.At(25 + 150, 30 + 100) & 0xFFFFFF, kUntouched);
}

TEST_F(SeatDisplay, NamesChooseDifferentPicturesAndNoWindowDrawsNothing) {
    GdiCanvas canvas(100, 100);
    canvas.Fill(kUntouched);
    seat.Draw(canvas.dc(), 0, 0, 71, 96);
    EXPECT_EQ(canvas.Pixels(), std::vector<uint32_t>(100 * 100, canvas.At(0, 0)));
    EXPECT_EQ(canvas.At(0, 0) & 0xFFFFFF, kUntouched);

    std::set<int> pictures;
    for (const char* name : {"alice", "bob", "carol", "dave", "erin", "frank", "grace"}) {
        seat.SetName(name, 22047);
        pictures.insert(seat.GetPictureIndex());
    }
    EXPECT_GE(pictures.size(), 3u);
}

} // namespace
} // namespace table_test

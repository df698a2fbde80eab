// The report list view: columns and rows, each text drawn inside its own
// cell, and the scroll strips that bring every column and row into view.

#include "tests/support/DialogFixture.h"
#include "tests/support/ListViewText.h"

#include <filesystem>

using namespace platform_test;

namespace {

constexpr POINT kParentAt{50, 50};
constexpr RECT kListRect{10, 10, 180, 170};

class ListViewTest : public DialogTest {
protected:
    SolidWnd parent;
    HWND list = nullptr;

    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(parent.Top({kParentAt.x, kParentAt.y, kParentAt.x + 300, kParentAt.y + 250}));
        list = CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | LVS_REPORT,
                              kListRect.left, kListRect.top, kListRect.right - kListRect.left,
                              kListRect.bottom - kListRect.top, parent.m_hWnd, nullptr, nullptr,
                              nullptr);
        ASSERT_NE(list, nullptr);
    }
    LRESULT AddColumn(int index, const char* heading, int width) {
        LVCOLUMN column{LVCF_TEXT | LVCF_WIDTH, 0, width, const_cast<char*>(heading), 0, 0};
        return SendMessage(list, LVM_INSERTCOLUMN, WPARAM(index), LPARAM(&column));
    }
    // The row's first text, then its other texts; -1 when one is refused.
    LRESULT AddRow(int index, std::vector<const char*> texts) {
        LVITEM item{LVIF_TEXT, index, 0, 0, 0, const_cast<char*>(texts[0]), 0, 0, 0};
        LRESULT at = SendMessage(list, LVM_INSERTITEM, 0, LPARAM(&item));
        for (size_t c = 1; c < texts.size(); ++c) {
            LVITEM cell{0, 0, int(c), 0, 0, const_cast<char*>(texts[c]), 0, 0, 0};
            if (!SendMessage(list, LVM_SETITEMTEXT, WPARAM(at), LPARAM(&cell)))
                at = -1;
        }
        return at;
    }
    // The height the list asks for a number of rows when nothing is cut off.
    int NeededHeight(int rows) {
        return HIWORD(
            SendMessage(list, LVM_APPROXIMATEVIEWRECT, WPARAM(rows), MAKELPARAM(4000, 0)));
    }
    // Text ink (dark pixels) in a rectangle of list coordinates.
    int InkIn(int left, int top, int right, int bottom) {
        int ink = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                const uint32_t p = PixelOf(parent.m_hWnd, kListRect.left + x, kListRect.top + y);
                ink += ((p >> 16) & 0xFF) < 110 && ((p >> 8) & 0xFF) < 110 && (p & 0xFF) < 110;
            }
        return ink;
    }
    void ClickList(int x, int y) {
        ClickAt(POINT{kParentAt.x + kListRect.left + x, kParentAt.y + kListRect.top + y});
        PumpInput();
        PumpPending();
    }
};

TEST_F(ListViewTest, EveryTextStaysInItsCellAndTheStripsBringTheRestIntoView) {
    const std::vector<std::string> headings = {"名字", "很长很长很长的标题", "级别", "最后"};
    const int widths[] = {60, 50, 70, 90};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(AddColumn(99, headings[size_t(c)].c_str(), widths[c]), c) << "past the end";
    EXPECT_EQ(AddRow(0, {"甲", "很长很长很长很长的文字", "", "尾"}), 0);
    EXPECT_EQ(AddRow(99, {"乙", "2", "30", "3", "no such column"}), -1);
    EXPECT_EQ(AddRow(0, {"丙", "", "新兵"}), 0) << "inserted in front";
    // A column put in between and taken out again moves the texts along.
    EXPECT_EQ(AddColumn(1, "中", 40), 1);
    EXPECT_TRUE(SendMessage(list, LVM_DELETECOLUMN, 1, 0));
    EXPECT_FALSE(SendMessage(list, LVM_DELETECOLUMN, 4, 0));
    EXPECT_EQ(ListViewTexts(list, -1), headings);
    EXPECT_EQ(ListViewColumnWidth(list, 3), 90);
    EXPECT_EQ(ListViewTexts(list, 0), (std::vector<std::string>{"丙", "", "新兵", ""}));
    EXPECT_EQ(ListViewTexts(list, 1),
              (std::vector<std::string>{"甲", "很长很长很长很长的文字", "", "尾"}));
    EXPECT_EQ(ListViewTexts(list, 2), (std::vector<std::string>{"乙", "2", "30", "3"}));

    PumpPending();
    const std::string folder = PELLOR_SNAPSHOT_DIR;
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(platform::SaveWindowPng(parent.m_hWnd, folder + "/list_view.png"));
    const int header = NeededHeight(0);
    const int row = NeededHeight(1) - header;
    ASSERT_GT(row, 8);
    const int viewWidth = kListRect.right - kListRect.left;
    // Each heading in view is drawn inside its own column, and nothing
    // crosses a boundary, not even the long texts of column 1.
    for (int c = 0, left = 0; c < 3; left += widths[c], ++c) {
        const int right = std::min(left + widths[c], viewWidth);
        EXPECT_GT(InkIn(left + 1, 0, right - 1, header), 0) << "heading " << c;
        if (c > 0)
            EXPECT_EQ(InkIn(left - 3, 0, left + 3, header + 3 * row), 0) << "boundary " << c;
    }
    EXPECT_GT(InkIn(60, header + row, 110, header + 2 * row), 0) << "the long text, cut";
    EXPECT_EQ(InkIn(110, header + row, viewWidth, header + 2 * row), 0) << "the empty cell";

    // The last column lies past the right edge: the strip along the bottom
    // pages to it, and back.
    const int strip = kListRect.bottom - kListRect.top - 8;
    ClickList(viewWidth - 10, strip);
    ClickList(viewWidth - 10, strip);
    const int lastLeft = viewWidth - widths[3];
    EXPECT_GT(InkIn(lastLeft + 1, 0, viewWidth - 1, header), 0) << "最后";
    EXPECT_GT(InkIn(lastLeft + 1, header + row, viewWidth - 1, header + 2 * row), 0) << "尾";
    EXPECT_EQ(InkIn(lastLeft - 3, 0, lastLeft + 3, header + 3 * row), 0);
    ClickList(10, strip);
    EXPECT_GT(InkIn(1, 0, widths[0] - 1, header), 0) << "名字 again";

    // More rows than fit: the wheel scrolls them, no further than the last.
    for (int i = 0; i < 20; ++i)
        AddRow(99, {"more"});
    const POINT middle{kParentAt.x + 60, kParentAt.y + 60};
    platform::InjectMouse(platform::MouseAction::Move, middle);
    platform::InjectMouse(platform::MouseAction::Wheel, middle, -WHEEL_DELTA);
    PumpInput();
    EXPECT_EQ(SendMessage(list, LVM_GETTOPINDEX, 0, 0), 3);
    platform::InjectMouse(platform::MouseAction::Wheel, middle, -20 * WHEEL_DELTA);
    PumpInput();
    PumpPending();
    EXPECT_GT(InkIn(0, header + 4 * row, 60, strip - 8), 0) << "rows down to the strip";
    SendMessage(list, LVM_DELETEALLITEMS, 0, 0);
    EXPECT_EQ(SendMessage(list, LVM_GETTOPINDEX, 0, 0), 0);
}

} // namespace

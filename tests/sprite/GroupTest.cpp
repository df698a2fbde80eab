#include "SpriteTestKit.h"

#include "platform/images/PngFile.h"
#include "sprite/FrameImage.h"
#include "sprite/TextImage.h"

#include <cstring>
#include <filesystem>

using namespace sprite_test;

namespace {

SPRITEGROUPITEM Entry(POSITION sprite, CSpriteLine* line, int delay, int endValue, int waitMode = 0,
                      std::vector<BYTE> waitFor = {}) {
    SPRITEGROUPITEM item{};
    item.posSprite = sprite;
    item.pLine = line;
    item.z = -1;
    memset(item.waitFor, 0xFF, sizeof(item.waitFor));
    for (size_t i = 0; i < waitFor.size(); ++i)
        item.waitFor[i] = waitFor[i];
    item.waitCount = BYTE(waitFor.size());
    item.nWaitMode = waitMode;
    item.nDelay = delay;
    item.nEndValue = endValue;
    return item;
}

class GroupTest : public SpriteWndTestBase {
protected:
    void SetUp() override {
        SpriteWndTestBase::SetUp();
        image = wnd.AddImage(new SolidImage(10, 10, {RGB(200, 0, 0)}));
    }
    // A sprite that moves 40 px in 4 ticks and stays.
    POSITION Mover(int y) { return AddStraight(image, 0, y, 40, y, 4, -1); }
    CSpriteLine* To(int x, int y) {
        CSpriteLine* line = CreateSpriteLine(kLineStraight);
        line->Init(0, y, 0, x, y, 0, 4, -1, 255, 255);
        return line;
    }
    std::vector<std::string> Order() const {
        std::vector<std::string> order;
        for (const HookEvent& e : wnd.events)
            order.push_back(e.what + std::to_string(e.b));
        return order;
    }
    POSITION image = nullptr;
};

TEST_F(GroupTest, AnEmptyGroupEndsAtOnceAndTheFiftyFirstFails) {
    EXPECT_TRUE(wnd.PlayGroup(nullptr, 0, 42, TRUE));
    ASSERT_EQ(wnd.Count("groupEnd"), 1);
    EXPECT_EQ(wnd.events[0].a, 42);
    EXPECT_EQ(wnd.GetGroupsInUse(), 0);

    std::vector<POSITION> sprites;
    for (int g = 0; g < CSpriteWnd::kGroups; ++g) {
        sprites.push_back(Mover(g));
        SPRITEGROUPITEM item = Entry(sprites.back(), nullptr, 0, g);
        ASSERT_TRUE(wnd.PlayGroup(&item, 1, g, TRUE));
    }
    SPRITEGROUPITEM extra = Entry(Mover(60), nullptr, 0, 0);
    EXPECT_FALSE(wnd.PlayGroup(&extra, 1, 99, TRUE));
    Run(60);
    EXPECT_EQ(wnd.Count("groupEnd"), 1 + CSpriteWnd::kGroups);
    EXPECT_EQ(wnd.GetGroupsInUse(), 0);
}

TEST_F(GroupTest, EntriesWaitForEndsOrStartsOfOthers) {
    POSITION a = Mover(0), b = Mover(20), c = Mover(40);
    SPRITEGROUPITEM items[3] = {Entry(a, nullptr, 0, 100),
                                Entry(b, To(80, 20), 3, 200, 0, {0}),  // after A ends, +3 ticks
                                Entry(c, To(80, 40), 0, 300, 3, {0})}; // when A starts
    ASSERT_TRUE(wnd.PlayGroup(items, 3, 7, TRUE));
    EXPECT_GE(wnd.GetSpriteAt(c)->nChannel, 0);
    EXPECT_LT(wnd.GetSpriteAt(b)->nChannel, 0);
    Run(50); // A: 4 steps, then one tick at its end
    EXPECT_EQ(Order(), (std::vector<std::string>{"itemEnd100", "itemEnd300"}));
    EXPECT_LT(wnd.GetSpriteAt(b)->nChannel, 0);
    Run(30);
    EXPECT_GE(wnd.GetSpriteAt(b)->nChannel, 0);
    Run(100);
    EXPECT_EQ(Order(),
              (std::vector<std::string>{"itemEnd100", "itemEnd300", "itemEnd200", "groupEnd0"}));
    EXPECT_EQ(wnd.GetSpriteAt(b)->x, 80);
}

TEST_F(GroupTest, WithoutAnimationEverySpriteLandsAtOnce) {
    POSITION a = Mover(0), b = Mover(20);
    SPRITEGROUPITEM items[3] = {Entry(a, To(90, 0), 0, 1), Entry(b, nullptr, 5, 2, 0, {0}),
                                Entry(a, To(120, 0), 0, 3)};
    ASSERT_TRUE(wnd.PlayGroup(items, 3, 8, FALSE));
    EXPECT_EQ(Order(), (std::vector<std::string>{"itemEnd1", "itemEnd2", "itemEnd3", "groupEnd0"}));
    EXPECT_EQ(wnd.GetSpriteAt(a)->x, 120); // the later entry wins
    EXPECT_EQ(wnd.GetSpriteAt(b)->x, 40);
    EXPECT_EQ(wnd.GetGroupsInUse(), 0);
}

TEST_F(GroupTest, ARemovedSpriteDoesNotHoldItsGroupForever) {
    POSITION a = Mover(0), b = Mover(20);
    SPRITEGROUPITEM items[2] = {Entry(a, nullptr, 0, 1), Entry(b, nullptr, 0, 2, 0, {0})};
    ASSERT_TRUE(wnd.PlayGroup(items, 2, 9, TRUE));
    wnd.RemoveSprite(b); // waiting, not yet started
    Run(100);
    EXPECT_EQ(Order(), (std::vector<std::string>{"itemEnd1", "itemEnd2", "groupEnd0"}));
}

TEST_F(GroupTest, AllStartedAnyEndedAndNeverEndingWaits) {
    POSITION a = Mover(0), b = Mover(20), c = Mover(40), d = Mover(60), e = Mover(80);
    SPRITEGROUPITEM items[4] = {Entry(a, nullptr, 0, 1), Entry(b, nullptr, 2, 2),
                                Entry(c, To(80, 40), 0, 3, 2, {0, 1}),  // all of A, B started
                                Entry(d, To(80, 60), 0, 4, 1, {0, 1})}; // either ended
    ASSERT_TRUE(wnd.PlayGroup(items, 4, 11, TRUE));
    EXPECT_LT(wnd.GetSpriteAt(c)->nChannel, 0); // B waits for its delay
    Run(25);
    EXPECT_GE(wnd.GetSpriteAt(c)->nChannel, 0);
    EXPECT_LT(wnd.GetSpriteAt(d)->nChannel, 0);
    Run(30);
    EXPECT_EQ(Order(), (std::vector<std::string>{"itemEnd1"}));
    EXPECT_GE(wnd.GetSpriteAt(d)->nChannel, 0); // started by A's end
    Run(200);
    EXPECT_EQ(wnd.Count("groupEnd"), 1);
    EXPECT_EQ(wnd.Count("itemEnd"), 4);

    // An entry that waits on itself never starts: the group stays.
    SPRITEGROUPITEM stuck[2] = {Entry(e, nullptr, 0, 5), Entry(a, To(10, 0), 0, 6, 0, {1})};
    ASSERT_TRUE(wnd.PlayGroup(stuck, 2, 12, TRUE));
    Run(300);
    EXPECT_EQ(wnd.Count("groupEnd"), 1);
    EXPECT_EQ(wnd.GetGroupsInUse(), 1);
}

TEST_F(GroupTest, ListsBeyondTheEntriesAreIgnored) {
    POSITION a = Mover(0), b = Mover(20);
    SPRITEGROUPITEM items[2] = {Entry(a, nullptr, 0, 1), Entry(b, nullptr, 0, 2, 0, {0, 7, 200})};
    items[1].waitCount = 255; // more than the list holds
    ASSERT_TRUE(wnd.PlayGroup(items, 2, 13, TRUE));
    Run(200);
    EXPECT_EQ(Order(), (std::vector<std::string>{"itemEnd1", "itemEnd2", "groupEnd0"}));
}

TEST_F(GroupTest, AnEntryOfARemovedSpriteLetsGoOfItsLine) {
    POSITION a = Mover(0), b = Mover(20);
    // B's new line is the engine's once PlayGroup takes it; nobody else frees it.
    SPRITEGROUPITEM items[2] = {Entry(a, nullptr, 0, 1), Entry(b, To(90, 20), 2, 2, 0, {0})};
    ASSERT_TRUE(wnd.PlayGroup(items, 2, 14, TRUE));
    wnd.RemoveSprite(b);
    Run(200);
    EXPECT_EQ(Order(), (std::vector<std::string>{"itemEnd1", "itemEnd2", "groupEnd0"}));
}

// A table in motion, saved for a person to look at.
TEST_F(GroupTest, ABusySceneIsSavedAsAPicture) {
    HBITMAP card = MakeBitmap(40, 56, [](int x, int y) {
        const bool edge = x == 0 || y == 0 || x == 39 || y == 55;
        return edge ? RGB(20, 20, 20) : (x + y) % 16 < 8 ? RGB(240, 240, 230) : RGB(200, 30, 30);
    });
    auto* face = new CFrameImage;
    face->AddFrame(card, nullptr, 0);
    POSITION faces = wnd.AddImage(face);
    POSITION first = nullptr;
    for (int i = 0; i < 12; ++i) {
        POSITION s =
            AddStraight(faces, 20 + i * 5, 250, 40 + i * 25, 120 + (i % 3) * 20, 30, -1, i, 1);
        wnd.StartSprite(s, 0, 0, -1, -1, TRUE);
        first = first ? first : s;
    }
    auto* text = new CTextImage;
    text->SetText("出牌", "宋体", 24, RGB(255, 220, 0));
    POSITION label = AddFixed(wnd.AddImage(text), 160, 40, 50, 0);
    wnd.StartSprite(label, 0, 0, -1, -1, TRUE);
    Run(150);
    wnd.FlushDirty(); // the last motion steps ran after this tick's flush
    const std::string folder = SPRITE_TEST_OUTPUT_DIR;
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(platform::SavePngFile(folder + "/busy-table.png", wnd.Frame()));
    const SPRITEINFO* flying = wnd.GetSpriteAt(first);
    EXPECT_GT(flying->y, 120); // still on its way
    EXPECT_EQ(wnd.Pixel(flying->x + 1, flying->y + 1), Rgb(RGB(240, 240, 230)));
    DeleteObject(card);
}

TEST_F(GroupTest, AGroupsCallbackRunsAfterItsEndAndGoesWithTheWindow) {
    std::vector<std::string> done;
    wnd.PlayGroup(nullptr, 0, 7, TRUE, [&] { done.push_back("empty"); });
    SPRITEGROUPITEM moving[] = {Entry(Mover(0), To(80, 0), 0, 1)};
    wnd.PlayGroup(moving, 1, 8, TRUE, [&] {
        done.push_back("moved");
        // The slot is free again: the callback may play the next group.
        SPRITEGROUPITEM again[] = {Entry(Mover(20), To(90, 20), 0, 2)};
        EXPECT_TRUE(wnd.PlayGroup(again, 1, 9, TRUE, [&] { done.push_back("destroyed"); }));
    });
    EXPECT_EQ(done, std::vector<std::string>{"empty"});
    Run(60);
    EXPECT_EQ(done, (std::vector<std::string>{"empty", "moved"}));
    EXPECT_EQ(wnd.Count("groupEnd"), 2);
    EXPECT_EQ(wnd.GetGroupsInUse(), 1);
    wnd.DestroyWindow();
    PumpPending();
    EXPECT_EQ(done.size(), 2u);
}

} // namespace

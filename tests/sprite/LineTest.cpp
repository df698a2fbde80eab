#include "platform/system/Profile.h"
#include "sprite/SpriteLine.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

std::unique_ptr<CSpriteLine> Straight(int fx, int fy, int tx, int ty, int duration, int after,
                                      BYTE alphaFrom = 255, BYTE alphaTo = 255) {
    std::unique_ptr<CSpriteLine> line(CreateSpriteLine(kLineStraight));
    line->Init(fx, fy, 0, tx, ty, 0, duration, after, alphaFrom, alphaTo);
    return line;
}

// Every point of a traversal, the start included.
std::vector<SPRITEPOINT> Traverse(CSpriteLine& line) {
    BYTE step = 0;
    std::vector<SPRITEPOINT> points{line.GetPoint(&step, FALSE)};
    while (step != 255 && points.size() < 1000)
        points.push_back(line.GetPoint(&step, TRUE));
    return points;
}

TEST(SpriteLineTest, AStraightLineTakesTheStepsItsDurationAndLengthAllow) {
    auto quick = Straight(0, 0, 100, 0, 20, 7);
    std::vector<SPRITEPOINT> points = Traverse(*quick);
    ASSERT_EQ(points.size(), 21u); // 20 steps
    EXPECT_EQ(points[0].x, 0);
    EXPECT_EQ(points[1].x, 13 * 100 / 255); // step ceil(255 / 20) = 13
    EXPECT_EQ(points[1].nInterval, 1);
    EXPECT_EQ(points.back().x, 100);
    EXPECT_EQ(points.back().nInterval, 7); // the interval after arrival

    auto slow = Straight(0, 0, 0, 100, 300, -1);
    points = Traverse(*slow);
    ASSERT_EQ(points.size(), 101u); // one step per pixel
    EXPECT_EQ(points[1].nInterval, 3);
    EXPECT_EQ(points.back().y, 100);
    EXPECT_EQ(points.back().nInterval, -1);
}

TEST(SpriteLineTest, EveryStepCountEndsExactlyAtTheEnd) {
    for (int n = 1; n <= 255; ++n) {
        auto line = Straight(0, 0, n, 0, n, -1);
        std::vector<SPRITEPOINT> points = Traverse(*line);
        ASSERT_EQ(points.size(), size_t(n) + 1) << "n = " << n;
        for (size_t i = 1; i < points.size(); ++i)
            ASSERT_GT(points[i].x, points[i - 1].x) << "n = " << n;
    }
}

TEST(SpriteLineTest, AlphaFollowsTheStepAndAnEndlessLineWraps) {
    auto line = Straight(0, 0, 255, 0, 255, -1, 0, 255);
    BYTE step = 0;
    for (int i = 0; i < 255; ++i) {
        SPRITEPOINT p = line->GetPoint(&step, TRUE);
        ASSERT_EQ(p.alpha, step);
    }
    EXPECT_EQ(step, 255);
    line->GetPoint(&step, TRUE);
    EXPECT_EQ(step, 0); // an endless sprite runs its line again
}

TEST(SpriteLineTest, EqualEndsArriveAtOnceAndAZeroDurationDoesNotDivideByZero) {
    auto still = Straight(40, 40, 40, 40, 10, 4);
    BYTE step = 0;
    SPRITEPOINT p = still->GetPoint(&step, TRUE);
    EXPECT_EQ(step, 255);
    EXPECT_EQ(p.nInterval, 4);

    auto instant = Straight(0, 0, 50, 0, 0, -1); // a broken theme's duration
    std::vector<SPRITEPOINT> points = Traverse(*instant);
    EXPECT_EQ(points.size(), 2u);
    EXPECT_EQ(points.back().x, 50);
}

TEST(SpriteLineTest, AFixedLineStandsAtItsPointWithoutAnInterval) {
    std::unique_ptr<CSpriteLine> line(CreateSpriteLine(kLineFixed));
    line->SetFrom(12, 34, 0, 200);
    BYTE step = 0;
    SPRITEPOINT p = line->GetPoint(&step, FALSE);
    EXPECT_EQ(step, 255);
    EXPECT_EQ(p.x, 12);
    EXPECT_EQ(p.y, 34);
    EXPECT_EQ(p.alpha, 200);
    EXPECT_EQ(p.nInterval, -1);
    EXPECT_TRUE(line->IsFixed());
    EXPECT_EQ(CreateSpriteLine(3), nullptr);
}

std::unique_ptr<CCurveLine> Curve(int bx, int by, int ex, int ey, int tx, int ty) {
    auto line = std::make_unique<CCurveLine>();
    line->Init(bx, by, 0, ex, ey, 0, 400, -1, 255, 255);
    line->m_through.Set(tx, ty, 0);
    return line;
}

double Nearest(const std::vector<SPRITEPOINT>& points, int x, int y) {
    double best = 1e9;
    for (const SPRITEPOINT& p : points)
        best = std::min(best, std::hypot(p.x - x, p.y - y));
    return best;
}

TEST(SpriteLineTest, ACurvePassesThroughItsThirdPointOnEitherSide) {
    // Horizontal chords, the case whose centre needs the vertical bisector.
    for (int side : {-1, 1}) {
        auto arc = Curve(0, 0, 100, 0, 50, 50 * side);
        std::vector<SPRITEPOINT> points = Traverse(*arc);
        EXPECT_LT(Nearest(points, 50, 50 * side), 3.0) << "side " << side;
        EXPECT_EQ(points.back().x, 100);
        EXPECT_EQ(points.back().y, 0);
        for (const SPRITEPOINT& p : points)
            EXPECT_GE(p.y * side, -1) << "the arc went round the wrong way";
    }
    auto slanted = Curve(10, 200, 300, 40, 100, 60);
    EXPECT_LT(Nearest(Traverse(*slanted), 100, 60), 3.0);
}

TEST(SpriteLineTest, ACurveThroughAPointOnItsChordMovesStraight) {
    auto arc = Curve(0, 0, 100, 100, 50, 50);
    for (const SPRITEPOINT& p : Traverse(*arc))
        EXPECT_EQ(p.x, p.y);
}

class LineIniTest : public ::testing::Test {
protected:
    void SetUp() override {
        // One file per test and process: ctest runs the tests of this
        // fixture at once, and again in the shuffled whole-program runs.
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                           std::string("-") + std::to_string(getpid());
        path = (std::filesystem::temp_directory_path() / ("pellor-sprite-lines-" + name + ".ini"))
                   .string();
        std::ofstream(path) << "[fly]\ntype=1\nBEGIN=10,20,0,0,30\nEND=110,20,0,255,-1\n"
                            << "[arc]\nTYPE=2\nBEGIN=0,0,0,255,10\nEND=100,0,0,255,5\n"
                            << "THROUGH=50,40,0\n"
                            << "[stay]\ntype=0\nBEGIN=5,6,4,128\n"
                            << "[none]\nBEGIN=1,2,3,4\n";
    }
    void TearDown() override { std::filesystem::remove(path); }
    std::string path;
};

TEST_F(LineIniTest, SectionsGiveTheirLinesAndNoTypeGivesNone) {
    std::unique_ptr<CSpriteLine> fly(LoadSpriteLine("fly", path.c_str()));
    ASSERT_NE(fly, nullptr);
    EXPECT_EQ(fly->m_nType, kLineStraight);
    EXPECT_EQ(fly->m_from.x, 10);
    EXPECT_EQ(fly->m_nDuration, 30);
    EXPECT_EQ(fly->m_to.x, 110);
    EXPECT_EQ(fly->m_alphaTo, 255);
    EXPECT_EQ(fly->m_nInterval, -1);

    std::unique_ptr<CSpriteLine> arc(LoadSpriteLine("arc", path.c_str()));
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(static_cast<CCurveLine*>(arc.get())->m_through.y, 40);

    std::unique_ptr<CSpriteLine> stay(LoadSpriteLine("stay", path.c_str()));
    ASSERT_NE(stay, nullptr);
    EXPECT_TRUE(stay->IsFixed());
    EXPECT_EQ(stay->m_from.anchor, 4);
    EXPECT_EQ(stay->m_alphaFrom, 128);

    EXPECT_EQ(LoadSpriteLine("none", path.c_str()), nullptr);
    EXPECT_EQ(LoadSpriteLine("missing", path.c_str()), nullptr);
}

TEST_F(LineIniTest, ALineRefusesASectionOfAnotherType) {
    CStraightLine line;
    EXPECT_FALSE(line.Load("arc", path.c_str()));
    EXPECT_TRUE(line.Load("fly", path.c_str()));
}

} // namespace

#include "game/LevelTitles.h"

#include "game/GameLogic.h"

namespace {

const char* const kLevelTitles[kLevelCount] = {
    "新兵",   "卫兵",     "伍长",     "十长",     "睹伯",     "百人将",     "门牙将",
    "军司马", "骑都尉",   "部校尉",   "中郎将",   "裨将军",   "偏将军",     "前将军",
    "卫将军", "征东将军", "镇东将军", "骠骑将军", "车骑将军", "辅国大将军",
};

// The lowest score of each level from 1 on.
const int kLevelThresholds[kLevelCount - 1] = {
    10,     50,     100,    500,    1000,   2000,   5000,    10000,   20000,   50000,
    100000, 150000, 200000, 300000, 500000, 800000, 1200000, 1700000, 2700000,
};

} // namespace

const char* GetLevelTitle(int level) {
    if (level < 0)
        level = 0;
    if (level >= kLevelCount)
        level = kLevelCount - 1;
    return kLevelTitles[level];
}

int CGameLogic::GetLevelFromScore(int score) {
    int level = 0;
    while (level < kLevelCount - 1 && score >= kLevelThresholds[level])
        ++level;
    return level;
}

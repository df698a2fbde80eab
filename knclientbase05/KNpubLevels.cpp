#include "knclientbase05/KNpubLevels.h"

namespace {

// Days needed for levels 1 to 12.
constexpr int kLevelDays[] = {1, 300, 610, 930, 1260, 1600, 1950, 2310, 2680, 3060, 3450, 3850};
constexpr int kTopDayLevel = 12;
constexpr int kTopPointLevel = 20;

int DaysBetween(time_t start, time_t now) {
    if (now == 0)
        now = time(nullptr);
    return static_cast<int>((now - start) / 86400);
}

} // namespace

int LevelFromDays(int days) {
    int level = 0;
    while (level < kTopDayLevel && days >= kLevelDays[level])
        ++level;
    return level;
}

int DaysForLevel(int level) {
    return (level >= 2 && level <= kTopDayLevel) ? kLevelDays[level - 1] : 0;
}

int LevelSince(time_t start, time_t now) {
    return LevelFromDays(DaysBetween(start, now));
}

int StarsFromDays(int days) {
    if (days < 930)
        return 5;
    if (days < 1950)
        return 10;
    return days < 3060 ? 15 : 20;
}

int StarsSince(time_t start, time_t now) {
    return StarsFromDays(DaysBetween(start, now));
}

int LevelFromPoints(long long points) {
    if (points < 1)
        return 0;
    int level = 1;
    while (level < kTopPointLevel && points >= PointsForLevel(level + 1))
        ++level;
    return level;
}

long long PointsForLevel(int level) {
    return (level >= 2 && level <= kTopPointLevel) ? 500LL << (level - 2) : 0;
}

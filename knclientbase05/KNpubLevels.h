#pragma once

// The platform's level tables: levels by days of membership or by points.

#include "platform/Types.h"

#include <ctime>

int LevelFromDays(int days);
int DaysForLevel(int level);
// Whole days from start to now (0: the current time).
int LevelSince(time_t start, time_t now);
int StarsFromDays(int days);
int StarsSince(time_t start, time_t now);
int LevelFromPoints(long long points);
long long PointsForLevel(int level);

#pragma once
// The screenshot's file name and the clock it is taken from.

#include "platform/CString.h"

#include <functional>

struct SnapshotTime {
    int year, month, day, hour, minute, second, millisecond;
};

// "<folder>\YYYY年MM月DD日HH时MM分SS秒mmm.jpg".
CString SnapshotFileName(LPCSTR folder, const SnapshotTime& time);
// Local time now; tests give their own clock (an empty function restores it).
SnapshotTime SnapshotNow();
void SetSnapshotClock(std::function<SnapshotTime()> clock);
// Makes the folder and the folders above it; FALSE when it is not there after.
BOOL MakeFolderPath(LPCSTR folder);

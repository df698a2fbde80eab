#pragma once

enum { kLevelCount = 20 };

// The title of a level index; the index is clamped to 0..19.
const char* GetLevelTitle(int level);

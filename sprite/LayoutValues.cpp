#include "sprite/LayoutValues.h"

#include "platform/system/Profile.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Up to three leading numbers separated by commas; the count read.
int ReadNumbers(LPCSTR file, LPCSTR section, LPCSTR key, int (&values)[3]) {
    values[0] = values[1] = values[2] = 0;
    const CString text = ReadLayoutText(file, section, key, "", 64);
    long read[3] = {0, 0, 0};
    const int count = sscanf(text, "%ld,%ld,%ld", &read[0], &read[1], &read[2]);
    // Coordinates far off any screen are broken values; held within 16 bits
    // so sums of them cannot overflow.
    for (int i = 0; i < 3; ++i)
        values[i] = int(std::clamp(read[i], -32768L, 32767L));
    return count;
}

} // namespace

CString ReadLayoutText(LPCSTR file, LPCSTR section, LPCSTR key, LPCSTR defaultValue, DWORD size) {
    std::vector<char> buffer(size, '\0');
    GetPrivateProfileString(section, key, defaultValue, buffer.data(), size, file);
    return CString(buffer.data());
}

COLORREF ReadLayoutColor(LPCSTR file, LPCSTR section, LPCSTR key, COLORREF defaultColor) {
    int rgb[3];
    if (ReadNumbers(file, section, key, rgb) != 3)
        return defaultColor;
    return RGB(rgb[0], rgb[1], rgb[2]);
}

POINT ReadLayoutPoint(LPCSTR file, LPCSTR section, LPCSTR key) {
    int values[3];
    ReadNumbers(file, section, key, values);
    return POINT{values[0], values[1]};
}

SIZE ReadLayoutSize(LPCSTR file, LPCSTR section, LPCSTR key) {
    const POINT point = ReadLayoutPoint(file, section, key);
    return SIZE{point.x, point.y};
}

CSpritePos ReadLayoutPos(LPCSTR file, LPCSTR section, LPCSTR key) {
    int values[3];
    ReadNumbers(file, section, key, values);
    CSpritePos pos;
    pos.Set(values[0], values[1], values[2]);
    return pos;
}

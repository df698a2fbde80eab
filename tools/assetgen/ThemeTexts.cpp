#include "tools/assetgen/ThemeTexts.h"

#include "platform/CodePage.h"
#include "platform/system/FileIo.h"
#include "platform/system/InputBounds.h"
#include "tools/assetgen/IconWriter.h"

#include <cstdio>

bool ConvertTextToGbk(const std::string& source, const std::string& target) {
    std::string utf8;
    if (!ReadWholeFile(source, utf8, platform::kMaxIniFileBytes)) {
        fprintf(stderr, "assetgen: cannot read %s\n", source.c_str());
        return false;
    }
    return WriteFile(target, platform::Utf8ToGbk(utf8));
}

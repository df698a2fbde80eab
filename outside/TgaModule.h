#pragma once

// The TGA exports of "KNGIFTGA.dll", which its GIF half lists beside its own.

#include "platform/system/Module.h"

#include <vector>

namespace outside {

std::vector<BuiltinModuleExport> TgaExports();

} // namespace outside

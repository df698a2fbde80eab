// The library's start-up: when libTablehub.so is loaded, the outside
// libraries it uses become loadable by name, the library itself is known to
// the module table so that its own version can be read, and the network
// layer's message boxes become the UI kit's.

#include "knclientUI05/GameBoxes.h"
#include "knclientUI05/KitStartup.h"
#include "knclientUI05/KnQuickbuyDlg.h"
#include "knclientUI05/WaitDlg.h"
#include "outside/OutsideModules.h"
#include "platform/system/Module.h"

namespace {

BuiltinModuleDefinition TablehubModule() {
    BuiltinModuleDefinition module;
    module.fileName = "Tablehub.dll";
    module.version[0] = 4;
    module.version[1] = 0;
    module.version[2] = 0;
    module.version[3] = 1;
    module.versionStrings = {{"FileDescription", "Tablehub"}, {"ProductName", "Tablehub"}};
    return module;
}

struct TablehubStartup {
    TablehubStartup() {
        RegisterOutsideModules();
        RegisterBuiltinModule(TablehubModule());
        InstallGameBoxes();
        InstallWaitWindows();
        InstallQuickbuyPopup();
    }
};

TablehubStartup startup;

} // namespace

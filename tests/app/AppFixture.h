#pragma once

// The program's resource library as the build draws it, made the resource
// module for the life of the object, on a headless display and a stepped clock.

#include "platform/display/Display.h"
#include "platform/resources/Resource.h"
#include "platform/system/Clock.h"
#include "platform/system/Module.h"

#include <gtest/gtest.h>
#include <string>

namespace app_test {

class ResourceLibrary {
public:
    ResourceLibrary() {
        std::string error;
        EXPECT_TRUE(RegisterResourceModule(
            "Pellor2_res.dll", std::string(PELLOR_ASSET_DIR) + "/Pellor2_res.rc", &error))
            << error;
        m_module = LoadLibrary("Pellor2_res.dll");
        m_saved = AfxGetResourceHandle();
        AfxSetResourceHandle(m_module);
    }
    ~ResourceLibrary() {
        AfxSetResourceHandle(m_saved);
        if (m_module)
            FreeLibrary(m_module);
        UnregisterResourceModule("Pellor2_res.dll");
    }

private:
    HMODULE m_module = nullptr;
    HINSTANCE m_saved = nullptr;
};

} // namespace app_test

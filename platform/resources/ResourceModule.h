#pragma once

// Resource modules held in memory, by the library file name they are
// registered under. Internal to the resource calls (Resource.h).

#include "platform/resources/ResourceScript.h"

#include <map>
#include <memory>
#include <string>

namespace platform {

// One resource with its bytes as Windows keeps them (RT_BITMAP: a packed
// DIB; others: the file's bytes).
struct ModuleResource {
    ResourceId type;
    ResourceId name;
    std::string bytes;
    std::string fileBytes; // the whole file (bitmaps keep their file header here)
};

struct ResourceModuleData {
    std::string fileName;
    std::map<UINT, std::string> strings;
    std::map<ResourceId, DialogTemplate> dialogs;
    std::map<std::pair<ResourceId, ResourceId>, ModuleResource> resources; // (type, name)
    // Icons and cursors made on first use, shared by every caller.
    std::map<std::pair<ResourceId, ResourceId>, void*> shapes;
};

// Reads the files the script names and checks each (a bitmap must decode, an
// icon or cursor must be a valid .ico/.cur). False with a message naming the
// script's line.
bool BuildResourceModule(const ResourceScript& script, const std::string& sourceName,
                         const std::string& baseFolder, ResourceModuleData& module,
                         std::string* error);

// The module data of a loaded module handle; null for a handle that is not
// a loaded resource module. Data outlives unregistering, so pointers handed
// out (locked resources, shared icons) stay valid.
ResourceModuleData* ResourceModuleOf(HINSTANCE module);

// A resource name argument (MAKEINTRESOURCE or text; "#123" is the number).
ResourceId ResourceIdFromArgument(LPCSTR name);

} // namespace platform

#pragma once

// Resource modules held in memory, by the library file name they are
// registered under. Internal to the resource calls (Resource.h).

#include "platform/resources/ResourceScript.h"

#include <map>
#include <memory>
#include <string>

namespace platform {

// One resource with its bytes as Windows keeps them: RT_BITMAP a packed
// DIB; an ICON statement an RT_GROUP_ICON directory and one RT_ICON image
// per picture of the file (a CURSOR statement the same with RT_GROUP_CURSOR
// and RT_CURSOR, whose images start with the hot spot); RT_DIALOG the
// binary extended dialog template; others the file's bytes.
struct ModuleResource {
    ResourceId type;
    ResourceId name;
    WORD language = 0;
    std::string bytes;
    std::string fileBytes; // the whole file (bitmaps keep their file header here)
};

struct ResourceKey {
    ResourceId type;
    ResourceId name;
    WORD language = 0;
    bool operator<(const ResourceKey& other) const {
        if (!(type == other.type))
            return type < other.type;
        if (!(name == other.name))
            return name < other.name;
        return language < other.language;
    }
};

struct ResourceModuleData {
    std::string fileName;
    std::map<UINT, std::string> strings;
    std::map<ResourceId, DialogTemplate> dialogs;
    std::map<ResourceKey, ModuleResource> resources;
    // Icons and cursors made on first use, shared by every caller.
    std::map<std::pair<ResourceId, ResourceId>, void*> shapes;
};

// Reads the files the script names and checks each (a bitmap must decode, an
// icon or cursor must be a valid .ico/.cur). False with a message naming the
// script's line.
bool BuildResourceModule(const ResourceScript& script, const std::string& sourceName,
                         const std::string& baseFolder, ResourceModuleData& module,
                         std::string* error);

// A resource of the type and name in the language asked for: the exact
// language, else one of the same primary language, else a neutral one; null
// when none. language -1 takes any: neutral first, then the lowest id.
const ModuleResource* FindModuleResource(const ResourceModuleData& module, const ResourceId& type,
                                         const ResourceId& name, int language = -1);

// A dialog template as binary extended dialog template bytes (DLGTEMPLATEEX
// with its items), texts in UTF-16.
std::string DialogTemplateBytes(const DialogTemplate& dialog);

// The module data of a loaded module handle; null for a handle that is not
// a loaded resource module. Data outlives unregistering, so pointers handed
// out (locked resources, shared icons) stay valid.
ResourceModuleData* ResourceModuleOf(HINSTANCE module);

// A resource name argument (MAKEINTRESOURCE or text; "#123" is the number).
ResourceId ResourceIdFromArgument(LPCSTR name);

} // namespace platform

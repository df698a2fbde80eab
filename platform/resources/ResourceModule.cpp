#include "platform/resources/ResourceModule.h"

#include "platform/images/BmpFile.h"
#include "platform/resources/Resource.h"
#include "platform/resources/ResourceIconFile.h"
#include "platform/system/FileIo.h"
#include "platform/system/InputBounds.h"
#include "platform/system/Module.h"

#include <mutex>

namespace platform {

namespace {

constexpr size_t kBmpFileHeaderSize = 14;

struct ResourceModuleTable {
    std::mutex lock;
    std::map<std::string, std::shared_ptr<ResourceModuleData>> byName;
    // Replaced modules stay alive: callers may still hold their data.
    std::vector<std::shared_ptr<ResourceModuleData>> retired;
};

ResourceModuleTable& Modules() {
    static auto* table = new ResourceModuleTable;
    return *table;
}

// The module table's spelling rules: no folder, any case, ".dll" optional.
std::string CanonicalName(const std::string& fileName) {
    std::string name = fileName.substr(fileName.find_last_of("\\/") + 1);
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (name.find('.') == std::string::npos)
        name += ".dll";
    return name;
}

bool Refuse(std::string* error, const std::string& message) {
    if (error)
        *error = message;
    return false;
}

bool CheckResourceFile(const ScriptFileResource& file, const std::string& bytes, std::string& why) {
    if (file.type.text.empty() && file.type.number == 2) {
        PixelImage image;
        return DecodeBmp(bytes.data(), bytes.size(), image, &why);
    }
    if (file.type.text.empty() && (file.type.number == 1 || file.type.number == 3))
        return CheckIconFile(bytes, file.type.number == 1 ? 2 : 1, &why);
    return true;
}

void PutU16(std::string& out, unsigned value) {
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

void PutU32(std::string& out, uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// An ICON (or CURSOR) statement as a resource compiler stores it: one
// RT_ICON (RT_CURSOR) per picture, numbered on from the module's last, and
// an RT_GROUP_ICON (RT_GROUP_CURSOR) directory under the statement's name.
void AddIconGroup(const ScriptFileResource& file, const std::string& fileBytes,
                  ResourceModuleData& module, WORD& lastImageId) {
    const bool cursor = file.type.number == 1;
    const auto* data = reinterpret_cast<const uint8_t*>(fileBytes.data());
    std::vector<IconDirectoryEntry> entries;
    ParseIconDirectory(data, fileBytes.size(), cursor ? 2 : 1, entries, nullptr);
    std::string group;
    PutU16(group, 0);
    PutU16(group, cursor ? 2 : 1);
    PutU16(group, unsigned(entries.size()));
    for (const IconDirectoryEntry& entry : entries) {
        IconImage image;
        DecodeIconImage(data + entry.offset, entry.size, image, nullptr);
        const WORD id = ++lastImageId;
        std::string picture = fileBytes.substr(entry.offset, entry.size);
        if (cursor) {
            std::string hotSpot;
            PutU16(hotSpot, unsigned(entry.hotSpot.x));
            PutU16(hotSpot, unsigned(entry.hotSpot.y));
            picture = hotSpot + picture;
            PutU16(group, unsigned(image.width));
            PutU16(group, unsigned(image.height * 2));
            PutU16(group, 1);
            PutU16(group, unsigned(image.bitCount));
        } else {
            group += char(entry.width >= 256 ? 0 : entry.width);
            group += char(entry.height >= 256 ? 0 : entry.height);
            group += char(entry.colourCount);
            group += char(0);
            PutU16(group, entry.planes ? unsigned(entry.planes) : 1);
            PutU16(group, entry.bitCount ? unsigned(entry.bitCount) : unsigned(image.bitCount));
        }
        PutU32(group, uint32_t(picture.size()));
        PutU16(group, id);
        ResourceId type{WORD(cursor ? 1 : 3), {}}, name{id, {}};
        module.resources[ResourceKey{type, name, file.language}] =
            ModuleResource{type, name, file.language, picture, {}};
    }
    ResourceId groupType{WORD(cursor ? 12 : 14), {}};
    module.resources[ResourceKey{groupType, file.name, file.language}] =
        ModuleResource{groupType, file.name, file.language, group, fileBytes};
}

bool Register(const char* fileName, const ResourceScript& script, const std::string& sourceName,
              const std::string& baseFolder, std::string* error) {
    if (!fileName || !*fileName)
        return Refuse(error, "a resource module needs a file name");
    auto module = std::make_shared<ResourceModuleData>();
    if (!BuildResourceModule(script, sourceName, baseFolder, *module, error))
        return false;
    module->fileName = fileName;
    BuiltinModuleDefinition definition;
    definition.fileName = fileName;
    std::lock_guard<std::mutex> guard(Modules().lock);
    if (!RegisterBuiltinModule(definition))
        return Refuse(error, std::string(fileName) + " is loaded and cannot be replaced");
    auto& slot = Modules().byName[CanonicalName(fileName)];
    if (slot)
        Modules().retired.push_back(slot);
    slot = module;
    return true;
}

} // namespace

bool BuildResourceModule(const ResourceScript& script, const std::string& sourceName,
                         const std::string& baseFolder, ResourceModuleData& module,
                         std::string* error) {
    module.strings = script.strings;
    for (const DialogTemplate& dialog : script.dialogs) {
        ResourceId name{dialog.nameId, dialog.name};
        module.dialogs[name] = dialog;
        ResourceId type{5, {}};
        module.resources[ResourceKey{type, name, dialog.language}] =
            ModuleResource{type, name, dialog.language, DialogTemplateBytes(dialog), {}};
    }
    WORD lastIconId = 0, lastCursorId = 0;
    for (const ScriptFileResource& file : script.files) {
        std::string where = sourceName + ":" + std::to_string(file.line) + ": ";
        ModuleResource resource{file.type, file.name, file.language, {}, {}};
        if (!ReadWholeFile(baseFolder + "/" + file.path, resource.fileBytes, kMaxResourceFileBytes))
            return Refuse(error, where + "cannot read \"" + file.path + "\"");
        std::string why;
        if (!CheckResourceFile(file, resource.fileBytes, why))
            return Refuse(error, where + "\"" + file.path + "\" is broken: " + why);
        const bool standard = file.type.text.empty();
        if (standard && (file.type.number == 1 || file.type.number == 3)) {
            AddIconGroup(file, resource.fileBytes, module,
                         file.type.number == 1 ? lastCursorId : lastIconId);
            continue;
        }
        const bool bitmap = standard && file.type.number == 2;
        resource.bytes =
            bitmap ? resource.fileBytes.substr(kBmpFileHeaderSize) : resource.fileBytes;
        module.resources[ResourceKey{file.type, file.name, file.language}] = std::move(resource);
    }
    return true;
}

const ModuleResource* FindModuleResource(const ResourceModuleData& module, const ResourceId& type,
                                         const ResourceId& name, int language) {
    auto first = module.resources.lower_bound(ResourceKey{type, name, 0});
    const ModuleResource* exact = nullptr;
    const ModuleResource* samePrimary = nullptr;
    const ModuleResource* neutral = nullptr;
    const ModuleResource* any = nullptr;
    for (auto it = first;
         it != module.resources.end() && it->first.type == type && it->first.name == name; ++it) {
        const WORD found = it->first.language;
        if (!any)
            any = &it->second;
        if (language >= 0 && found == WORD(language))
            exact = &it->second;
        else if (language >= 0 && !samePrimary && (found & 0x3FF) == (language & 0x3FF))
            samePrimary = &it->second;
        if (!neutral && (found & 0x3FF) == 0)
            neutral = &it->second;
    }
    if (language < 0)
        return neutral ? neutral : any;
    return exact ? exact : samePrimary ? samePrimary : neutral;
}

ResourceModuleData* ResourceModuleOf(HINSTANCE module) {
    if (!module)
        return nullptr;
    char path[MAX_PATH];
    if (GetModuleFileName(module, path, sizeof path) == 0)
        return nullptr;
    std::lock_guard<std::mutex> guard(Modules().lock);
    auto found = Modules().byName.find(CanonicalName(path));
    return found == Modules().byName.end() ? nullptr : found->second.get();
}

ResourceId ResourceIdFromArgument(LPCSTR name) {
    ResourceId id;
    if (IS_INTRESOURCE(name)) {
        id.number = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
        return id;
    }
    std::string text = name;
    if (text.size() > 1 && text[0] == '#' &&
        text.find_first_not_of("0123456789", 1) == std::string::npos && text.size() <= 6) {
        long value = std::stol(text.substr(1));
        if (value > 0 && value <= 65535) {
            id.number = static_cast<WORD>(value);
            return id;
        }
    }
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    id.text = text;
    return id;
}

} // namespace platform

bool RegisterResourceModule(const char* fileName, const std::string& scriptPath,
                            std::string* error) {
    std::string text;
    if (!ReadWholeFile(scriptPath, text, platform::kMaxIniFileBytes)) {
        if (error)
            *error = "cannot read resource script " + scriptPath;
        return false;
    }
    size_t slash = scriptPath.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : scriptPath.substr(0, slash);
    std::string name = scriptPath.substr(slash == std::string::npos ? 0 : slash + 1);
    platform::ResourceScript script;
    if (!platform::ParseResourceScript(text, name, folder, script, error))
        return false;
    return platform::Register(fileName, script, name, folder, error);
}

bool RegisterResourceModuleText(const char* fileName, const std::string& scriptText,
                                const std::string& baseFolder, std::string* error) {
    platform::ResourceScript script;
    std::string name = fileName ? fileName : "";
    if (!platform::ParseResourceScript(scriptText, name, baseFolder, script, error))
        return false;
    return platform::Register(fileName, script, name, baseFolder, error);
}

bool UnregisterResourceModule(const char* fileName) {
    if (!fileName || !UnregisterBuiltinModule(fileName))
        return false;
    auto& table = platform::Modules();
    std::lock_guard<std::mutex> guard(table.lock);
    auto found = table.byName.find(platform::CanonicalName(fileName));
    if (found != table.byName.end()) {
        table.retired.push_back(found->second);
        table.byName.erase(found);
    }
    return true;
}

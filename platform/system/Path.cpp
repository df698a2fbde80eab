#include "platform/system/Path.h"

#include "platform/CodePage.h"
#include "platform/Errors.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

std::string join(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

// The entry of the folder whose name equals `name` ignoring ASCII case.
bool findIgnoringCase(const std::string& folder, const std::string& name, std::string& found) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    bool matched = false;
    while (dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            matched = true;
            break;
        }
    }
    closedir(dir);
    return matched;
}

std::string resolveCase(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    std::string resolved = (!path.empty() && path[0] == '/') ? "/" : "";
    bool searching = true;
    for (const std::string& part : parts) {
        std::string candidate = join(resolved, part);
        if (searching && part != "." && part != ".." && !exists(candidate)) {
            std::string actual;
            if (findIgnoringCase(resolved, part, actual))
                candidate = join(resolved, actual);
            else
                searching = false; // the rest does not exist: keep it as written
        }
        resolved = candidate;
    }
    return resolved;
}

} // namespace

std::string NativePath(const char* path) {
    if (!path)
        return std::string();
    // Decoded character by character, so a trail byte that equals '\\' stays
    // inside its character; UTF-8 never puts a '\\' or '/' byte inside one.
    const std::string utf8 = platform::GbkToUtf8(path);
    std::string native;
    for (char c : utf8) {
        char ch = (c == '\\') ? '/' : c;
        if (ch == '/' && !native.empty() && native.back() == '/')
            continue;
        native.push_back(ch);
    }
    if (native.empty() || exists(native))
        return native;
    return resolveCase(native);
}

std::string WindowsPath(const std::string& nativePath) {
    std::string path = nativePath;
    for (char& ch : path)
        if (ch == '/')
            ch = '\\';
    return platform::Utf8ToGbk(path);
}

std::string DesktopPath(const char* gbkPath) {
    std::string path = gbkPath ? gbkPath : "";
    for (size_t at = 0; at < path.size(); at += size_t(platform::GbkCharLength(path, at)))
        if (path[at] == '\\')
            path[at] = '/';
    return path;
}

size_t LastPathSeparator(std::string_view gbkPath) {
    size_t last = std::string_view::npos;
    for (size_t at = 0; at < gbkPath.size(); at += size_t(platform::GbkCharLength(gbkPath, at)))
        if (gbkPath[at] == '\\' || gbkPath[at] == '/')
            last = at;
    return last;
}

std::string ProgramPath() {
    std::string path(4096, '\0');
    ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0)
        return std::string();
    path.resize(static_cast<size_t>(length));
    return path;
}

std::string ConfigFolder() {
    std::string folder;
    if (const char* own = getenv("PELLOR_CONFIG_DIR"); own && *own) {
        folder = own;
    } else if (const char* xdg = getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        folder = std::string(xdg) + "/pellor";
    } else {
        const char* home = getenv("HOME");
        folder = std::string(home && *home ? home : "/tmp") + "/.config/pellor";
    }
    // Create each missing level; an existing one is fine.
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        mkdir(folder.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos)
            break;
    }
    return folder;
}

#include "sprite/AppServices.h"

#include "platform/system/Module.h"
#include "platform/system/Path.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>

namespace {

CString g_exeFolderOverride;
CString g_logFileOverride;
CLock g_logLock;

CString LogFilePath() {
    if (!g_logFileOverride.IsEmpty())
        return g_logFileOverride;
    return GetExeFolder() + "Pellor.log";
}

} // namespace

void WriteLog(LPCSTR format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);

    const time_t now = time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    char date[16], clock[16];
    strftime(date, sizeof date, "%Y-%m-%d", &local);
    strftime(clock, sizeof clock, "%H:%M:%S", &local);

    CLockGuard guard(g_logLock);
    FILE* file = fopen(NativePath(LogFilePath()).c_str(), "ab");
    if (!file)
        return;
    fprintf(file, "%s %s %s\r\n", date, clock, text);
    fclose(file);
}

CString GetExeFolder() {
    if (!g_exeFolderOverride.IsEmpty())
        return g_exeFolderOverride;
    char path[MAX_PATH] = {};
    GetModuleFileName(nullptr, path, MAX_PATH);
    CString folder(path);
    return folder.Left(folder.ReverseFind('\\') + 1);
}

BOOL FileExists(LPCSTR path) {
    if (!path || !*path)
        return FALSE;
    const DWORD attributes = GetFileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void SetExeFolderOverride(LPCSTR folder) {
    g_exeFolderOverride = folder ? folder : "";
}

void SetLogFileOverride(LPCSTR path) {
    g_logFileOverride = path ? path : "";
}

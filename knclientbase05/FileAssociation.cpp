#include "knclientbase05/FileAssociation.h"

#include "knclientbase05/GameRegistry.h"
#include "platform/system/Registry.h"

namespace {

struct CommandForms {
    const char* open;
    const char* print;
    const char* printTo;
};

// The launcher's commands take the shared folder, the own program's its
// game folder; both then the game name.
constexpr CommandForms kLauncher = {
    "%s\\run.exe %s \"%%1\"",
    "%s\\run.exe %s /p \"%%1\"",
    "%s\\run.exe %s /pt \"%%1\" \"%%2\" \"%%3\" \"%%4\"",
};
constexpr CommandForms kOwnProgram = {
    "%s\\%s \"%%1\"",
    "%s\\%s /p \"%%1\"",
    "%s\\%s /pt \"%%1\" \"%%2\" \"%%3\" \"%%4\"",
};

CString GameFolder(LPCSTR game) {
    CString key;
    key.Format("Software\\Quillane\\Game\\%s", game);
    return RegGetString(key, "Path", "");
}

bool SetDefault(const CString& subKey, const CString& text) {
    return RegSetValue(HKEY_CLASSES_ROOT, subKey, REG_SZ, text,
                       static_cast<DWORD>(text.GetLength() + 1)) == ERROR_SUCCESS;
}

int Register(const CommandForms& forms, const CString& commandFolder, LPCSTR progIdSuffix,
             LPCSTR game, LPCSTR description, LPCSTR extension, int iconIndex, BOOL print,
             BOOL printTo) {
    CString progId;
    progId.Format("Quillane.%s", progIdSuffix);
    CString icon;
    icon.Format("%s\\%s_Res.Dll,%d", GameFolder(game).GetString(), game, iconIndex);
    CString command;
    command.Format(forms.open, commandFolder.GetString(), game);
    if (!SetDefault(progId, description) || !SetDefault(progId + "\\DefaultIcon", icon) ||
        !SetDefault(progId + "\\Shell\\Open\\Command", command))
        return 0;
    if (print) {
        command.Format(forms.print, commandFolder.GetString(), game);
        if (!SetDefault(progId + "\\Shell\\Print\\Command", command))
            return 0;
    }
    // Under its own verb, so that it does not replace the print command.
    if (printTo) {
        command.Format(forms.printTo, commandFolder.GetString(), game);
        if (!SetDefault(progId + "\\Shell\\PrintTo\\Command", command))
            return 0;
    }
    return SetDefault(extension, progId) ? 1 : 0;
}

} // namespace

int RegisterFileType(LPCSTR progIdSuffix, LPCSTR game, LPCSTR description, LPCSTR extension,
                     int iconIndex, BOOL print, BOOL printTo) {
    CString share = RegGetString("Software\\Quillane\\Game\\Share", "Path", "");
    return Register(kLauncher, share, progIdSuffix, game, description, extension, iconIndex, print,
                    printTo);
}

int RegisterFileTypeOwnProgram(LPCSTR progIdSuffix, LPCSTR game, LPCSTR description,
                               LPCSTR extension, int iconIndex, BOOL print, BOOL printTo) {
    return Register(kOwnProgram, GameFolder(game), progIdSuffix, game, description, extension,
                    iconIndex, print, printTo);
}

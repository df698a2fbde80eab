// The folder picker dialog.

#include "platform/controls/FolderPicker.h"

#include "platform/CodePage.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Dialog.h"
#include "platform/system/Path.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

struct ITEMIDLIST {
    char path[1]; // GBK, NUL-terminated; allocated to its length
};

namespace {

const char kFace[] = "\xcb\xce\xcc\xe5"; // 宋体 in GBK
const char kUp[] = "..";

LPITEMIDLIST NewList(const std::string& gbkPath) {
    auto* list = static_cast<ITEMIDLIST*>(std::malloc(gbkPath.size() + 1));
    if (list)
        std::memcpy(list->path, gbkPath.c_str(), gbkPath.size() + 1);
    return list;
}

bool HasGbkForm(const std::string& utf8) {
    return platform::GbkToUtf8(platform::Utf8ToGbk(utf8)) == utf8;
}

std::string StartFolder(LPCITEMIDLIST root) {
    std::error_code error;
    if (root) {
        std::string native = NativePath(root->path);
        if (std::filesystem::is_directory(native, error))
            return std::filesystem::absolute(native, error).lexically_normal().string();
    }
    const char* home = std::getenv("HOME");
    return home && std::filesystem::is_directory(home, error) ? std::string(home) : "/";
}

DialogControlTemplate Control(const char* className, const std::string& text, int id, DWORD style,
                              DialogUnitRect rect) {
    DialogControlTemplate c;
    c.className = className;
    c.text = text;
    c.id = id;
    c.rect = rect;
    c.style = WS_CHILD | WS_VISIBLE | style;
    return c;
}

class FolderPickerDialog : public CDialog {
public:
    FolderPickerDialog(const BROWSEINFO& info, std::string start)
        : m_info(info), m_folder(std::move(start)) {
        DialogTemplate t;
        t.caption = platform::Utf8ToGbk("浏览文件夹");
        t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
        t.rect = {0, 0, 220, 200};
        t.fontPointSize = 9;
        t.fontFace = kFace;
        t.fontCharSet = 134; // GB2312
        t.controls.push_back(Control(WC_STATIC, info.lpszTitle ? info.lpszTitle : "",
                                     IDC_FOLDER_TITLE, SS_LEFT | SS_NOPREFIX, {7, 7, 206, 16}));
        t.controls.push_back(Control(WC_STATIC, "", IDC_FOLDER_PATH,
                                     SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, {7, 25, 206, 10}));
        t.controls.push_back(Control(WC_LISTBOX, "", IDC_FOLDER_LIST,
                                     LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP,
                                     {7, 38, 206, 134}));
        t.controls.push_back(Control(WC_BUTTON, platform::Utf8ToGbk("确定"), IDOK,
                                     BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, {109, 178, 50, 14}));
        t.controls.push_back(Control(WC_BUTTON, platform::Utf8ToGbk("取消"), IDCANCEL,
                                     BS_PUSHBUTTON | WS_TABSTOP, {163, 178, 50, 14}));
        InitModalIndirect(t, info.hwndOwner ? CWnd::FromHandle(info.hwndOwner) : nullptr);
    }

    const std::string& Chosen() const { return m_chosen; }

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        Fill();
        CenterWindow();
        return TRUE;
    }

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) == IDC_FOLDER_LIST && HIWORD(wParam) == LBN_DBLCLK) {
            std::string entry = Selected();
            if (!entry.empty())
                Open(entry);
            return TRUE;
        }
        return CDialog::OnCommand(wParam, lParam);
    }

    void OnOK() override {
        std::string entry = Selected();
        std::string native = m_folder;
        if (entry == kUp)
            native = Parent(m_folder);
        else if (!entry.empty())
            native = Child(m_folder, entry);
        m_chosen = native;
        CDialog::OnOK();
    }

private:
    static std::string Parent(const std::string& folder) {
        std::filesystem::path parent = std::filesystem::path(folder).parent_path();
        return parent.empty() ? std::string("/") : parent.string();
    }
    // The subfolder of a Linux folder named by a GBK entry of the list.
    static std::string Child(const std::string& folder, const std::string& gbkName) {
        return NativePath((WindowsPath(folder == "/" ? "" : folder) + "\\" + gbkName).c_str());
    }

    std::string Selected() const {
        HWND list = ::GetDlgItem(m_hWnd, IDC_FOLDER_LIST);
        LRESULT index = ::SendMessage(list, LB_GETCURSEL, 0, 0);
        if (index == LB_ERR)
            return {};
        LRESULT length = ::SendMessage(list, LB_GETTEXTLEN, WPARAM(index), 0);
        if (length <= 0)
            return {};
        std::string text(size_t(length) + 1, '\0');
        ::SendMessage(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::strlen(text.c_str()));
        return text;
    }

    void Open(const std::string& entry) {
        m_folder = entry == kUp ? Parent(m_folder) : Child(m_folder, entry);
        Fill();
    }

    // The folder's path and its subfolders (sorted, hidden ones left out).
    void Fill() {
        SetDlgItemText(IDC_FOLDER_PATH, DesktopPath(WindowsPath(m_folder).c_str()).c_str());
        HWND list = ::GetDlgItem(m_hWnd, IDC_FOLDER_LIST);
        ::SendMessage(list, LB_RESETCONTENT, 0, 0);
        if (m_folder != "/")
            ::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kUp));
        std::vector<std::string> names;
        std::error_code error;
        for (auto it = std::filesystem::directory_iterator(m_folder, error);
             !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
            std::string name = it->path().filename().string();
            std::error_code typeError;
            if (name.empty() || name[0] == '.' || !it->is_directory(typeError) || !HasGbkForm(name))
                continue;
            names.push_back(WindowsPath(name));
        }
        std::sort(names.begin(), names.end());
        for (const std::string& name : names)
            ::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }

    BROWSEINFO m_info;
    std::string m_folder; // UTF-8, Linux form
    std::string m_chosen;
};

} // namespace

LPITEMIDLIST SHBrowseForFolder(LPBROWSEINFO info) {
    if (!info)
        return nullptr;
    FolderPickerDialog dialog(*info, StartFolder(info->pidlRoot));
    if (dialog.DoModal() != IDOK || dialog.Chosen().empty())
        return nullptr;
    std::string gbk = WindowsPath(dialog.Chosen());
    if (info->pszDisplayName) {
        std::string name = WindowsPath(std::filesystem::path(dialog.Chosen()).filename().string());
        name.resize(std::min<size_t>(name.size(), MAX_PATH - 1));
        std::memcpy(info->pszDisplayName, name.c_str(), name.size() + 1);
    }
    return NewList(gbk);
}

BOOL SHGetPathFromIDList(LPCITEMIDLIST list, LPSTR path) {
    if (!list || !path)
        return FALSE;
    size_t length = std::strlen(list->path);
    if (length >= MAX_PATH) {
        path[0] = '\0';
        return FALSE;
    }
    std::memcpy(path, list->path, length + 1);
    return TRUE;
}

LPITEMIDLIST ILCreateFromPath(LPCSTR path) {
    return path ? NewList(path) : nullptr;
}

void CoTaskMemFree(LPVOID block) {
    std::free(block);
}

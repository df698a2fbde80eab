#pragma once

// A dialog template as a resource script's DIALOGEX statement describes it,
// already parsed: what CDialog needs to build a dialog and its controls.
//
//   3005 DIALOGEX 0, 0, 200, 80
//   STYLE DS_MODALFRAME | WS_POPUP
//   CAPTION "提示"
//   FONT 9, "宋体"
//   BEGIN
//       LTEXT        "",IDC_TEXT,40,10,150,30
//       DEFPUSHBUTTON "确定",IDOK,40,55,50,14
//       CONTROL      "",IDC_PIC,"Static",SS_BITMAP | NOT WS_VISIBLE,5,5,30,30
//   END
//
// Rectangles are in dialog units; the dialog maps them to pixels from its font
// (x * average character width / 4, y * character height / 8).
//
// Texts (caption, font face, control texts) are GBK, the program's run-time
// encoding. Styles hold what the script asked for with the resource
// compiler's defaults applied: every control has WS_CHILD | WS_VISIBLE unless
// the script says "NOT WS_VISIBLE"; a push button has WS_TABSTOP; a text
// static has WS_GROUP; the dialog gets DS_SETFONT when it names a font and
// WS_CAPTION when it has a caption. See ResourceScript.h for the script.
//
// Look a template up with FindDialogTemplate (one module) or
// LoadDialogTemplate (the resource search: resource handle, then the modules
// that joined it); both are in platform/Resource.h.

#include "platform/Types.h"
#include "platform/resources/ResourceStyles.h"

#include <string>
#include <vector>

// Window class names of the standard controls, as the template carries them.
// CONTROL statements may name these in any case; the parser stores them
// upper-case. Other class names are kept exactly as written.
#define WC_BUTTON_NAME "BUTTON"
#define WC_STATIC_NAME "STATIC"
#define WC_EDIT_NAME "EDIT"
#define WC_LISTBOX_NAME "LISTBOX"
#define WC_COMBOBOX_NAME "COMBOBOX"
#define WC_SCROLLBAR_NAME "SCROLLBAR"

// A rectangle in dialog units: left/top and width/height as the script
// writes them.
struct DialogUnitRect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

struct DialogControlTemplate {
    std::string className; // WC_BUTTON_NAME ... or a registered class's name
    // Caption of buttons and text statics. For an icon or bitmap static
    // (SS_ICON, SS_BITMAP) the text names the picture: either the name
    // written in the script, or, when the script gave a number, empty with
    // the number in textResourceId.
    std::string text;
    WORD textResourceId = 0;
    int id = -1; // IDC_STATIC (-1) for controls nobody addresses
    DialogUnitRect rect;
    DWORD style = 0; // includes WS_CHILD (and WS_VISIBLE unless removed)
    DWORD exStyle = 0;
    int line = 0; // line of the script, for messages about the control
};

struct DialogTemplate {
    // How the script named the template: a number (nameId), or a text name.
    WORD nameId = 0;
    std::string name;
    WORD language = 0; // LANGUAGE in effect where the script defines it

    std::string caption;
    DWORD style = 0;
    DWORD exStyle = 0;
    DialogUnitRect rect; // x, y are where a dialog without DS_CENTER starts

    // The dialog font (FONT statement). pointSize 0 means none was named: use
    // the system's dialog font.
    int fontPointSize = 0;
    std::string fontFace;
    int fontWeight = 0; // FW_* (0 = normal)
    BOOL fontItalic = FALSE;
    BYTE fontCharSet = 1; // DEFAULT_CHARSET

    // In the order the script lists them: that is the Tab order and the order
    // in which the dialog creates its children.
    std::vector<DialogControlTemplate> controls;

    // The control with this id, or null.
    const DialogControlTemplate* FindControl(int controlId) const {
        for (const DialogControlTemplate& control : controls)
            if (control.id == controlId)
                return &control;
        return nullptr;
    }
};

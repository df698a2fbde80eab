#include "platform/resources/ResourceScript.h"

#include "platform/CodePage.h"
#include "platform/resources/ResourceScriptLexer.h"
#include "platform/system/FileIo.h"
#include "platform/system/InputBounds.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace platform {

namespace {

constexpr int kMaxIncludeDepth = 8;

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// UTF-8 script text to the program's GBK; a character GBK cannot hold is an
// error rather than a silent '?'.
std::string ToGbk(const std::string& utf8, int line) {
    std::string gbk = Utf8ToGbk(utf8);
    if (GbkToUtf8(gbk) != utf8)
        throw ScriptError(line, "text is not UTF-8 or has characters GBK cannot hold");
    return gbk;
}

class Parser {
public:
    Parser(ResourceScript& script, const std::string& baseFolder)
        : m_script(script), m_baseFolder(baseFolder) {}

    void ParseScript(const std::string& text) {
        m_tokens = LexResourceScript(text);
        m_pos = 0;
        while (Peek().kind != TokenKind::End) {
            if (Peek().kind == TokenKind::Directive)
                Directive(Next(), 0);
            else
                Statement();
        }
    }

    // Headers give ids only: directives and comments.
    void ParseHeader(const std::string& text, int depth) {
        for (const Token& token : LexResourceScript(text)) {
            if (token.kind == TokenKind::Directive)
                Directive(token, depth);
            else if (token.kind != TokenKind::End)
                throw ScriptError(token.line, "a header may hold only #define lines");
        }
    }

private:
    // ---- tokens

    const Token& Peek(size_t ahead = 0) const {
        return m_tokens[std::min(m_pos + ahead, m_tokens.size() - 1)];
    }
    const Token& Next() {
        const Token& token = Peek();
        if (m_pos < m_tokens.size() - 1)
            ++m_pos;
        return token;
    }
    bool IsPunct(const Token& token, char c) const {
        return token.kind == TokenKind::Punct && token.text[0] == c;
    }
    bool IsWord(const Token& token, const char* word) const {
        return token.kind == TokenKind::Identifier && Upper(token.text) == word;
    }
    void Expect(char c, const char* what) {
        if (!IsPunct(Peek(), c))
            throw ScriptError(Peek().line, std::string("expected '") + c + "' " + what +
                                               ", found " + Describe(Peek()));
        Next();
    }
    static std::string Describe(const Token& token) {
        switch (token.kind) {
        case TokenKind::End:
            return "the end of the file";
        case TokenKind::String:
            return "a text";
        case TokenKind::Directive:
            return "'#" + token.text + "'";
        default:
            return "'" + token.text + "'";
        }
    }
    bool OptionalComma() {
        if (!IsPunct(Peek(), ','))
            return false;
        Next();
        return true;
    }

    // ---- directives

    void Directive(const Token& token, int depth) {
        std::string line = token.text;
        size_t start = line.find_first_not_of(" \t");
        std::string rest = start == std::string::npos ? "" : line.substr(start);
        size_t wordEnd = rest.find_first_of(" \t\r");
        std::string word = rest.substr(0, wordEnd);
        std::string argument = wordEnd == std::string::npos ? "" : rest.substr(wordEnd);
        if (word == "define")
            Define(argument, token.line);
        else if (word == "include")
            Include(argument, token.line, depth);
        else if (word != "pragma")
            throw ScriptError(token.line, "unsupported directive '#" + word + "'");
    }

    void Define(const std::string& argument, int line) {
        std::vector<Token> tokens = LexResourceScript(argument, line);
        if (tokens[0].kind != TokenKind::Identifier)
            throw ScriptError(line, "#define needs a name");
        long value = 0;
        if (tokens.size() > 2) {
            std::swap(tokens, m_tokens);
            size_t saved = m_pos;
            m_pos = 1;
            value = Expression();
            bool trailing = Peek().kind != TokenKind::End;
            std::swap(tokens, m_tokens);
            m_pos = saved;
            if (trailing)
                throw ScriptError(line, "unexpected text after the value of " + tokens[0].text);
        }
        auto [it, added] = m_script.symbols.emplace(tokens[0].text, value);
        if (!added && it->second != value)
            throw ScriptError(line, tokens[0].text + " is defined again with another value");
    }

    void Include(const std::string& argument, int line, int depth) {
        size_t open = argument.find_first_not_of(" \t");
        if (open != std::string::npos && argument[open] == '<')
            return; // system headers: the styles are built in
        size_t close = open == std::string::npos ? std::string::npos : argument.find('"', open + 1);
        if (open == std::string::npos || argument[open] != '"' || close == std::string::npos)
            throw ScriptError(line, "#include needs a \"file\"");
        if (depth >= kMaxIncludeDepth)
            throw ScriptError(line, "#include nested too deeply");
        std::string name = argument.substr(open + 1, close - open - 1);
        std::string bytes;
        if (!ReadWholeFile(m_baseFolder + "/" + name, bytes, kMaxIniFileBytes))
            throw ScriptError(line, "cannot read included file \"" + name + "\"");
        try {
            ParseHeader(bytes, depth + 1);
        } catch (const ScriptError& inner) {
            throw ScriptError(line, name + ":" + std::to_string(inner.line) + ": " + inner.what());
        }
    }

    // ---- values

    long Primary() {
        const Token& token = Next();
        if (token.kind == TokenKind::Number)
            return static_cast<long>(token.number);
        if (token.kind == TokenKind::Identifier)
            return Symbol(token);
        if (IsPunct(token, '(')) {
            long value = Expression();
            Expect(')', "to close '('");
            return value;
        }
        if (IsPunct(token, '-'))
            return -Primary();
        if (IsPunct(token, '~'))
            return static_cast<long>(~static_cast<DWORD>(Primary()));
        throw ScriptError(token.line, "expected a number or a name, found " + Describe(token));
    }

    long Symbol(const Token& token) {
        auto found = m_script.symbols.find(token.text);
        if (found != m_script.symbols.end())
            return found->second;
        long value = 0;
        if (LookupBuiltinSymbol(token.text, value))
            return value;
        throw ScriptError(token.line, "unknown name '" + token.text + "'");
    }

    long Expression() {
        long value = Primary();
        for (;;) {
            if (IsPunct(Peek(), '|')) {
                Next();
                value =
                    static_cast<long>(static_cast<DWORD>(value) | static_cast<DWORD>(Primary()));
            } else if (IsPunct(Peek(), '+')) {
                Next();
                value += Primary();
            } else if (IsPunct(Peek(), '-')) {
                Next();
                value -= Primary();
            } else {
                return value;
            }
        }
    }

    // A style list starting from the statement's own default: "A | NOT B".
    DWORD Styles(DWORD value) {
        for (;;) {
            bool remove = false;
            if (IsWord(Peek(), "NOT")) {
                Next();
                remove = true;
            }
            DWORD term = static_cast<DWORD>(Primary());
            value = remove ? value & ~term : value | term;
            if (!IsPunct(Peek(), '|'))
                return value;
            Next();
        }
    }

    int Integer(const char* what) {
        int line = Peek().line;
        long value = Expression();
        if (value < -32768 || value > 65535)
            throw ScriptError(line, std::string(what) + " out of range");
        return static_cast<int>(value);
    }

    std::string Text(const char* what) {
        if (Peek().kind != TokenKind::String)
            throw ScriptError(Peek().line, std::string("expected ") + what + " in quotes, found " +
                                               Describe(Peek()));
        const Token& token = Next();
        return ToGbk(token.text, token.line);
    }

    ResourceId Name(const Token& token) {
        ResourceId id;
        long value = 0;
        if (token.kind == TokenKind::Number)
            value = static_cast<long>(token.number);
        else if (m_script.symbols.count(token.text) || LookupBuiltinSymbol(token.text, value))
            value = Symbol(token);
        else {
            id.text = Upper(token.text);
            return id;
        }
        if (value <= 0 || value > 65535)
            throw ScriptError(token.line, "resource id out of range 1..65535");
        id.number = static_cast<WORD>(value);
        return id;
    }

    void Block(const char* what) {
        if (IsWord(Peek(), "BEGIN") || IsPunct(Peek(), '{')) {
            Next();
            return;
        }
        throw ScriptError(Peek().line, std::string("expected BEGIN to open ") + what + ", found " +
                                           Describe(Peek()));
    }
    bool BlockEnd() {
        if (IsWord(Peek(), "END") || IsPunct(Peek(), '}')) {
            Next();
            return true;
        }
        if (Peek().kind == TokenKind::End)
            throw ScriptError(Peek().line, "END missing at the end of the file");
        return false;
    }

    // ---- statements

    void Statement() {
        const Token& first = Next();
        if (IsWord(first, "STRINGTABLE"))
            return StringTable();
        if (IsWord(first, "LANGUAGE")) {
            m_language = Language();
            return;
        }
        if (first.kind != TokenKind::Identifier && first.kind != TokenKind::Number)
            throw ScriptError(first.line,
                              "expected a resource statement, found " + Describe(first));
        ResourceId name = Name(first);
        const Token& kind = Next();
        if (IsWord(kind, "DIALOGEX") || IsWord(kind, "DIALOG"))
            return Dialog(name, first.line);
        if (kind.kind != TokenKind::Identifier && kind.kind != TokenKind::Number)
            throw ScriptError(kind.line,
                              "expected a resource type after the name, found " + Describe(kind));
        ResourceId type;
        if (IsWord(kind, "BITMAP"))
            type.number = 2;
        else if (IsWord(kind, "CURSOR"))
            type.number = 1;
        else if (IsWord(kind, "ICON"))
            type.number = 3;
        else if (IsWord(kind, "MENU") || IsWord(kind, "ACCELERATORS") ||
                 IsWord(kind, "VERSIONINFO"))
            throw ScriptError(kind.line, kind.text + " resources are not supported");
        else
            type = Name(kind);
        if (Peek().kind != TokenKind::String)
            throw ScriptError(Peek().line, "expected the file of resource " + first.text +
                                               " in quotes, found " + Describe(Peek()));
        std::string path = Next().text;
        for (const ScriptFileResource& other : m_script.files)
            if (other.type == type && other.name == name && other.language == m_language)
                throw ScriptError(first.line,
                                  "resource " + first.text +
                                      " of this type and language already defined on line " +
                                      std::to_string(other.line));
        m_script.files.push_back(ScriptFileResource{type, name, path, first.line, m_language});
    }

    // "LANGUAGE primary, sub" as a language id.
    WORD Language() {
        int line = Peek().line;
        long primary = Expression();
        Expect(',', "between the language's two parts");
        long sub = Expression();
        if (primary < 0 || primary > 0x3FF || sub < 0 || sub > 0x3F)
            throw ScriptError(line, "language out of range");
        return static_cast<WORD>(sub << 10 | primary);
    }

    void StringTable() {
        while (!IsWord(Peek(), "BEGIN") && !IsPunct(Peek(), '{')) {
            if (IsWord(Peek(), "LANGUAGE") || IsWord(Peek(), "CHARACTERISTICS") ||
                IsWord(Peek(), "VERSION") || Peek().kind == TokenKind::Number ||
                IsPunct(Peek(), ',')) {
                Next();
                continue;
            }
            Block("the string table");
        }
        Block("the string table");
        while (!BlockEnd()) {
            int line = Peek().line;
            long id = Expression();
            if (id < 0 || id > 65535)
                throw ScriptError(line, "string id out of range 0..65535");
            OptionalComma();
            std::string text = Text("the string");
            auto [it, added] = m_script.strings.emplace(static_cast<UINT>(id), text);
            if (!added)
                throw ScriptError(line, "string " + std::to_string(id) + " defined twice");
        }
    }

    void Dialog(const ResourceId& name, int line) {
        for (const DialogTemplate& other : m_script.dialogs)
            if (other.nameId == name.number && other.name == name.text)
                throw ScriptError(line, "dialog defined twice");
        DialogTemplate dialog;
        dialog.nameId = name.number;
        dialog.name = name.text;
        dialog.language = m_language;
        dialog.rect = Rect(true);
        if (OptionalComma())
            Expression(); // help id
        bool styled = false;
        DWORD added = 0;
        for (;;) {
            if (IsWord(Peek(), "STYLE")) {
                Next();
                dialog.style = Styles(0);
                styled = true;
            } else if (IsWord(Peek(), "EXSTYLE")) {
                Next();
                dialog.exStyle = Styles(0);
            } else if (IsWord(Peek(), "CAPTION")) {
                Next();
                dialog.caption = Text("the caption");
                added |= WS_CAPTION;
            } else if (IsWord(Peek(), "FONT")) {
                Next();
                Font(dialog);
                added |= DS_SETFONT;
            } else if (IsWord(Peek(), "LANGUAGE")) {
                Next();
                dialog.language = Language();
            } else if (IsWord(Peek(), "MENU") || IsWord(Peek(), "CLASS")) {
                throw ScriptError(Peek().line, Peek().text + " in dialogs is not supported");
            } else {
                break;
            }
        }
        if (!styled)
            dialog.style = WS_POPUP | WS_BORDER | WS_SYSMENU;
        dialog.style |= added;
        Block("the dialog's controls");
        while (!BlockEnd())
            dialog.controls.push_back(Control());
        m_script.dialogs.push_back(std::move(dialog));
    }

    void Font(DialogTemplate& dialog) {
        int line = Peek().line;
        dialog.fontPointSize = Integer("font size");
        if (dialog.fontPointSize <= 0)
            throw ScriptError(line, "font size must be positive");
        Expect(',', "after the font size");
        dialog.fontFace = Text("the font face");
        if (!OptionalComma())
            return;
        dialog.fontWeight = Integer("font weight");
        if (!OptionalComma())
            return;
        dialog.fontItalic = Integer("italic flag") ? TRUE : FALSE;
        if (!OptionalComma())
            return;
        dialog.fontCharSet = static_cast<BYTE>(Integer("character set"));
    }

    DialogUnitRect Rect(bool leadingComma) {
        DialogUnitRect rect;
        if (!leadingComma)
            Expect(',', "before the position");
        rect.x = Integer("x");
        Expect(',', "after x");
        rect.y = Integer("y");
        Expect(',', "after y");
        rect.cx = Integer("width");
        Expect(',', "after the width");
        rect.cy = Integer("height");
        return rect;
    }

    struct ControlKind {
        const char* keyword;
        const char* className;
        DWORD style;
        bool hasText;
    };

    static const ControlKind* FindKind(const Token& token) {
        static const ControlKind kinds[] = {
            {"LTEXT", WC_STATIC_NAME, SS_LEFT | WS_GROUP, true},
            {"RTEXT", WC_STATIC_NAME, SS_RIGHT | WS_GROUP, true},
            {"CTEXT", WC_STATIC_NAME, SS_CENTER | WS_GROUP, true},
            {"PUSHBUTTON", WC_BUTTON_NAME, BS_PUSHBUTTON | WS_TABSTOP, true},
            {"DEFPUSHBUTTON", WC_BUTTON_NAME, BS_DEFPUSHBUTTON | WS_TABSTOP, true},
            {"CHECKBOX", WC_BUTTON_NAME, BS_CHECKBOX | WS_TABSTOP, true},
            {"AUTOCHECKBOX", WC_BUTTON_NAME, BS_AUTOCHECKBOX | WS_TABSTOP, true},
            {"RADIOBUTTON", WC_BUTTON_NAME, BS_RADIOBUTTON | WS_TABSTOP, true},
            {"AUTORADIOBUTTON", WC_BUTTON_NAME, BS_AUTORADIOBUTTON | WS_TABSTOP, true},
            {"GROUPBOX", WC_BUTTON_NAME, BS_GROUPBOX, true},
            {"EDITTEXT", WC_EDIT_NAME, ES_LEFT | WS_BORDER | WS_TABSTOP, false},
            {"LISTBOX", WC_LISTBOX_NAME, LBS_NOTIFY | WS_BORDER, false},
            {"COMBOBOX", WC_COMBOBOX_NAME, CBS_SIMPLE | WS_TABSTOP, false},
        };
        for (const ControlKind& kind : kinds)
            if (token.kind == TokenKind::Identifier && Upper(token.text) == kind.keyword)
                return &kind;
        return nullptr;
    }

    // A control's text: quoted, or (pictures) a resource number or name.
    void ControlText(DialogControlTemplate& control) {
        if (Peek().kind == TokenKind::String) {
            control.text = Text("the text");
            return;
        }
        ResourceId id = Name(Next());
        control.text = id.text;
        control.textResourceId = id.number;
    }

    int ControlId() {
        int line = Peek().line;
        long id = Expression();
        if (id < -1 || id > 65535)
            throw ScriptError(line, "control id out of range");
        return static_cast<int>(id);
    }

    DialogControlTemplate Control() {
        const Token& keyword = Next();
        DialogControlTemplate control;
        control.line = keyword.line;
        const DWORD base = WS_CHILD | WS_VISIBLE;
        if (const ControlKind* kind = FindKind(keyword)) {
            control.className = kind->className;
            if (kind->hasText) {
                control.text = Text("the control's text");
                Expect(',', "after the control's text");
            }
            control.id = ControlId();
            control.rect = Rect(false);
            control.style = base | kind->style;
            if (OptionalComma())
                control.style = Styles(control.style);
            if (OptionalComma())
                control.exStyle = Styles(0);
        } else if (IsWord(keyword, "ICON")) {
            control.className = WC_STATIC_NAME;
            ControlText(control);
            Expect(',', "after the icon's name");
            control.id = ControlId();
            Expect(',', "before x");
            control.rect.x = Integer("x");
            Expect(',', "after x");
            control.rect.y = Integer("y");
            control.style = base | SS_ICON;
            if (OptionalComma()) {
                control.rect.cx = Integer("width");
                Expect(',', "after the width");
                control.rect.cy = Integer("height");
                if (OptionalComma())
                    control.style = Styles(control.style);
                if (OptionalComma())
                    control.exStyle = Styles(0);
            }
        } else if (IsWord(keyword, "CONTROL")) {
            ControlText(control);
            Expect(',', "after the control's text");
            control.id = ControlId();
            Expect(',', "before the class name");
            std::string className = Text("the class name");
            std::string upper = Upper(className);
            static const std::set<std::string> standard = {WC_BUTTON_NAME,   WC_STATIC_NAME,
                                                           WC_EDIT_NAME,     WC_LISTBOX_NAME,
                                                           WC_COMBOBOX_NAME, WC_SCROLLBAR_NAME};
            control.className = standard.count(upper) ? upper : className;
            Expect(',', "after the class name");
            control.style = Styles(base);
            control.rect = Rect(false);
            if (OptionalComma())
                control.exStyle = Styles(0);
        } else {
            throw ScriptError(keyword.line, "expected a control, found " + Describe(keyword));
        }
        if (Peek().kind != TokenKind::Identifier && !IsPunct(Peek(), '}') &&
            Peek().kind != TokenKind::End)
            throw ScriptError(Peek().line, "unexpected " + Describe(Peek()) + " after a control");
        return control;
    }

    ResourceScript& m_script;
    WORD m_language = 0; // the last LANGUAGE statement's (neutral until one)
    std::string m_baseFolder;
    std::vector<Token> m_tokens;
    size_t m_pos = 0;
};

} // namespace

bool ParseResourceScript(const std::string& text, const std::string& sourceName,
                         const std::string& baseFolder, ResourceScript& script,
                         std::string* error) {
    ResourceScript parsed;
    try {
        Parser(parsed, baseFolder).ParseScript(text);
    } catch (const ScriptError& fault) {
        if (error)
            *error = sourceName + ":" + std::to_string(fault.line) + ": " + fault.what();
        return false;
    }
    script = std::move(parsed);
    return true;
}

} // namespace platform

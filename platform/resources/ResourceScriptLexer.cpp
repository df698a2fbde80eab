#include "platform/resources/ResourceScriptLexer.h"

#include <cctype>

namespace platform {

namespace {

class Lexer {
public:
    Lexer(const std::string& text, int firstLine) : m_text(text), m_line(firstLine) {}

    std::vector<Token> Run() {
        std::vector<Token> tokens;
        bool lineStart = true;
        while (m_pos < m_text.size()) {
            char c = m_text[m_pos];
            if (c == '\n') {
                ++m_line;
                ++m_pos;
                lineStart = true;
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++m_pos;
                continue;
            }
            if (SkipComment())
                continue;
            if (c == '#' && lineStart) {
                tokens.push_back(Directive());
                continue;
            }
            lineStart = false;
            if (std::isalpha(static_cast<unsigned char>(c)) || c == '_')
                tokens.push_back(Identifier());
            else if (std::isdigit(static_cast<unsigned char>(c)))
                tokens.push_back(Number());
            else if (c == '"')
                tokens.push_back(String());
            else if (std::string(",|()+-~{}").find(c) != std::string::npos) {
                tokens.push_back(Token{TokenKind::Punct, std::string(1, c), 0, m_line});
                ++m_pos;
            } else if (static_cast<unsigned char>(c) >= 0x80)
                throw ScriptError(m_line, "text outside quotes");
            else
                throw ScriptError(m_line, std::string("unexpected character '") + c + "'");
        }
        tokens.push_back(Token{TokenKind::End, "", 0, m_line});
        return tokens;
    }

private:
    bool SkipComment() {
        if (m_text.compare(m_pos, 2, "//") == 0) {
            while (m_pos < m_text.size() && m_text[m_pos] != '\n')
                ++m_pos;
            return true;
        }
        if (m_text.compare(m_pos, 2, "/*") == 0) {
            int startLine = m_line;
            size_t end = m_text.find("*/", m_pos + 2);
            if (end == std::string::npos)
                throw ScriptError(startLine, "comment is not closed");
            for (size_t i = m_pos; i < end; ++i)
                if (m_text[i] == '\n')
                    ++m_line;
            m_pos = end + 2;
            return true;
        }
        return false;
    }

    Token Directive() {
        size_t end = m_text.find('\n', m_pos);
        if (end == std::string::npos)
            end = m_text.size();
        Token token{TokenKind::Directive, m_text.substr(m_pos + 1, end - m_pos - 1), 0, m_line};
        m_pos = end;
        return token;
    }

    Token Identifier() {
        size_t start = m_pos;
        while (m_pos < m_text.size() &&
               (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) || m_text[m_pos] == '_'))
            ++m_pos;
        return Token{TokenKind::Identifier, m_text.substr(start, m_pos - start), 0, m_line};
    }

    Token Number() {
        size_t start = m_pos;
        int base = 10;
        if (m_text.compare(m_pos, 2, "0x") == 0 || m_text.compare(m_pos, 2, "0X") == 0) {
            base = 16;
            m_pos += 2;
        }
        uint64_t value = 0;
        size_t digits = 0;
        for (; m_pos < m_text.size(); ++m_pos, ++digits) {
            int digit = DigitValue(m_text[m_pos]);
            if (digit < 0 || digit >= base)
                break;
            value = value * base + digit;
            if (value > 0xFFFFFFFFull)
                throw ScriptError(m_line, "number too large");
        }
        if (digits == 0)
            throw ScriptError(m_line, "number without digits");
        while (m_pos < m_text.size() &&
               std::string("uUlL").find(m_text[m_pos]) != std::string::npos)
            ++m_pos;
        if (m_pos < m_text.size() &&
            (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) || m_text[m_pos] == '_'))
            throw ScriptError(m_line,
                              "malformed number '" + m_text.substr(start, m_pos - start + 1) + "'");
        return Token{TokenKind::Number, m_text.substr(start, m_pos - start),
                     static_cast<int64_t>(value), m_line};
    }

    static int DigitValue(char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    // "" stands for one quote, as in Windows resource scripts; the C escapes
    // the texts need are also read.
    Token String() {
        int line = m_line;
        std::string value;
        ++m_pos;
        for (;;) {
            if (m_pos >= m_text.size() || m_text[m_pos] == '\n')
                throw ScriptError(line, "text is not closed with '\"'");
            char c = m_text[m_pos++];
            if (c == '"') {
                if (m_pos < m_text.size() && m_text[m_pos] == '"') {
                    value += '"';
                    ++m_pos;
                    continue;
                }
                break;
            }
            if (c != '\\') {
                value += c;
                continue;
            }
            if (m_pos >= m_text.size())
                throw ScriptError(line, "text is not closed with '\"'");
            char e = m_text[m_pos++];
            switch (e) {
            case 'n':
                value += '\n';
                break;
            case 'r':
                value += '\r';
                break;
            case 't':
                value += '\t';
                break;
            case '\\':
                value += '\\';
                break;
            case '"':
                value += '"';
                break;
            default:
                throw ScriptError(line, std::string("unknown escape '\\") + e + "' in text");
            }
        }
        return Token{TokenKind::String, value, 0, line};
    }

    const std::string& m_text;
    size_t m_pos = 0;
    int m_line;
};

} // namespace

std::vector<Token> LexResourceScript(const std::string& text, int firstLine) {
    return Lexer(text, firstLine).Run();
}

} // namespace platform

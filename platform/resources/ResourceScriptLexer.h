#pragma once

// Tokens of a resource script (see ResourceScript.h). Internal to the parser.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// A fault in a script: the line it is on and what is wrong. The parser turns
// it into "file:line: message".
struct ScriptError : std::runtime_error {
    ScriptError(int line, const std::string& message) : std::runtime_error(message), line(line) {}
    int line;
};

enum class TokenKind {
    Identifier,
    Number,
    String,    // text holds the decoded UTF-8 bytes
    Punct,     // one of , | ( ) + - ~ { }
    Directive, // a whole '#' line: text holds what follows the '#'
    End,
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
    int64_t number = 0;
    int line = 0;
};

// Splits text into tokens; the last one is End. Throws ScriptError.
std::vector<Token> LexResourceScript(const std::string& text, int firstLine = 1);

} // namespace platform

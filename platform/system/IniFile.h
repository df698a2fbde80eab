#pragma once

// One ini file held as its lines, so that an edit rewrites only the line it
// touches and keeps comments, blank lines, line endings and everything it
// does not understand. Names compare without regard to ASCII case; where a
// section or key is written twice, the first one counts (as on Windows).

#include <string>
#include <unordered_map>
#include <vector>

class IniFile {
public:
    // Any bytes are accepted: what is not a section, entry or comment is kept
    // as an unknown line.
    static IniFile Parse(const std::string& bytes);
    std::string Serialize() const;

    // Each section name once, in file order.
    std::vector<std::string> SectionNames() const;
    bool HasSection(const std::string& section) const;
    // Each key of the section once, in file order.
    std::vector<std::string> KeyNames(const std::string& section) const;
    // The value with blanks and one pair of surrounding quotes removed; null
    // when the section or key is absent (a line without '=' is no key).
    const std::string* Value(const std::string& section, const std::string& key) const;
    // The section's entries and unknown lines, trimmed, comments left out.
    std::vector<std::string> SectionLines(const std::string& section) const;

    // Creates the section and the key as needed.
    void SetValue(const std::string& section, const std::string& key, const std::string& value);
    void DeleteKey(const std::string& section, const std::string& key);
    // Removes every section of that name with all its lines.
    void DeleteSection(const std::string& section);

private:
    enum class Kind { Blank, Comment, Section, Entry, Unknown };
    struct Line {
        std::string text;   // as in the file, without its line end
        std::string ending; // "\r\n", "\n" or "" for a last line without one
        Kind kind = Kind::Blank;
        std::string name;  // section name or key
        std::string value; // entry value, trimmed and unquoted
    };
    struct Range {
        size_t header;
        size_t end; // one past the section's last line
    };

    static Line ParseLine(std::string text, std::string ending);
    std::vector<Range> SectionRanges(const std::string& section) const;
    void EndLastLine();
    void AppendLine(const std::string& text);

    // The first entry of each key in the first section of each name, by
    // their lower-cased names: made when a file is parsed, dropped by any edit
    // (lookups then scan the lines).
    void IndexEntries();
    static std::string IndexKey(const std::string& section, const std::string& key);

    std::string m_byteOrderMark;
    std::string m_newLine = "\n";
    std::vector<Line> m_lines;
    std::unordered_map<std::string, size_t> m_firstEntries;
    bool m_indexed = false;
};

// Equality of names as Windows compares ini and registry names.
bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b);

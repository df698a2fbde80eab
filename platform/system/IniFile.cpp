#include "platform/system/IniFile.h"

#include <unordered_set>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trim(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::string Unquote(const std::string& text) {
    if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0])
        return text.substr(1, text.size() - 2);
    return text;
}

char LowerAsciiChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAsciiText(std::string text) {
    for (char& c : text)
        c = LowerAsciiChar(c);
    return text;
}

} // namespace

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAsciiChar(a[i]) != LowerAsciiChar(b[i]))
            return false;
    return true;
}

IniFile::Line IniFile::ParseLine(std::string text, std::string ending) {
    Line line;
    line.text = std::move(text);
    line.ending = std::move(ending);
    std::string trimmed = Trim(line.text);
    if (trimmed.empty()) {
        line.kind = Kind::Blank;
    } else if (trimmed[0] == ';') {
        line.kind = Kind::Comment;
    } else if (trimmed[0] == '[') {
        line.kind = Kind::Section;
        size_t close = trimmed.find(']');
        line.name =
            Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    } else if (size_t equals = trimmed.find('='); equals != std::string::npos) {
        line.kind = Kind::Entry;
        line.name = Trim(trimmed.substr(0, equals));
        line.value = Unquote(Trim(trimmed.substr(equals + 1)));
    } else {
        line.kind = Kind::Unknown;
    }
    return line;
}

IniFile IniFile::Parse(const std::string& bytes) {
    IniFile file;
    size_t start = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        file.m_byteOrderMark = bytes.substr(0, 3);
        start = 3;
    }
    bool newLineChosen = false;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        std::string ending;
        std::string text;
        if (end == std::string::npos) {
            text = bytes.substr(start);
            start = bytes.size();
            // A last line's trailing '\r's belong to its ending, so the line
            // reads the same once a written line ends it with '\n'.
            while (!text.empty() && text.back() == '\r') {
                text.pop_back();
                ending += '\r';
            }
        } else {
            size_t textEnd = (end > start && bytes[end - 1] == '\r') ? end - 1 : end;
            text = bytes.substr(start, textEnd - start);
            ending = bytes.substr(textEnd, end + 1 - textEnd);
            start = end + 1;
            if (!newLineChosen) {
                file.m_newLine = ending; // new lines follow the file's own style
                newLineChosen = true;
            }
        }
        file.m_lines.push_back(ParseLine(std::move(text), std::move(ending)));
    }
    file.IndexEntries();
    return file;
}

std::string IniFile::IndexKey(const std::string& section, const std::string& key) {
    return LowerAsciiText(section) + '\n' + LowerAsciiText(key);
}

void IniFile::IndexEntries() {
    m_firstEntries.clear();
    std::unordered_set<std::string> sections;
    bool first = false; // in the first section of its name
    std::string section;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        if (line.kind == Kind::Section) {
            section = line.name;
            first = sections.insert(LowerAsciiText(section)).second;
        } else if (line.kind == Kind::Entry && first) {
            m_firstEntries.emplace(IndexKey(section, line.name), i);
        }
    }
    m_indexed = true;
}

std::string IniFile::Serialize() const {
    std::string bytes = m_byteOrderMark;
    for (const Line& line : m_lines)
        bytes += line.text + line.ending;
    return bytes;
}

// Names given by callers are trimmed as the file's names are.
std::vector<IniFile::Range> IniFile::SectionRanges(const std::string& untrimmed) const {
    std::string section = Trim(untrimmed);
    std::vector<Range> ranges;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind != Kind::Section || !EqualsIgnoringAsciiCase(m_lines[i].name, section))
            continue;
        size_t end = i + 1;
        while (end < m_lines.size() && m_lines[end].kind != Kind::Section)
            ++end;
        ranges.push_back({i, end});
    }
    return ranges;
}

std::vector<std::string> IniFile::SectionNames() const {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen; // lower-cased, so a long list stays linear
    for (const Line& line : m_lines) {
        if (line.kind == Kind::Section && seen.insert(LowerAsciiText(line.name)).second)
            names.push_back(line.name);
    }
    return names;
}

bool IniFile::HasSection(const std::string& section) const {
    return !SectionRanges(section).empty();
}

std::vector<std::string> IniFile::KeyNames(const std::string& section) const {
    std::vector<std::string> keys;
    std::vector<Range> ranges = SectionRanges(section);
    if (ranges.empty())
        return keys;
    std::unordered_set<std::string> seen;
    for (size_t i = ranges[0].header + 1; i < ranges[0].end; ++i) {
        if (m_lines[i].kind == Kind::Entry && seen.insert(LowerAsciiText(m_lines[i].name)).second)
            keys.push_back(m_lines[i].name);
    }
    return keys;
}

const std::string* IniFile::Value(const std::string& section,
                                  const std::string& untrimmedKey) const {
    std::string key = Trim(untrimmedKey);
    if (m_indexed) {
        auto found = m_firstEntries.find(IndexKey(Trim(section), key));
        return found == m_firstEntries.end() ? nullptr : &m_lines[found->second].value;
    }
    std::vector<Range> ranges = SectionRanges(section);
    if (ranges.empty())
        return nullptr;
    for (size_t i = ranges[0].header + 1; i < ranges[0].end; ++i)
        if (m_lines[i].kind == Kind::Entry && EqualsIgnoringAsciiCase(m_lines[i].name, key))
            return &m_lines[i].value;
    return nullptr;
}

std::vector<std::string> IniFile::SectionLines(const std::string& section) const {
    std::vector<std::string> result;
    std::vector<Range> ranges = SectionRanges(section);
    if (ranges.empty())
        return result;
    for (size_t i = ranges[0].header + 1; i < ranges[0].end; ++i)
        if (m_lines[i].kind == Kind::Entry || m_lines[i].kind == Kind::Unknown)
            result.push_back(Trim(m_lines[i].text));
    return result;
}

// A line written after the last one must not run on into it.
void IniFile::EndLastLine() {
    if (!m_lines.empty() && (m_lines.back().ending.empty() || m_lines.back().ending.back() != '\n'))
        m_lines.back().ending = m_newLine;
}

void IniFile::AppendLine(const std::string& text) {
    EndLastLine();
    m_lines.push_back(ParseLine(text, m_newLine));
}

void IniFile::SetValue(const std::string& section, const std::string& untrimmedKey,
                       const std::string& value) {
    m_indexed = false;
    std::string key = Trim(untrimmedKey);
    std::vector<Range> ranges = SectionRanges(section);
    if (ranges.empty()) {
        if (!m_lines.empty() && m_lines.back().kind != Kind::Blank)
            AppendLine("");
        AppendLine("[" + Trim(section) + "]");
        AppendLine(key + "=" + value);
        return;
    }
    const Range& first = ranges[0];
    size_t insertAt = first.header + 1;
    for (size_t i = first.header + 1; i < first.end; ++i) {
        Line& line = m_lines[i];
        if (line.kind == Kind::Entry && EqualsIgnoringAsciiCase(line.name, key)) {
            line = ParseLine(line.name + "=" + value, line.ending); // the key keeps its spelling
            return;
        }
        if (line.kind == Kind::Entry || line.kind == Kind::Unknown)
            insertAt = i + 1;
    }
    // After the section's last entry, so comments that lead the next section stay with it.
    if (insertAt == m_lines.size())
        EndLastLine();
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                   ParseLine(key + "=" + value, m_newLine));
}

void IniFile::DeleteKey(const std::string& section, const std::string& untrimmedKey) {
    m_indexed = false;
    std::string key = Trim(untrimmedKey);
    std::vector<Range> ranges = SectionRanges(section);
    if (ranges.empty())
        return;
    for (size_t i = ranges[0].end; i-- > ranges[0].header + 1;)
        if (m_lines[i].kind == Kind::Entry && EqualsIgnoringAsciiCase(m_lines[i].name, key))
            m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
}

void IniFile::DeleteSection(const std::string& section) {
    m_indexed = false;
    std::vector<Range> ranges = SectionRanges(section);
    for (size_t r = ranges.size(); r-- > 0;)
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(ranges[r].header),
                      m_lines.begin() + static_cast<std::ptrdiff_t>(ranges[r].end));
}

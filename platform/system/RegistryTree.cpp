#include "platform/system/RegistryTree.h"

#include "platform/system/InputBounds.h"
#include "platform/system/Registry.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

bool NeedsEscape(unsigned char c) {
    return c < 0x20 || c > 0x7E || strchr("%\"\\[]", c);
}

std::string Escape(const std::string& text) {
    std::string escaped;
    for (unsigned char c : text) {
        if (NeedsEscape(c)) {
            char code[4];
            snprintf(code, sizeof code, "%%%02X", c);
            escaped += code;
        } else {
            escaped.push_back(static_cast<char>(c));
        }
    }
    return escaped;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool Unescape(const std::string& text, std::string& plain) {
    plain.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            plain.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size())
            return false;
        int high = HexDigit(text[i + 1]);
        int low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0)
            return false;
        plain.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return true;
}

bool DecodeHex(const std::string& text, std::string& bytes) {
    if (text.size() % 2 != 0)
        return false;
    bytes.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        int high = HexDigit(text[i]);
        int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return true;
}

std::string EncodeHex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char c : bytes) {
        text.push_back(digits[c >> 4]);
        text.push_back(digits[c & 15]);
    }
    return text;
}

// A quoted, escaped text at the start of `line`; the rest follows in `rest`.
bool ReadQuoted(const std::string& line, std::string& plain, std::string& rest) {
    if (line.empty() || line[0] != '"')
        return false;
    size_t close = line.find('"', 1);
    if (close == std::string::npos || !Unescape(line.substr(1, close - 1), plain))
        return false;
    rest = line.substr(close + 1);
    return true;
}

bool ParseData(const std::string& text, RegistryValue& value) {
    std::string rest;
    if (text.rfind("sz:", 0) == 0) {
        value.type = REG_SZ;
        if (!ReadQuoted(text.substr(3), value.data, rest) || !rest.empty())
            return false;
        value.data.push_back('\0');
        return true;
    }
    if (text.rfind("dword:", 0) == 0) {
        std::string bytes;
        if (text.size() != 14 || !DecodeHex(text.substr(6), bytes))
            return false;
        value.type = REG_DWORD;
        value.data.assign(4, '\0');
        for (int i = 0; i < 4; ++i)
            value.data[i] = bytes[3 - i]; // written big-endian for people, stored little-endian
        return true;
    }
    unsigned type = 0;
    int used = 0;
    if (sscanf(text.c_str(), "hex(%u):%n", &type, &used) != 1 || used == 0)
        return false;
    value.type = type;
    return DecodeHex(text.substr(static_cast<size_t>(used)), value.data);
}

std::string FormatData(const RegistryValue& value) {
    const std::string& data = value.data;
    if (value.type == REG_SZ && !data.empty() && data.back() == '\0' &&
        data.find('\0') == data.size() - 1)
        return "sz:\"" + Escape(data.substr(0, data.size() - 1)) + "\"";
    if (value.type == REG_DWORD && data.size() == 4) {
        std::string bigEndian(data.rbegin(), data.rend());
        return "dword:" + EncodeHex(bigEndian);
    }
    return "hex(" + std::to_string(value.type) + "):" + EncodeHex(data);
}

void SerializeKey(const RegistryKey& key, const std::string& path, std::string& out) {
    out += "[" + path + "]\n";
    for (const RegistryValue& value : key.values) {
        out += value.name.empty() ? "@" : "\"" + Escape(value.name) + "\"";
        out += "=" + FormatData(value) + "\n";
    }
    for (const auto& [lower, subkey] : key.subkeys)
        SerializeKey(*subkey, path + "\\" + Escape(subkey->name), out);
}

} // namespace

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

RegistryKey* RegistryKey::Find(const std::string& subkeyName) const {
    auto found = subkeys.find(LowerAscii(subkeyName));
    return found == subkeys.end() ? nullptr : found->second.get();
}

RegistryKey* RegistryKey::FindOrAdd(const std::string& subkeyName, bool& added) {
    std::unique_ptr<RegistryKey>& slot = subkeys[LowerAscii(subkeyName)];
    added = !slot;
    if (added) {
        slot = std::make_unique<RegistryKey>();
        slot->name = subkeyName;
    }
    return slot.get();
}

bool RegistryKey::Remove(const std::string& subkeyName) {
    return subkeys.erase(LowerAscii(subkeyName)) > 0;
}

RegistryValue* RegistryKey::FindValue(const std::string& valueName) {
    auto found = valuePositions.find(LowerAscii(valueName));
    return found == valuePositions.end() ? nullptr : &values[found->second];
}

void RegistryKey::SetValue(const std::string& valueName, DWORD type, std::string data) {
    auto [position, added] = valuePositions.try_emplace(LowerAscii(valueName), values.size());
    if (added)
        values.push_back({valueName, type, {}});
    RegistryValue& value = values[position->second];
    value.type = type;
    value.data = std::move(data);
}

bool RegistryKey::RemoveValue(const std::string& valueName) {
    auto found = valuePositions.find(LowerAscii(valueName));
    if (found == valuePositions.end())
        return false;
    const size_t removed = found->second;
    valuePositions.erase(found);
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(removed));
    for (auto& [lower, position] : valuePositions)
        if (position > removed)
            --position;
    return true;
}

void RegistryKey::ClearValues() {
    values.clear();
    valuePositions.clear();
}

const char* const RegistryTree::kRootNames[3] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                 "HKEY_LOCAL_MACHINE"};

RegistryTree::RegistryTree() {
    for (size_t i = 0; i < 3; ++i) {
        m_roots[i] = std::make_unique<RegistryKey>();
        m_roots[i]->name = kRootNames[i];
    }
}

void RegistryTree::Parse(const std::string& text) {
    for (auto& root : m_roots) {
        root->ClearValues();
        root->subkeys.clear();
    }
    m_rejectedLines = 0;
    int tooDeep = 0;
    RegistryKey* current = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';')
            continue;
        bool understood = false;
        if (line[0] == '[' && line.back() == ']') {
            current = nullptr;
            std::string path = line.substr(1, line.size() - 2);
            size_t slash = path.find('\\');
            std::string rootName = path.substr(0, slash);
            for (size_t i = 0; i < 3; ++i)
                if (rootName == kRootNames[i])
                    current = m_roots[i].get();
            if (size_t(std::count(path.begin(), path.end(), '\\')) > platform::kMaxRegistryDepth) {
                current = nullptr;
                ++tooDeep;
            }
            understood = current != nullptr;
            while (current && slash != std::string::npos) {
                size_t next = path.find('\\', slash + 1);
                std::string name;
                bool added = false;
                if (!Unescape(
                        path.substr(slash + 1, next == std::string::npos ? next : next - slash - 1),
                        name) ||
                    name.empty()) {
                    current = nullptr;
                    understood = false;
                    break;
                }
                current = current->FindOrAdd(name, added);
                slash = next;
            }
        } else if (current) {
            RegistryValue value;
            std::string rest;
            if (line[0] == '@')
                rest = line.substr(1);
            else if (!ReadQuoted(line, value.name, rest) || value.name.empty())
                rest.clear();
            if (!rest.empty() && rest[0] == '=' && ParseData(rest.substr(1), value)) {
                current->SetValue(value.name, value.type, std::move(value.data));
                understood = true;
            }
        }
        if (!understood)
            ++m_rejectedLines;
    }
    if (tooDeep > 0)
        platform::RefuseInput("registry key",
                              std::to_string(tooDeep) + " keys nested deeper than " +
                                  std::to_string(platform::kMaxRegistryDepth) + " levels");
}

std::string RegistryTree::Serialize() const {
    std::string out =
        "; Registry of the program. Written by it; edit only while it is not running.\n";
    for (const auto& root : m_roots)
        SerializeKey(*root, root->name, out);
    return out;
}

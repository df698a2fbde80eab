#pragma once

// The registry's keys and values in memory, and their text form on disk:
//
//   [HKEY_CURRENT_USER\Software\Quillane\Game\Share]
//   "Path"=sz:"/home/me/games/share"
//   @=sz:"default value"
//   "Count"=dword:0000002a
//   "Blob"=hex(3):0102ff
//
// Names and texts escape control bytes, bytes above 0x7E and the characters
// % " \ [ ] as %XX, so any GBK name or value survives the round trip.

#include "platform/Types.h"

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct RegistryValue {
    std::string name;
    DWORD type = 0;
    std::string data;
};

struct RegistryKey {
    std::string name;
    std::vector<RegistryValue> values;                           // in the order first set
    std::map<std::string, std::unique_ptr<RegistryKey>> subkeys; // by lower-cased name
    // Positions in values by lower-cased name, so a key with many values is
    // read in linear time. Change values only through the calls below.
    std::unordered_map<std::string, size_t> valuePositions;

    RegistryKey* Find(const std::string& subkeyName) const;
    RegistryKey* FindOrAdd(const std::string& subkeyName, bool& added);
    bool Remove(const std::string& subkeyName);
    RegistryValue* FindValue(const std::string& valueName);
    void SetValue(const std::string& valueName, DWORD type, std::string data);
    bool RemoveValue(const std::string& valueName);
    void ClearValues();
};

class RegistryTree {
public:
    RegistryTree();

    static const char* const kRootNames[3]; // classes root, current user, local machine
    RegistryKey& Root(size_t index) { return *m_roots[index]; }

    // Lines that cannot be read are counted and skipped.
    void Parse(const std::string& text);
    std::string Serialize() const;
    int RejectedLines() const { return m_rejectedLines; }
    void ForgetRejectedLines() { m_rejectedLines = 0; }

private:
    std::unique_ptr<RegistryKey> m_roots[3];
    int m_rejectedLines = 0;
};

std::string LowerAscii(std::string text);

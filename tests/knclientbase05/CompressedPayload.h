#pragma once

// The payload of a compressed frame as a server sends it: the inflated
// length (little-endian), then the bytes of KNZip's compress.

#include "platform/system/Module.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

inline std::string CompressedPayload(const std::string& plain) {
    typedef int (*CompressFunction)(BYTE*, DWORD*, const BYTE*, DWORD);
    HMODULE zip = LoadLibrary("KNZip.dll");
    EXPECT_NE(zip, nullptr);
    auto compress = reinterpret_cast<CompressFunction>(GetProcAddress(zip, "compress"));
    std::vector<BYTE> packed(plain.size() + 64);
    DWORD packedLength = DWORD(packed.size());
    EXPECT_EQ(compress(packed.data(), &packedLength, reinterpret_cast<const BYTE*>(plain.data()),
                       DWORD(plain.size())),
              0);
    FreeLibrary(zip);
    const DWORD length = DWORD(plain.size());
    std::string payload;
    for (int shift = 0; shift < 32; shift += 8)
        payload += char((length >> shift) & 0xFF);
    return payload + std::string(packed.begin(), packed.begin() + packedLength);
}

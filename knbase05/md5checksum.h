#pragma once

// The MD5 message digest (RFC 1321) of bytes held in memory, as the raw
// 16-byte digest. One object serves one message: Final does not reset it.

#include "knbase05/TablehubApi.h"
#include "platform/Types.h"

class TABLEHUB_API CMD5Checksum {
public:
    CMD5Checksum();
    virtual ~CMD5Checksum() = default;

    void Update(const BYTE* data, UINT length);
    void Final(BYTE digest[16]);

protected:
    void Transform(const BYTE block[64]);

private:
    BYTE m_aBlock[64];
    DWORD m_aBitCount[2]; // low word, high word
    DWORD m_aState[4];    // A, B, C, D
};

// The digest of one buffer.
TABLEHUB_API void MD5Digest(BYTE digest[16], const void* data, UINT length);

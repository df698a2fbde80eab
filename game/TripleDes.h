#pragma once

#include <cstdint>

// The card cipher: a DES variant (FIPS 46 tables, bits numbered from the least
// significant bit of each byte, S-box outputs written least significant bit
// first, no exchange of the halves after the last round), run as two-key
// triple DES (encrypt-decrypt-encrypt) in ECB mode when the key is longer
// than 8 bytes. A standard DES library does not interoperate with it.
//
// Every game builds its key from 36 digits that the dealer draws and a seed
// derived from four of them; the pick lists and seed positions are fixed in
// TripleDes.cpp and must match on every side of a table.
class CTripleDes {
public:
    enum { kEncrypt = 0, kDecrypt = 1 };
    enum { kDigitCount = 36, kKeyTextLength = 15 };

    CTripleDes();

    // Copies min(length, 16) bytes into a zeroed 16-byte key. Bytes 0-7 are
    // key 1; with 9 bytes or more, bytes 8-15 are key 2 and the cipher runs in
    // triple mode, otherwise in single mode. A negative length counts as 0.
    void SetKey(const uint8_t* key, int length);

    // Builds and sets the game key from 36 digits (each 0..9) and a seed. The
    // caller's array is permuted in place; a copy in the incoming order is
    // kept for GetDigits. A null array or a digit outside 0..9 changes
    // nothing. Seeds outside 0..9 share one pick list; the permutation uses
    // a seed value modulo 36, taken as non-negative.
    void SetKeyFromDigits(int* digits, int seed);

    // The 36 digits last given to SetKeyFromDigits, in their incoming order.
    const int* GetDigits() const { return m_digits; }

    // Processes every 8-byte block of length rounded up to a multiple of 8
    // from src to dst (which may be the same buffer). Both buffers must hold
    // the rounded length. False, writing nothing, for a null buffer, a length
    // of 0 or less, or another direction than kEncrypt or kDecrypt.
    bool Crypt(void* dst, const void* src, int length, int direction);

    // The seed the dealer sends with the digits: the sum of four fixed digit
    // positions, modulo 10. Receivers compute it from the same digits.
    static int SeedFromDigits(const int* digits);

private:
    int m_digits[kDigitCount];
    uint8_t m_roundKeys1[16][48];
    uint8_t m_roundKeys2[16][48];
    int m_bTriple;
    uint8_t m_key[16];
};

#pragma once

#include <cstdint>

// The block function of the card cipher on arrays of one-bit bytes. CTripleDes
// is its only user in the program; the tests reach it here to check the tables
// against standard DES and to follow one block through its first round.
namespace card_cipher {

// Where the cipher departs from FIPS 46. The defaults are the card cipher;
// kStandardDes switches all three back, which gives plain DES.
struct BlockVariant {
    bool lsbFirstBits = true;    // bit i is bit (i % 8) of byte i / 8, counted from the LSB
    bool sboxOutLsbFirst = true; // each S-box value enters the 32-bit string LSB first
    bool swapHalves = false;     // exchange L16 and R16 before the final permutation
};
inline constexpr BlockVariant kStandardDes{false, false, true};

using RoundKeys = uint8_t[16][48];

// What a test may observe inside one pass, as one-bit bytes: L0 then R0 after
// the initial permutation, and L then R after the first round applied.
struct BlockTrace {
    uint8_t afterIp[64];
    uint8_t afterRound1[64];
};

// The 16 round keys of an 8-byte key, K1 first. Parity bits are ignored.
void MakeRoundKeys(const uint8_t key[8], RoundKeys& roundKeys, const BlockVariant& variant = {});

// One pass over 8 bytes with one key. in and out may be the same buffer.
void CryptBlock(const RoundKeys& roundKeys, const uint8_t in[8], uint8_t out[8], bool decrypt,
                const BlockVariant& variant = {}, BlockTrace* trace = nullptr);

} // namespace card_cipher

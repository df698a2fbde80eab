#include "game/TripleDes.h"

#include "game/TripleDesBlock.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace card_cipher {
namespace {

// The DES tables, 1-based positions into the source bit string.
// clang-format off
constexpr uint8_t kInitialPermutation[64] = {
    58, 50, 42, 34, 26, 18, 10,  2,
    60, 52, 44, 36, 28, 20, 12,  4,
    62, 54, 46, 38, 30, 22, 14,  6,
    64, 56, 48, 40, 32, 24, 16,  8,
    57, 49, 41, 33, 25, 17,  9,  1,
    59, 51, 43, 35, 27, 19, 11,  3,
    61, 53, 45, 37, 29, 21, 13,  5,
    63, 55, 47, 39, 31, 23, 15,  7};

constexpr uint8_t kFinalPermutation[64] = {
    40,  8, 48, 16, 56, 24, 64, 32,
    39,  7, 47, 15, 55, 23, 63, 31,
    38,  6, 46, 14, 54, 22, 62, 30,
    37,  5, 45, 13, 53, 21, 61, 29,
    36,  4, 44, 12, 52, 20, 60, 28,
    35,  3, 43, 11, 51, 19, 59, 27,
    34,  2, 42, 10, 50, 18, 58, 26,
    33,  1, 41,  9, 49, 17, 57, 25};

constexpr uint8_t kExpansion[48] = {
    32,  1,  2,  3,  4,  5,
     4,  5,  6,  7,  8,  9,
     8,  9, 10, 11, 12, 13,
    12, 13, 14, 15, 16, 17,
    16, 17, 18, 19, 20, 21,
    20, 21, 22, 23, 24, 25,
    24, 25, 26, 27, 28, 29,
    28, 29, 30, 31, 32,  1};

constexpr uint8_t kRoundPermutation[32] = {
    16,  7, 20, 21,
    29, 12, 28, 17,
     1, 15, 23, 26,
     5, 18, 31, 10,
     2,  8, 24, 14,
    32, 27,  3,  9,
    19, 13, 30,  6,
    22, 11,  4, 25};

constexpr uint8_t kKeyPermutation1[56] = {
    57, 49, 41, 33, 25, 17,  9,
     1, 58, 50, 42, 34, 26, 18,
    10,  2, 59, 51, 43, 35, 27,
    19, 11,  3, 60, 52, 44, 36,
    63, 55, 47, 39, 31, 23, 15,
     7, 62, 54, 46, 38, 30, 22,
    14,  6, 61, 53, 45, 37, 29,
    21, 13,  5, 28, 20, 12,  4};

constexpr uint8_t kKeyPermutation2[48] = {
    14, 17, 11, 24,  1,  5,
     3, 28, 15,  6, 21, 10,
    23, 19, 12,  4, 26,  8,
    16,  7, 27, 20, 13,  2,
    41, 52, 31, 37, 47, 55,
    30, 40, 51, 45, 33, 48,
    44, 49, 39, 56, 34, 53,
    46, 42, 50, 36, 29, 32};

constexpr uint8_t kKeyShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

// S1..S8, each as four rows of sixteen columns.
constexpr uint8_t kSBoxes[8][64] = {
    {
        14,  4, 13,  1,  2, 15, 11,  8,  3, 10,  6, 12,  5,  9,  0,  7,
         0, 15,  7,  4, 14,  2, 13,  1, 10,  6, 12, 11,  9,  5,  3,  8,
         4,  1, 14,  8, 13,  6,  2, 11, 15, 12,  9,  7,  3, 10,  5,  0,
        15, 12,  8,  2,  4,  9,  1,  7,  5, 11,  3, 14, 10,  0,  6, 13
    },
    {
        15,  1,  8, 14,  6, 11,  3,  4,  9,  7,  2, 13, 12,  0,  5, 10,
         3, 13,  4,  7, 15,  2,  8, 14, 12,  0,  1, 10,  6,  9, 11,  5,
         0, 14,  7, 11, 10,  4, 13,  1,  5,  8, 12,  6,  9,  3,  2, 15,
        13,  8, 10,  1,  3, 15,  4,  2, 11,  6,  7, 12,  0,  5, 14,  9
    },
    {
        10,  0,  9, 14,  6,  3, 15,  5,  1, 13, 12,  7, 11,  4,  2,  8,
        13,  7,  0,  9,  3,  4,  6, 10,  2,  8,  5, 14, 12, 11, 15,  1,
        13,  6,  4,  9,  8, 15,  3,  0, 11,  1,  2, 12,  5, 10, 14,  7,
         1, 10, 13,  0,  6,  9,  8,  7,  4, 15, 14,  3, 11,  5,  2, 12
    },
    {
         7, 13, 14,  3,  0,  6,  9, 10,  1,  2,  8,  5, 11, 12,  4, 15,
        13,  8, 11,  5,  6, 15,  0,  3,  4,  7,  2, 12,  1, 10, 14,  9,
        10,  6,  9,  0, 12, 11,  7, 13, 15,  1,  3, 14,  5,  2,  8,  4,
         3, 15,  0,  6, 10,  1, 13,  8,  9,  4,  5, 11, 12,  7,  2, 14
    },
    {
         2, 12,  4,  1,  7, 10, 11,  6,  8,  5,  3, 15, 13,  0, 14,  9,
        14, 11,  2, 12,  4,  7, 13,  1,  5,  0, 15, 10,  3,  9,  8,  6,
         4,  2,  1, 11, 10, 13,  7,  8, 15,  9, 12,  5,  6,  3,  0, 14,
        11,  8, 12,  7,  1, 14,  2, 13,  6, 15,  0,  9, 10,  4,  5,  3
    },
    {
        12,  1, 10, 15,  9,  2,  6,  8,  0, 13,  3,  4, 14,  7,  5, 11,
        10, 15,  4,  2,  7, 12,  9,  5,  6,  1, 13, 14,  0, 11,  3,  8,
         9, 14, 15,  5,  2,  8, 12,  3,  7,  0,  4, 10,  1, 13, 11,  6,
         4,  3,  2, 12,  9,  5, 15, 10, 11, 14,  1,  7,  6,  0,  8, 13
    },
    {
         4, 11,  2, 14, 15,  0,  8, 13,  3, 12,  9,  7,  5, 10,  6,  1,
        13,  0, 11,  7,  4,  9,  1, 10, 14,  3,  5, 12,  2, 15,  8,  6,
         1,  4, 11, 13, 12,  3,  7, 14, 10, 15,  6,  8,  0,  5,  9,  2,
         6, 11, 13,  8,  1,  4, 10,  7,  9,  5,  0, 15, 14,  2,  3, 12
    },
    {
        13,  2,  8,  4,  6, 15, 11,  1, 10,  9,  3, 14,  5,  0, 12,  7,
         1, 15, 13,  8, 10,  3,  7,  4, 12,  5,  6, 11,  0, 14,  9,  2,
         7, 11,  4,  1,  9, 12, 14,  2,  0,  6, 10, 13, 15,  3,  5,  8,
         2,  1, 14,  7,  4, 10,  8, 13, 15, 12,  9,  0,  3,  5,  6, 11
    }
};
// clang-format on

template <size_t N>
void Permute(const uint8_t (&table)[N], const uint8_t* source, uint8_t* target) {
    for (size_t i = 0; i < N; ++i)
        target[i] = source[table[i] - 1];
}

int BitShift(int index, bool lsbFirst) {
    return lsbFirst ? index % 8 : 7 - index % 8;
}

void BytesToBits(const uint8_t bytes[8], uint8_t bits[64], bool lsbFirst) {
    for (int i = 0; i < 64; ++i)
        bits[i] = (bytes[i / 8] >> BitShift(i, lsbFirst)) & 1;
}

void BitsToBytes(const uint8_t bits[64], uint8_t bytes[8], bool lsbFirst) {
    std::memset(bytes, 0, 8);
    for (int i = 0; i < 64; ++i)
        bytes[i / 8] |= bits[i] << BitShift(i, lsbFirst);
}

void RotateLeft28(uint8_t half[28], int count) {
    std::rotate(half, half + count, half + 28);
}

// f(R, K) = P(S(E(R) xor K)).
void RoundFunction(const uint8_t half[32], const uint8_t roundKey[48], bool sboxOutLsbFirst,
                   uint8_t out[32]) {
    uint8_t expanded[48];
    Permute(kExpansion, half, expanded);
    for (int i = 0; i < 48; ++i)
        expanded[i] ^= roundKey[i];

    uint8_t substituted[32];
    for (int box = 0; box < 8; ++box) {
        const uint8_t* b = expanded + 6 * box;
        const int row = 2 * b[0] + b[5];
        const int column = 8 * b[1] + 4 * b[2] + 2 * b[3] + b[4];
        const int value = kSBoxes[box][16 * row + column];
        for (int k = 0; k < 4; ++k)
            substituted[4 * box + k] = (value >> (sboxOutLsbFirst ? k : 3 - k)) & 1;
    }
    Permute(kRoundPermutation, substituted, out);
}

} // namespace

void MakeRoundKeys(const uint8_t key[8], RoundKeys& roundKeys, const BlockVariant& variant) {
    uint8_t keyBits[64];
    BytesToBits(key, keyBits, variant.lsbFirstBits);
    uint8_t cd[56]; // C is cd[0..27], D is cd[28..55]
    Permute(kKeyPermutation1, keyBits, cd);
    for (int round = 0; round < 16; ++round) {
        RotateLeft28(cd, kKeyShifts[round]);
        RotateLeft28(cd + 28, kKeyShifts[round]);
        Permute(kKeyPermutation2, cd, roundKeys[round]);
    }
}

void CryptBlock(const RoundKeys& roundKeys, const uint8_t in[8], uint8_t out[8], bool decrypt,
                const BlockVariant& variant, BlockTrace* trace) {
    // Every working array is local, so separate objects may run on separate threads.
    uint8_t bits[64];
    BytesToBits(in, bits, variant.lsbFirstBits);
    uint8_t halves[64]; // L then R
    Permute(kInitialPermutation, bits, halves);
    uint8_t* left = halves;
    uint8_t* right = halves + 32;
    if (trace)
        std::memcpy(trace->afterIp, halves, 64);

    uint8_t f[32];
    if (!decrypt) {
        for (int round = 0; round < 16; ++round) {
            RoundFunction(right, roundKeys[round], variant.sboxOutLsbFirst, f);
            for (int i = 0; i < 32; ++i) {
                const uint8_t oldLeft = left[i];
                left[i] = right[i];
                right[i] = oldLeft ^ f[i];
            }
            if (trace && round == 0)
                std::memcpy(trace->afterRound1, halves, 64);
        }
        if (variant.swapHalves)
            std::swap_ranges(left, left + 32, right);
    } else {
        // The exact inverse of the encryption above: undo the exchange, then
        // the rounds in reverse order.
        if (variant.swapHalves)
            std::swap_ranges(left, left + 32, right);
        for (int round = 15; round >= 0; --round) {
            RoundFunction(left, roundKeys[round], variant.sboxOutLsbFirst, f);
            for (int i = 0; i < 32; ++i) {
                const uint8_t oldRight = right[i];
                right[i] = left[i];
                left[i] = oldRight ^ f[i];
            }
            if (trace && round == 15)
                std::memcpy(trace->afterRound1, halves, 64);
        }
    }
    Permute(kFinalPermutation, halves, bits);
    BitsToBytes(bits, out, variant.lsbFirstBits);
}

} // namespace card_cipher

namespace {

// The game key's pick lists (one per seed 0..9, the last for any other seed)
// and the digit positions whose sum makes the key seed. Every side of a table -
// the client and the table host - must use these same values, or the card
// codes of the play records cannot be read. Generated once by
// pick[s][k] = (11 * s + 7 * k) mod 36 and frozen here.
constexpr int kPickLists[11][CTripleDes::kKeyTextLength] = {
    {0, 7, 14, 21, 28, 35, 6, 13, 20, 27, 34, 5, 12, 19, 26},
    {11, 18, 25, 32, 3, 10, 17, 24, 31, 2, 9, 16, 23, 30, 1},
    {22, 29, 0, 7, 14, 21, 28, 35, 6, 13, 20, 27, 34, 5, 12},
    {33, 4, 11, 18, 25, 32, 3, 10, 17, 24, 31, 2, 9, 16, 23},
    {8, 15, 22, 29, 0, 7, 14, 21, 28, 35, 6, 13, 20, 27, 34},
    {19, 26, 33, 4, 11, 18, 25, 32, 3, 10, 17, 24, 31, 2, 9},
    {30, 1, 8, 15, 22, 29, 0, 7, 14, 21, 28, 35, 6, 13, 20},
    {5, 12, 19, 26, 33, 4, 11, 18, 25, 32, 3, 10, 17, 24, 31},
    {16, 23, 30, 1, 8, 15, 22, 29, 0, 7, 14, 21, 28, 35, 6},
    {27, 34, 5, 12, 19, 26, 33, 4, 11, 18, 25, 32, 3, 10, 17},
    {2, 9, 16, 23, 30, 1, 8, 15, 22, 29, 0, 7, 14, 21, 28}};
constexpr int kSeedPositions[4] = {3, 11, 22, 34};

constexpr int kKeyBytes = 16;

} // namespace

CTripleDes::CTripleDes() : m_digits{}, m_roundKeys1{}, m_roundKeys2{}, m_bTriple(0), m_key{} {}

void CTripleDes::SetKey(const uint8_t* key, int length) {
    const int used = key ? std::clamp(length, 0, kKeyBytes) : 0;
    std::memset(m_key, 0, sizeof m_key);
    if (used > 0)
        std::memcpy(m_key, key, used);
    card_cipher::MakeRoundKeys(m_key, m_roundKeys1);
    m_bTriple = used > 8;
    if (m_bTriple)
        card_cipher::MakeRoundKeys(m_key + 8, m_roundKeys2);
}

void CTripleDes::SetKeyFromDigits(int* digits, int seed) {
    if (!digits)
        return;
    for (int i = 0; i < kDigitCount; ++i)
        if (digits[i] < 0 || digits[i] > 9)
            return;
    std::memcpy(m_digits, digits, sizeof m_digits);

    // The seed is reduced first so a large or negative seed can neither
    // overflow nor index outside the array.
    const int seedTerm = (seed % kDigitCount + kDigitCount) % kDigitCount;
    for (int i = 0; i < kDigitCount; ++i) {
        const int j = (digits[i] * i + i + seedTerm) % kDigitCount;
        if (j != i)
            std::swap(digits[i], digits[j]);
    }

    const int* pick = kPickLists[seed >= 0 && seed <= 9 ? seed : 10];
    uint8_t text[kKeyTextLength];
    for (int k = 0; k < kKeyTextLength; ++k)
        text[k] = static_cast<uint8_t>('0' + digits[pick[k]]);
    SetKey(text, kKeyTextLength);
}

bool CTripleDes::Crypt(void* dst, const void* src, int length, int direction) {
    if (!dst || !src || length <= 0 || (direction != kEncrypt && direction != kDecrypt))
        return false;
    const bool decrypt = direction == kDecrypt;
    const size_t rounded = (static_cast<size_t>(length) + 7) / 8 * 8;
    const auto* in = static_cast<const uint8_t*>(src);
    auto* out = static_cast<uint8_t*>(dst);
    for (size_t offset = 0; offset < rounded; offset += 8) {
        uint8_t block[8];
        std::memcpy(block, in + offset, 8);
        // Triple mode is encrypt-decrypt-encrypt (or its inverse) with keys 1, 2, 1.
        card_cipher::CryptBlock(m_roundKeys1, block, block, decrypt);
        if (m_bTriple) {
            card_cipher::CryptBlock(m_roundKeys2, block, block, !decrypt);
            card_cipher::CryptBlock(m_roundKeys1, block, block, decrypt);
        }
        std::memcpy(out + offset, block, 8);
    }
    return true;
}

int CTripleDes::SeedFromDigits(const int* digits) {
    if (!digits)
        return 0;
    int sum = 0;
    for (int position : kSeedPositions)
        sum += digits[position] % 10;
    return (sum % 10 + 10) % 10;
}

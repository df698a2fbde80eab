#include "knbase05/md5checksum.h"

#include <cstring>

namespace {

DWORD RotateLeft(DWORD x, int n) {
    return (x << n) | (x >> (32 - n));
}

// The four rounds' step functions.
void FF(DWORD& a, DWORD b, DWORD c, DWORD d, DWORD x, int s, DWORD t) {
    a = b + RotateLeft(a + ((b & c) | (~b & d)) + x + t, s);
}
void GG(DWORD& a, DWORD b, DWORD c, DWORD d, DWORD x, int s, DWORD t) {
    a = b + RotateLeft(a + ((b & d) | (c & ~d)) + x + t, s);
}
void HH(DWORD& a, DWORD b, DWORD c, DWORD d, DWORD x, int s, DWORD t) {
    a = b + RotateLeft(a + (b ^ c ^ d) + x + t, s);
}
void II(DWORD& a, DWORD b, DWORD c, DWORD d, DWORD x, int s, DWORD t) {
    a = b + RotateLeft(a + (c ^ (b | ~d)) + x + t, s);
}

// Little-endian bytes to words and back.
void Decode(DWORD* words, const BYTE* bytes, UINT count) {
    for (UINT i = 0; i < count; ++i, bytes += 4)
        words[i] =
            DWORD(bytes[0]) | DWORD(bytes[1]) << 8 | DWORD(bytes[2]) << 16 | DWORD(bytes[3]) << 24;
}
void Encode(BYTE* bytes, const DWORD* words, UINT count) {
    for (UINT i = 0; i < count; ++i, bytes += 4) {
        bytes[0] = BYTE(words[i]);
        bytes[1] = BYTE(words[i] >> 8);
        bytes[2] = BYTE(words[i] >> 16);
        bytes[3] = BYTE(words[i] >> 24);
    }
}

// Per step of each round: message word index, shift and additive constant.
struct Step {
    BYTE word;
    BYTE shift;
    DWORD constant;
};

constexpr Step kRound1[16] = {
    {0, 7, 0xd76aa478},  {1, 12, 0xe8c7b756},  {2, 17, 0x242070db},  {3, 22, 0xc1bdceee},
    {4, 7, 0xf57c0faf},  {5, 12, 0x4787c62a},  {6, 17, 0xa8304613},  {7, 22, 0xfd469501},
    {8, 7, 0x698098d8},  {9, 12, 0x8b44f7af},  {10, 17, 0xffff5bb1}, {11, 22, 0x895cd7be},
    {12, 7, 0x6b901122}, {13, 12, 0xfd987193}, {14, 17, 0xa679438e}, {15, 22, 0x49b40821}};
constexpr Step kRound2[16] = {
    {1, 5, 0xf61e2562},  {6, 9, 0xc040b340},  {11, 14, 0x265e5a51}, {0, 20, 0xe9b6c7aa},
    {5, 5, 0xd62f105d},  {10, 9, 0x02441453}, {15, 14, 0xd8a1e681}, {4, 20, 0xe7d3fbc8},
    {9, 5, 0x21e1cde6},  {14, 9, 0xc33707d6}, {3, 14, 0xf4d50d87},  {8, 20, 0x455a14ed},
    {13, 5, 0xa9e3e905}, {2, 9, 0xfcefa3f8},  {7, 14, 0x676f02d9},  {12, 20, 0x8d2a4c8a}};
constexpr Step kRound3[16] = {
    {5, 4, 0xfffa3942},  {8, 11, 0x8771f681},  {11, 16, 0x6d9d6122}, {14, 23, 0xfde5380c},
    {1, 4, 0xa4beea44},  {4, 11, 0x4bdecfa9},  {7, 16, 0xf6bb4b60},  {10, 23, 0xbebfbc70},
    {13, 4, 0x289b7ec6}, {0, 11, 0xeaa127fa},  {3, 16, 0xd4ef3085},  {6, 23, 0x04881d05},
    {9, 4, 0xd9d4d039},  {12, 11, 0xe6db99e5}, {15, 16, 0x1fa27cf8}, {2, 23, 0xc4ac5665}};
constexpr Step kRound4[16] = {
    {0, 6, 0xf4292244},  {7, 10, 0x432aff97},  {14, 15, 0xab9423a7}, {5, 21, 0xfc93a039},
    {12, 6, 0x655b59c3}, {3, 10, 0x8f0ccc92},  {10, 15, 0xffeff47d}, {1, 21, 0x85845dd1},
    {8, 6, 0x6fa87e4f},  {15, 10, 0xfe2ce6e0}, {6, 15, 0xa3014314},  {13, 21, 0x4e0811a1},
    {4, 6, 0xf7537e82},  {11, 10, 0xbd3af235}, {2, 15, 0x2ad7d2bb},  {9, 21, 0xeb86d391}};

typedef void (*StepFunction)(DWORD&, DWORD, DWORD, DWORD, DWORD, int, DWORD);

// Runs one round; the roles of a, b, c, d rotate right by one each step.
void RunRound(DWORD state[4], const DWORD x[16], const Step steps[16], StepFunction step) {
    for (int i = 0; i < 16; ++i) {
        DWORD& a = state[(4 - i % 4) % 4];
        DWORD b = state[(5 - i % 4) % 4];
        DWORD c = state[(6 - i % 4) % 4];
        DWORD d = state[(7 - i % 4) % 4];
        step(a, b, c, d, x[steps[i].word], steps[i].shift, steps[i].constant);
    }
}

} // namespace

CMD5Checksum::CMD5Checksum() : m_aBlock{}, m_aBitCount{0, 0} {
    m_aState[0] = 0x67452301;
    m_aState[1] = 0xefcdab89;
    m_aState[2] = 0x98badcfe;
    m_aState[3] = 0x10325476;
}

void CMD5Checksum::Transform(const BYTE block[64]) {
    DWORD x[16];
    Decode(x, block, 16);
    DWORD work[4] = {m_aState[0], m_aState[1], m_aState[2], m_aState[3]};
    RunRound(work, x, kRound1, FF);
    RunRound(work, x, kRound2, GG);
    RunRound(work, x, kRound3, HH);
    RunRound(work, x, kRound4, II);
    for (int i = 0; i < 4; ++i)
        m_aState[i] += work[i];
}

void CMD5Checksum::Update(const BYTE* data, UINT length) {
    UINT used = (m_aBitCount[0] >> 3) & 0x3F;
    DWORD bits = length << 3;
    m_aBitCount[0] += bits;
    if (m_aBitCount[0] < bits)
        ++m_aBitCount[1];
    m_aBitCount[1] += length >> 29;

    UINT room = 64 - used;
    UINT taken = 0;
    if (length >= room) {
        memcpy(m_aBlock + used, data, room);
        Transform(m_aBlock);
        for (taken = room; taken + 63 < length; taken += 64)
            Transform(data + taken);
        used = 0;
    }
    if (length > taken)
        memcpy(m_aBlock + used, data + taken, length - taken);
}

void CMD5Checksum::Final(BYTE digest[16]) {
    BYTE length[8];
    Encode(length, m_aBitCount, 2);
    UINT used = (m_aBitCount[0] >> 3) & 0x3F;
    UINT padding = used < 56 ? 56 - used : 120 - used;
    static const BYTE kPadding[64] = {0x80};
    Update(kPadding, padding);
    Update(length, 8);
    Encode(digest, m_aState, 4);
}

void MD5Digest(BYTE digest[16], const void* data, UINT length) {
    CMD5Checksum checksum;
    checksum.Update(static_cast<const BYTE*>(data), length);
    checksum.Final(digest);
}

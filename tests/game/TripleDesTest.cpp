#include "game/TripleDes.h"
#include "game/TripleDesBlock.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using card_cipher::BlockVariant;
using card_cipher::kStandardDes;

Bytes FromHex(const std::string& hex) {
    Bytes out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

Bytes Text(const char* text) {
    return Bytes(text, text + std::char_traits<char>::length(text));
}

// One-bit bytes or decimal digits as a string of digit characters.
template <class T> std::string Digits(const T* values, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += static_cast<char>('0' + values[i]);
    return out;
}

Bytes Block(const Bytes& key, const Bytes& in, bool decrypt, const BlockVariant& variant) {
    card_cipher::RoundKeys roundKeys;
    card_cipher::MakeRoundKeys(key.data(), roundKeys, variant);
    Bytes out(8);
    card_cipher::CryptBlock(roundKeys, in.data(), out.data(), decrypt, variant);
    return out;
}

Bytes CryptAll(CTripleDes des, Bytes data, int direction = CTripleDes::kEncrypt) {
    EXPECT_TRUE(des.Crypt(data.data(), data.data(), static_cast<int>(data.size()), direction));
    return data;
}

CTripleDes Keyed(const Bytes& key) {
    CTripleDes des;
    des.SetKey(key.data(), static_cast<int>(key.size()));
    return des;
}

Bytes Encrypt(const Bytes& key, const Bytes& data) {
    return CryptAll(Keyed(key), data);
}

// Each byte with its bits in reverse order.
Bytes Mirror(Bytes bytes) {
    for (uint8_t& b : bytes) {
        uint8_t mirrored = 0;
        for (int i = 0; i < 8; ++i)
            mirrored |= ((b >> i) & 1) << (7 - i);
        b = mirrored;
    }
    return bytes;
}

// Codes 5, 100 and 215 as little-endian 32-bit words plus the 4 spare bytes.
const Bytes kThreeCodes = {5, 0, 0, 0, 100, 0, 0, 0, 215, 0, 0, 0, 0, 0, 0, 0};

std::vector<int> DigitsModTen() {
    std::vector<int> digits(CTripleDes::kDigitCount);
    for (int i = 0; i < CTripleDes::kDigitCount; ++i)
        digits[i] = i % 10;
    return digits;
}

} // namespace

// With all three departures switched off, the block function is plain DES.
TEST(TripleDesTables, StandardVariantReproducesPublishedDesVectors) {
    const char* vectors[][3] = {{"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
                                {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
                                {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
                                {"0000000000000000", "0000000000000000", "8CA64DE9C1B123A7"}};
    for (const auto& v : vectors) {
        EXPECT_EQ(Block(FromHex(v[0]), FromHex(v[1]), false, kStandardDes), FromHex(v[2])) << v[0];
        EXPECT_EQ(Block(FromHex(v[0]), FromHex(v[2]), true, kStandardDes), FromHex(v[1])) << v[0];
    }
}

// Numbering bits from the LSB alone is standard DES on mirrored bytes.
TEST(TripleDesTables, BitOrderAloneIsStandardDesOnMirroredBytes) {
    const BlockVariant lsbOnly{true, false, true};
    std::mt19937 random(7);
    for (int n = 0; n < 50; ++n) {
        Bytes key(8), block(8);
        for (int i = 0; i < 8; ++i) {
            key[i] = static_cast<uint8_t>(random());
            block[i] = static_cast<uint8_t>(random());
        }
        EXPECT_EQ(Block(key, block, false, lsbOnly),
                  Mirror(Block(Mirror(key), Mirror(block), false, kStandardDes)));
    }
}

TEST(TripleDesKnownAnswers, SingleAndTripleMode) {
    const Bytes v1 = Encrypt(Bytes(8, 0), Bytes(8, 0));
    EXPECT_EQ(v1, FromHex("acec93d9a7c03c98"));
    EXPECT_NE(v1, FromHex("8ca64de9c1b123a7")); // what standard DES gives
    EXPECT_EQ(Encrypt(Text("01234567"), FromHex("0001020304050607")), FromHex("3f39fa4c64afa14e"));
    EXPECT_EQ(Encrypt(Text("012345678901234"), kThreeCodes),
              FromHex("f358ad8d9cdd7cce7a2f9ba2f9f83034"));
}

// Key "01234567" (30..37), block 00 01 .. 07, followed through round 1.
TEST(TripleDesKnownAnswers, FirstRoundWorkedByHand) {
    const Bytes key = Text("01234567");
    card_cipher::RoundKeys roundKeys;
    card_cipher::MakeRoundKeys(key.data(), roundKeys);
    // PC-1's first eight entries (57, 49, .., 1) take bit 0 of key bytes
    // 7..0: 1010 1010; the next eights take bit 1 (1100 1100), bit 2
    // (1111 0000) and bit 3 of bytes 7..4 (0000), so
    // C0 = 1010101011001100111100000000; the same way
    // D0 = 0000000011111111111111110000. Both rotated left by one and put
    // through PC-2 give K1:
    EXPECT_EQ(Digits(roundKeys[0], 48), "010000010100011101100011100110011101111000111100");

    card_cipher::BlockTrace trace;
    Bytes out(8);
    card_cipher::CryptBlock(roundKeys, FromHex("0001020304050607").data(), out.data(), false, {},
                            &trace);
    // IP's row 58, 50, .., 2 takes bit 1 of bytes 7..0 (1100 1100); rows taking
    // bits 3, 5, 7 are zero for bytes below 8. R0 takes bit 0 (1010 1010), then
    // bit 2 (1111 0000).
    EXPECT_EQ(Digits(trace.afterIp, 32), "11001100000000000000000000000000");
    EXPECT_EQ(Digits(trace.afterIp + 32, 32), "10101010111100000000000000000000");

    // E(R0) xor K1, in groups of six, with row = b1 b6 and column = b2..b5:
    //   S1 000101 r1 c2 -> 7   S2 000001 r1 c0 -> 3   S3 000011 r1 c1 -> 7
    //   S4 000011 r1 c1 -> 8   S5 100110 r2 c3 -> 11  S6 011101 r1 c14 -> 3
    //   S7 111000 r2 c12 -> 0  S8 111101 r3 c14 -> 6
    // written LSB first: 1110 1100 1110 0001 1101 1100 0000 0110; P of that is
    // f = 10110001100011111000001100111100. L1 = R0 and R1 = L0 xor f.
    EXPECT_EQ(Digits(trace.afterRound1, 32), "10101010111100000000000000000000");
    EXPECT_EQ(Digits(trace.afterRound1 + 32, 32), "01111101100011111000001100111100");

    // Fifteen more rounds, then IP^-1 of L16 R16 with no exchange.
    EXPECT_EQ(out, FromHex("3f39fa4c64afa14e"));
}

TEST(TripleDesProperties, DecryptUndoesEncryptInPlace) {
    for (const char* key : {"01234567", "012345678901234"}) {
        const Bytes plain = Text("A play record of 24 byte");
        const Bytes cipher = Encrypt(Text(key), plain);
        EXPECT_NE(cipher, plain);
        EXPECT_EQ(CryptAll(Keyed(Text(key)), cipher, CTripleDes::kDecrypt), plain) << key;
    }
}

TEST(TripleDesProperties, KeyLengthChoosesSingleOrTripleMode) {
    const Bytes block = FromHex("0001020304050607");
    const Bytes single = Encrypt(Text("01234567"), block);
    // Key 2 equal to key 1: encrypt-decrypt-encrypt collapses to one encryption.
    EXPECT_EQ(Encrypt(Text("0123456701234567"), block), single);
    // A ninth byte, even a zero one, switches to triple mode with key 2 = 0.
    Bytes nine = Text("01234567");
    nine.push_back(0);
    EXPECT_NE(Encrypt(nine, block), single);
    // Bytes beyond 16 are ignored.
    EXPECT_EQ(Encrypt(Text("0123456789abcdefXYZ"), block),
              Encrypt(Text("0123456789abcdef"), block));
    // No key at all, or a negative length, is the zero key.
    CTripleDes des;
    EXPECT_EQ(CryptAll(des, Bytes(8, 0)), FromHex("acec93d9a7c03c98"));
    des.SetKey(Text("01234567").data(), -1);
    EXPECT_EQ(CryptAll(des, Bytes(8, 0)), FromHex("acec93d9a7c03c98"));
}

// The top bit of each key byte is a parity bit; bit 0 is not.
TEST(TripleDesProperties, KeyTopBitsAreIgnored) {
    const Bytes block = FromHex("0001020304050607");
    const Bytes key = Text("012345678901234");
    const Bytes reference = Encrypt(key, block);
    for (size_t i = 0; i < key.size(); ++i) {
        Bytes changed = key;
        changed[i] ^= 0x80;
        EXPECT_EQ(Encrypt(changed, block), reference) << "byte " << i;
        changed[i] ^= 0x81;
        EXPECT_NE(Encrypt(changed, block), reference) << "byte " << i;
    }
}

TEST(TripleDesProperties, BlocksAreIndependent) {
    Bytes data = Text("samesamesamesame");
    const Bytes cipher = Encrypt(Text("012345678901234"), data);
    EXPECT_TRUE(std::equal(cipher.begin(), cipher.begin() + 8, cipher.begin() + 8));
    data[12] ^= 1;
    const Bytes changed = Encrypt(Text("012345678901234"), data);
    EXPECT_TRUE(std::equal(cipher.begin(), cipher.begin() + 8, changed.begin()));
    EXPECT_FALSE(std::equal(cipher.begin() + 8, cipher.end(), changed.begin() + 8));
}

TEST(TripleDesCrypt, RefusesWhatItCannotProcess) {
    CTripleDes des;
    Bytes buffer(8, 0x5A);
    const Bytes untouched = buffer;
    EXPECT_FALSE(des.Crypt(buffer.data(), buffer.data(), 0, CTripleDes::kEncrypt));
    EXPECT_FALSE(des.Crypt(buffer.data(), buffer.data(), -8, CTripleDes::kEncrypt));
    EXPECT_FALSE(des.Crypt(buffer.data(), nullptr, 8, CTripleDes::kEncrypt));
    EXPECT_FALSE(des.Crypt(nullptr, buffer.data(), 8, CTripleDes::kDecrypt));
    EXPECT_FALSE(des.Crypt(buffer.data(), buffer.data(), 8, 2));
    EXPECT_EQ(buffer, untouched);
}

TEST(TripleDesCrypt, ShortLengthCoversOneWholeBlock) {
    CTripleDes des;
    des.SetKey(Text("01234567").data(), 8);
    const Bytes source = FromHex("0001020304050607");
    Bytes target(9, 0xCC); // one canary byte after the block
    ASSERT_TRUE(des.Crypt(target.data(), source.data(), 4, CTripleDes::kEncrypt));
    EXPECT_EQ(Bytes(target.begin(), target.begin() + 8), FromHex("3f39fa4c64afa14e"));
    EXPECT_EQ(target[8], 0xCC);
    ASSERT_TRUE(des.Crypt(target.data(), target.data(), 4, CTripleDes::kDecrypt));
    EXPECT_EQ(Bytes(target.begin(), target.begin() + 8), source);
}

TEST(TripleDesGameKey, PermutesCallersDigitsAndKeepsTheIncomingOrder) {
    CTripleDes des;
    std::vector<int> digits = DigitsModTen();
    des.SetKeyFromDigits(digits.data(), 3);
    EXPECT_EQ(Digits(digits.data(), CTripleDes::kDigitCount),
              "000833246215565891127416789072345349");
    EXPECT_EQ(Digits(des.GetDigits(), CTripleDes::kDigitCount),
              "012345678901234567890123456789012345");

    digits = DigitsModTen();
    des.SetKeyFromDigits(digits.data(), 0);
    EXPECT_EQ(Digits(digits.data(), CTripleDes::kDigitCount),
              "529280507892414973003668314516543217");
}

// Freezes the pick lists: old and new builds at one table must agree.
TEST(TripleDesGameKey, KnownGameKey) {
    CTripleDes des;
    std::vector<int> digits = DigitsModTen();
    des.SetKeyFromDigits(digits.data(), 3); // key text "335185811740296"
    EXPECT_EQ(CryptAll(des, kThreeCodes), FromHex("b1cdbd67c8e83fd944b5bc28da7b00f7"));
    EXPECT_EQ(Encrypt(Text("335185811740296"), kThreeCodes), CryptAll(des, kThreeCodes));
}

TEST(TripleDesGameKey, SameDigitsAndSeedGiveSameKeyAndSeedsDiffer) {
    std::vector<int> digits(CTripleDes::kDigitCount);
    for (int i = 0; i < CTripleDes::kDigitCount; ++i)
        digits[i] = (7 * i + 3) % 10;
    std::set<Bytes> seen;
    for (int seed = 0; seed <= 10; ++seed) {
        CTripleDes dealer, receiver;
        std::vector<int> dealerCopy = digits, receiverCopy = digits;
        dealer.SetKeyFromDigits(dealerCopy.data(), seed);
        receiver.SetKeyFromDigits(receiverCopy.data(), seed);
        const Bytes cipher = CryptAll(dealer, kThreeCodes);
        EXPECT_EQ(CryptAll(receiver, kThreeCodes), cipher) << seed;
        seen.insert(cipher);
    }
    EXPECT_EQ(seen.size(), 11u);
}

TEST(TripleDesGameKey, BadDigitsChangeNothing) {
    CTripleDes des;
    std::vector<int> digits = DigitsModTen();
    des.SetKeyFromDigits(digits.data(), 5);
    const Bytes cipher = CryptAll(des, kThreeCodes);
    for (int bad : {10, -1}) {
        std::vector<int> other(CTripleDes::kDigitCount, 4);
        other[20] = bad;
        const std::vector<int> given = other;
        des.SetKeyFromDigits(other.data(), 5);
        EXPECT_EQ(other, given);
        EXPECT_EQ(Digits(des.GetDigits(), CTripleDes::kDigitCount),
                  "012345678901234567890123456789012345");
        EXPECT_EQ(CryptAll(des, kThreeCodes), cipher) << bad;
    }
    des.SetKeyFromDigits(nullptr, 5);
    EXPECT_EQ(CryptAll(des, kThreeCodes), cipher);
}

// Seeds outside 0..9 use the last pick list; a negative one counts modulo 36.
TEST(TripleDesGameKey, SeedsOutsideTheDigitRange) {
    auto cipherFor = [](int seed) {
        CTripleDes des;
        std::vector<int> digits = DigitsModTen();
        des.SetKeyFromDigits(digits.data(), seed);
        return CryptAll(des, kThreeCodes);
    };
    EXPECT_EQ(cipherFor(-1), cipherFor(35));
    EXPECT_EQ(cipherFor(INT_MIN), cipherFor(INT_MIN % 36 + 36));
    EXPECT_NE(cipherFor(INT_MAX), cipherFor(0));
}

TEST(TripleDesGameKey, SeedIsTheSumOfFourDigitsModuloTen) {
    std::vector<int> digits(CTripleDes::kDigitCount, 0);
    EXPECT_EQ(CTripleDes::SeedFromDigits(digits.data()), 0);
    int counted = 0;
    for (int i = 0; i < CTripleDes::kDigitCount; ++i) {
        digits.assign(CTripleDes::kDigitCount, 0);
        digits[i] = 7;
        const int seed = CTripleDes::SeedFromDigits(digits.data());
        EXPECT_TRUE(seed == 0 || seed == 7);
        counted += seed == 7;
    }
    EXPECT_EQ(counted, 4);
    digits.assign(CTripleDes::kDigitCount, 9);
    EXPECT_EQ(CTripleDes::SeedFromDigits(digits.data()), 6); // 36 mod 10
}

// Each object owns its working state, so the table host and the client may
// run their ciphers on separate threads.
TEST(TripleDesConcurrency, TwoObjectsOnTwoThreads) {
    const Bytes keys[2] = {Text("012345678901234"), Text("98765432")};
    const Bytes expected[2] = {Encrypt(keys[0], kThreeCodes), Encrypt(keys[1], kThreeCodes)};
    int failures[2] = {0, 0};
    auto work = [&](int n) {
        CTripleDes des = Keyed(keys[n]);
        for (int round = 0; round < 2000; ++round) {
            Bytes data = kThreeCodes;
            des.Crypt(data.data(), data.data(), 16, CTripleDes::kEncrypt);
            failures[n] += data != expected[n];
            des.Crypt(data.data(), data.data(), 16, CTripleDes::kDecrypt);
            failures[n] += data != kThreeCodes;
        }
    };
    std::thread first(work, 0), second(work, 1);
    first.join();
    second.join();
    EXPECT_EQ(failures[0], 0);
    EXPECT_EQ(failures[1], 0);
}

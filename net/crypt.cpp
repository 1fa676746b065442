#include "net/crypt.h"

#include <array>
#include <cstdint>

// Bits are numbered as DES numbers them: bit 1 is the most significant bit
// of a block.
namespace kxcrypt {
namespace {

constexpr char kAlphabet[] = "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

constexpr std::uint8_t kFinalPermutation[64] = {
    40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
    38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
    36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
    34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};

constexpr std::uint8_t kKeyChoice1[56] = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43,
    35, 27, 19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54,
    46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

constexpr std::uint8_t kKeyChoice2[48] = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
    26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
    51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

constexpr std::uint8_t kKeyShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

constexpr std::uint8_t kRoundPermutation[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23,
                                                26, 5, 18, 31, 10, 2,  8,  24, 14, 32, 27,
                                                3,  9, 19, 13, 30, 6,  22, 11, 4,  25};

constexpr std::uint8_t kSBoxes[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8,  3,  10, 6,  12, 5,  9,  0, 7,  0, 15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5,  3,  8,  4,  1,  14, 8,  13, 6, 2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2,  4,  9,  1,  7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4,  9,  7, 2,  13, 12, 0, 5,  10, 3,  13, 4,  7,  15, 2,
     8,  14, 12, 0,  1,  10, 6,  9,  11, 5, 0,  14, 7,  11, 10, 4, 13, 1,  5,  8,  12, 6,
     9,  3,  2,  15, 13, 8,  10, 1,  3,  15, 4, 2,  11, 6,  7,  12, 0,  5, 14, 9},
    {10, 0,  9,  14, 6,  3,  15, 5,  1,  13, 12, 7,  11, 4,  2,  8,  13, 7, 0,  9,  3,  4,
     6,  10, 2,  8,  5,  14, 12, 11, 15, 1,  13, 6,  4,  9,  8,  15, 3,  0, 11, 1,  2,  12,
     5,  10, 14, 7,  1,  10, 13, 0,  6,  9,  8,  7,  4,  15, 14, 3,  11, 5, 2,  12},
    {7,  13, 14, 3,  0,  6,  9,  10, 1,  2, 8,  5,  11, 12, 4,  15, 13, 8,  11, 5,  6,  15,
     0,  3,  4,  7,  2,  12, 1,  10, 14, 9, 10, 6,  9,  0,  12, 11, 7,  13, 15, 1,  3,  14,
     5,  2,  8,  4,  3,  15, 0,  6,  10, 1, 13, 8,  9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4,  1,  7,  10, 11, 6,  8,  5,  3,  15, 13, 0, 14, 9,  14, 11, 2,  12, 4,  7,
     13, 1,  5,  0,  15, 10, 3,  9,  8,  6,  4,  2,  1,  11, 10, 13, 7, 8,  15, 9,  12, 5,
     6,  3,  0,  14, 11, 8,  12, 7,  1,  14, 2,  13, 6,  15, 0,  9, 10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6, 8,  0,  13, 3,  4,  14, 7,  5,  11, 10, 15, 4,  2,  7,  12,
     9,  5,  6,  1,  13, 14, 0, 11, 3,  8,  9,  14, 15, 5,  2,  8,  12, 3,  7,  0,  4,  10,
     1,  13, 11, 6,  4,  3,  2, 12, 9,  5,  15, 10, 11, 14, 1,  7,  6,  0,  8,  13},
    {4,  11, 2,  14, 15, 0,  8,  13, 3,  12, 9, 7,  5,  10, 6,  1,  13, 0, 11, 7,  4,  9,
     1,  10, 14, 3,  5,  12, 2,  15, 8,  6,  1, 4,  11, 13, 12, 3,  7,  14, 10, 15, 6, 8,
     0,  5,  9,  2,  6,  11, 13, 8,  1,  4,  10, 7, 9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2,  8,  4,  6,  15, 11, 1,  10, 9,  3,  14, 5,  0,  12, 7,  1,  15, 13, 8,  10, 3,
     7,  4,  12, 5,  6,  11, 0,  14, 9,  2,  7,  11, 4,  1,  9,  12, 14, 2, 0,  6,  10, 13,
     15, 3,  5,  8,  2,  1,  14, 7,  4,  10, 8,  13, 15, 12, 9,  0,  3,  5, 6,  11}};

// Output bit i (from 1) is input bit table[i - 1]; the input is `width` bits.
std::uint64_t permute(std::uint64_t in, const std::uint8_t* table, int count, int width) {
  std::uint64_t out = 0;
  for (int i = 0; i < count; ++i) out = (out << 1) | ((in >> (width - table[i])) & 1);
  return out;
}

// For each S-box, its output already moved through the round permutation,
// indexed by the box's six input bits.
using SpTables = std::array<std::array<std::uint32_t, 64>, 8>;

SpTables buildSpTables() {
  SpTables sp{};
  for (int box = 0; box < 8; ++box) {
    for (int v = 0; v < 64; ++v) {
      int row = ((v >> 4) & 2) | (v & 1);
      int column = (v >> 1) & 0xF;
      std::uint32_t s = kSBoxes[box][row * 16 + column];
      std::uint32_t placed = s << (28 - 4 * box);
      sp[box][v] = static_cast<std::uint32_t>(permute(placed, kRoundPermutation, 32, 32));
    }
  }
  return sp;
}

const SpTables& spTables() {
  static const SpTables tables = buildSpTables();
  return tables;
}

// Round keys as two 24-bit halves of the 48 bits.
struct RoundKey {
  std::uint32_t left;
  std::uint32_t right;
};

void scheduleKeys(const char* key, RoundKey (&keys)[16]) {
  std::uint64_t block = 0;
  bool ended = false;
  for (int i = 0; i < 8; ++i) {
    ended = ended || key[i] == '\0';
    unsigned byte = ended ? 0 : (static_cast<unsigned char>(key[i]) & 0x7Fu) << 1;
    block = (block << 8) | byte;
  }
  std::uint64_t cd = permute(block, kKeyChoice1, 56, 64);
  std::uint32_t c = static_cast<std::uint32_t>(cd >> 28) & 0x0FFFFFFF;
  std::uint32_t d = static_cast<std::uint32_t>(cd) & 0x0FFFFFFF;
  for (int round = 0; round < 16; ++round) {
    int s = kKeyShifts[round];
    c = ((c << s) | (c >> (28 - s))) & 0x0FFFFFFF;
    d = ((d << s) | (d >> (28 - s))) & 0x0FFFFFFF;
    std::uint64_t k = permute((static_cast<std::uint64_t>(c) << 28) | d, kKeyChoice2, 48, 56);
    keys[round].left = static_cast<std::uint32_t>(k >> 24) & 0xFFFFFF;
    keys[round].right = static_cast<std::uint32_t>(k) & 0xFFFFFF;
  }
}

// The six-bit value of a salt character, as the traditional code computed
// it for any byte (the alphabet maps to its positions).
int saltValue(unsigned char ch) {
  int c = ch;
  if (c > 'Z') c -= 6;
  if (c > '9') c -= 7;
  return (c - '.') & 0x3F;
}

// Salt bit b (b = 6 * character + bit, low bit first) swaps bits b and
// b + 24 of the expanded half-block: bit b of each 24-bit half.
std::uint32_t saltMask(char first, char second) {
  int values[2] = {saltValue(static_cast<unsigned char>(first)),
                   saltValue(static_cast<unsigned char>(second))};
  std::uint32_t mask = 0;
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 6; ++j)
      if ((values[i] >> j) & 1) mask |= 1u << (23 - (6 * i + j));
  return mask;
}

std::uint32_t roundFunction(std::uint32_t r, const RoundKey& key, std::uint32_t salt,
                            const SpTables& sp) {
  // The expansion: eight overlapping 6-bit windows of r, wrapping around.
  std::uint32_t rr = (r >> 1) | (r << 31);
  std::uint32_t left = (((rr >> 26) & 0x3F) << 18) | (((rr >> 22) & 0x3F) << 12) |
                       (((rr >> 18) & 0x3F) << 6) | ((rr >> 14) & 0x3F);
  std::uint32_t right = (((rr >> 10) & 0x3F) << 18) | (((rr >> 6) & 0x3F) << 12) |
                        (((rr >> 2) & 0x3F) << 6) | (((rr << 2) | (rr >> 30)) & 0x3F);
  std::uint32_t swap = (left ^ right) & salt;
  left ^= swap ^ key.left;
  right ^= swap ^ key.right;
  return sp[0][(left >> 18) & 0x3F] | sp[1][(left >> 12) & 0x3F] | sp[2][(left >> 6) & 0x3F] |
         sp[3][left & 0x3F] | sp[4][(right >> 18) & 0x3F] | sp[5][(right >> 12) & 0x3F] |
         sp[6][(right >> 6) & 0x3F] | sp[7][right & 0x3F];
}

}  // namespace

void cryptInto(const char* key, const char* salt, char (&out)[kHashSize]) {
  if (key == nullptr) key = "";
  if (salt == nullptr) salt = "";
  // Never read past the salt's end; a missing second character repeats the
  // first, and the hash is made with the characters it shows.
  char first = salt[0] != '\0' ? salt[0] : '.';
  char second = salt[0] != '\0' && salt[1] != '\0' ? salt[1] : first;

  RoundKey keys[16];
  scheduleKeys(key, keys);
  const std::uint32_t mask = saltMask(first, second);
  const SpTables& sp = spTables();

  // 25 encryptions of the zero block. The initial permutation of zero is
  // zero, and between encryptions the final and initial permutations cancel.
  std::uint32_t l = 0;
  std::uint32_t r = 0;
  for (int pass = 0; pass < 25; ++pass) {
    for (int round = 0; round < 16; ++round) {
      std::uint32_t next = l ^ roundFunction(r, keys[round], mask, sp);
      l = r;
      r = next;
    }
    std::uint32_t t = l;
    l = r;
    r = t;
  }
  std::uint64_t result =
      permute((static_cast<std::uint64_t>(l) << 32) | r, kFinalPermutation, 64, 64);

  out[0] = first;
  out[1] = second;
  for (int i = 0; i < 10; ++i) out[2 + i] = kAlphabet[(result >> (58 - 6 * i)) & 0x3F];
  out[12] = kAlphabet[(result << 2) & 0x3F];
  out[13] = '\0';
}

const char* crypt(const char* key, const char* salt) {
  static char result[kHashSize];
  cryptInto(key, salt, result);
  return result;
}

const char* passwordHash(const char* key, const char* salt) { return crypt(key, salt); }

}  // namespace kxcrypt

#include "net/crypt.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace {

constexpr char kAlphabet[] = "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// The system's crypt(3) (libxcrypt), taken from the library at run time so
// that nothing of ours links against it.
using SystemCrypt = char* (*)(const char*, const char*);

SystemCrypt LoadSystemCrypt() {
  static void* library = dlopen("libcrypt.so.1", RTLD_NOW | RTLD_LOCAL);
  if (!library) return nullptr;
  return reinterpret_cast<SystemCrypt>(dlsym(library, "crypt"));
}

std::string Ours(const std::string& key, const char* salt) {
  char out[kxcrypt::kHashSize];
  kxcrypt::cryptInto(key.c_str(), salt, out);
  return out;
}

class CryptAgainstSystem : public ::testing::Test {
 protected:
  void SetUp() override {
    system_ = LoadSystemCrypt();
    ASSERT_NE(system_, nullptr) << "libcrypt.so.1 is needed (libcrypt1)";
  }
  std::string Theirs(const std::string& key, const char* salt) {
    const char* r = system_(key.c_str(), salt);
    return r ? r : "(null)";
  }
  SystemCrypt system_ = nullptr;
};

TEST_F(CryptAgainstSystem, RandomKeysAndSalts) {
  std::mt19937 rng(20240611);
  for (int i = 0; i < 5000; ++i) {
    // Keys of 0 to 12 bytes, any byte but NUL: the high bit and bytes after
    // the eighth must be ignored the same way.
    std::string key(rng() % 13, '\0');
    for (char& c : key) c = static_cast<char>(1 + rng() % 255);
    char salt[3] = {kAlphabet[rng() % 64], kAlphabet[rng() % 64], '\0'};
    ASSERT_EQ(Ours(key, salt), Theirs(key, salt)) << "case " << i << " salt " << salt;
  }
}

TEST_F(CryptAgainstSystem, EveryPairOfSaltCharacters) {
  for (int i = 0; i < 64; ++i) {
    for (int j = 0; j < 64; ++j) {
      char salt[3] = {kAlphabet[i], kAlphabet[j], '\0'};
      for (const char* key : {"", "korvex", "\xff\xfe\x80\x7f\x01zzzz"})
        ASSERT_EQ(Ours(key, salt), Theirs(key, salt)) << salt << " " << key;
    }
  }
}

TEST_F(CryptAgainstSystem, KeysAtTheEdges) {
  const char* keys[] = {"", "a", "abcdefg", "abcdefgh", "abcdefghi", "abcdefghijklmnopqrstuvwxyz",
                        "\x80", "\xff\xff\xff\xff\xff\xff\xff\xff", "\x7f\x7f\x7f\x7f\x7f\x7f\x7f\x7f",
                        "pass word", "\x01"};
  for (const char* key : keys)
    // A stored hash as the salt: only its first two characters count.
    for (const char* salt : {"..", "zz", "/.", "Ab", "9z", "abYH7TYgEKz2Q"})
      EXPECT_EQ(Ours(key, salt), Theirs(key, salt)) << salt;
}

TEST(Crypt, KeyTextIsCutAtEightCharacters) {
  EXPECT_EQ(Ours("password", "ab"), Ours("password123", "ab"));
  EXPECT_NE(Ours("passwor", "ab"), Ours("password", "ab"));
  // Only the low seven bits count: an empty key is the all-zero key.
  EXPECT_EQ(Ours("", "xy"), Ours("\x80\x80\x80", "xy"));
  EXPECT_EQ(Ours("A", "xy"), Ours("\xc1", "xy"));
}

TEST(Crypt, ResultBeginsWithTheSaltAndVerifiesItself) {
  for (const char* salt : {"ab", "./", "Z9", "ab0123456789"}) {
    std::string hash = Ours("secret", salt);
    ASSERT_EQ(hash.size(), 13u);
    EXPECT_EQ(hash.substr(0, 2), std::string(salt, 2));
    EXPECT_EQ(hash.find_first_not_of(kAlphabet), std::string::npos);
    // Checking a password: its hash with the stored hash as salt.
    EXPECT_EQ(Ours("secret", hash.c_str()), hash);
    EXPECT_NE(Ours("Secret", hash.c_str()), hash);
  }
}

TEST(Crypt, ShortSaltsAndNullTexts) {
  // One salt character stands for itself twice, in the result and in the
  // hash, so the hash verifies against itself.
  std::string one = Ours("key", "Q");
  EXPECT_EQ(one, Ours("key", "QQ"));
  EXPECT_EQ(Ours("key", one.c_str()), one);
  // Nothing is read past the end of an empty salt; it counts as "..".
  EXPECT_EQ(Ours("key", ""), Ours("key", ".."));
  EXPECT_EQ(Ours("", nullptr), Ours("", ".."));
  char out[kxcrypt::kHashSize];
  kxcrypt::cryptInto(nullptr, "ab", out);
  EXPECT_EQ(std::string(out), Ours("", "ab"));
}

TEST(Crypt, StaticResultIsOverwrittenAndTheSessionEntryForwards) {
  const char* first = kxcrypt::crypt("one", "ab");
  std::string kept = first;
  const char* second = kxcrypt::passwordHash("two", "ab");
  EXPECT_EQ(first, second) << "one static buffer";
  EXPECT_NE(kept, std::string(second));
  EXPECT_EQ(std::string(kxcrypt::passwordHash("one", "ab")), kept);
}

}  // namespace

// One-way password hashes in the form of the traditional DES-based crypt(3):
// the server stores users' passwords so, the client hashes a new password
// before it sends it and checks a password by hashing it with the stored
// hash as the salt. Hashes made by other implementations of the traditional
// function verify here and the reverse.
#pragma once

#include <cstddef>

namespace kxcrypt {

// 13 characters and the NUL.
constexpr size_t kHashSize = 14;

// The hash of `key` (its first 8 characters count, 7 bits of each) with the
// first two characters of `salt`: the two salt characters, then 11
// characters of "./0-9A-Za-z". Returns a static buffer that the next call
// overwrites. Null texts count as empty.
//
// A salt of one character stands for that character twice, so the result
// ("AA...") verifies against itself; an empty salt stands for "..".
// Characters outside the alphabet are mapped as the traditional
// implementation mapped them.
const char* crypt(const char* key, const char* salt);

// The entry the session calls; the same as crypt.
const char* passwordHash(const char* key, const char* salt);

// The same hash written into the caller's buffer.
void cryptInto(const char* key, const char* salt, char (&out)[kHashSize]);

}  // namespace kxcrypt

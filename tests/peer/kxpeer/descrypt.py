"""Traditional DES-based crypt(3), written out bit by bit.

Python's own crypt module is going away, so the peer carries this one; its
hashes match every traditional crypt(3) (the self-tests compare it with the
system's where one is available).  Speed does not matter here.
"""

_IP = (58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
       62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
       57, 49, 41, 33, 25, 17, 9, 1, 59, 51, 43, 35, 27, 19, 11, 3,
       61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7)

_FP = (40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
       38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
       36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
       34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9, 49, 17, 57, 25)

_PC1_C = (57, 49, 41, 33, 25, 17, 9, 1, 58, 50, 42, 34, 26, 18,
          10, 2, 59, 51, 43, 35, 27, 19, 11, 3, 60, 52, 44, 36)
_PC1_D = (63, 55, 47, 39, 31, 23, 15, 7, 62, 54, 46, 38, 30, 22,
          14, 6, 61, 53, 45, 37, 29, 21, 13, 5, 28, 20, 12, 4)

_SHIFTS = (1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1)

_PC2_C = (14, 17, 11, 24, 1, 5, 3, 28, 15, 6, 21, 10,
          23, 19, 12, 4, 26, 8, 16, 7, 27, 20, 13, 2)
_PC2_D = (41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48,
          44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32)

_E = (32, 1, 2, 3, 4, 5, 4, 5, 6, 7, 8, 9, 8, 9, 10, 11, 12, 13, 12, 13, 14, 15, 16, 17,
      16, 17, 18, 19, 20, 21, 20, 21, 22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1)

_P = (16, 7, 20, 21, 29, 12, 28, 17, 1, 15, 23, 26, 5, 18, 31, 10,
      2, 8, 24, 14, 32, 27, 3, 9, 19, 13, 30, 6, 22, 11, 4, 25)

_S = (
    (14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7,
     0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8,
     4, 1, 14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0,
     15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13),
    (15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10,
     3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5,
     0, 14, 7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15,
     13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9),
    (10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8,
     13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1,
     13, 6, 4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7,
     1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12),
    (7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15,
     13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9,
     10, 6, 9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4,
     3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14),
    (2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9,
     14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6,
     4, 2, 1, 11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14,
     11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3),
    (12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11,
     10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8,
     9, 14, 15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6,
     4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13),
    (4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1,
     13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6,
     1, 4, 11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2,
     6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12),
    (13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7,
     1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2,
     7, 11, 4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8,
     2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11),
)

ALPHABET = "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"


def _key_schedule(key_bits):
    c = [key_bits[i - 1] for i in _PC1_C]
    d = [key_bits[i - 1] for i in _PC1_D]
    schedule = []
    for shift in _SHIFTS:
        c = c[shift:] + c[:shift]
        d = d[shift:] + d[:shift]
        schedule.append([c[i - 1] for i in _PC2_C] + [d[i - 29] for i in _PC2_D])
    return schedule


def _encrypt(block, schedule, expansion):
    lr = [block[i - 1] for i in _IP]
    left, right = lr[:32], lr[32:]
    for subkey in schedule:
        pre = [right[expansion[j] - 1] ^ subkey[j] for j in range(48)]
        f = []
        for box in range(8):
            b = pre[6 * box:6 * box + 6]
            row = (b[0] << 1) | b[5]
            col = (b[1] << 3) | (b[2] << 2) | (b[3] << 1) | b[4]
            value = _S[box][row * 16 + col]
            f += [(value >> 3) & 1, (value >> 2) & 1, (value >> 1) & 1, value & 1]
        left, right = right, [left[j] ^ f[_P[j] - 1] for j in range(32)]
    joined = right + left  # the halves are swapped after the last round
    return [joined[i - 1] for i in _FP]


def _salt_value(ch):
    # The classic mapping, also for characters outside the alphabet.
    c = ch
    if c > ord("Z"):
        c -= 6
    if c > ord("9"):
        c -= 7
    c -= ord(".")
    return c & 0x3F


def crypt(key, salt):
    """The 13-character hash of key under the two-character salt."""
    if isinstance(key, str):
        key = key.encode("latin-1")
    if isinstance(salt, str):
        salt = salt.encode("latin-1")
    key_bits = [0] * 64
    for i, ch in enumerate(key[:8]):
        for j in range(7):
            key_bits[8 * i + j] = (ch >> (6 - j)) & 1
    schedule = _key_schedule(key_bits)

    salt_chars = list(salt[:2]) + [0] * (2 - len(salt[:2]))
    expansion = list(_E)
    for i, ch in enumerate(salt_chars):
        value = _salt_value(ch)
        for j in range(6):
            if (value >> j) & 1:
                a, b = 6 * i + j, 6 * i + j + 24
                expansion[a], expansion[b] = expansion[b], expansion[a]

    block = [0] * 64
    for _ in range(25):
        block = _encrypt(block, schedule, expansion)

    bits = block + [0, 0]
    out = [chr(c) for c in salt_chars]
    for i in range(11):
        value = 0
        for j in range(6):
            value = (value << 1) | bits[6 * i + j]
        out.append(ALPHABET[value])
    if salt_chars[1] == 0:
        out[1] = out[0]
    return "".join(out)


def verify(password, stored):
    return len(stored) >= 2 and crypt(password, stored[:2]) == stored

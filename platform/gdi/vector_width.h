// ZEMRA_WIDEST_VECTORS before a function with a loop over pixels: the
// compiler builds it once for the processors of the baseline and once for
// those with 256-bit vectors, and the library picks one when it is loaded.
// The sanitizers' builds keep one version.
#pragma once

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer) || \
    __has_feature(memory_sanitizer)
#define ZEMRA_ONE_VECTOR_VERSION 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZEMRA_ONE_VECTOR_VERSION 1
#endif

#if defined(__x86_64__) && defined(__ELF__) && !defined(ZEMRA_ONE_VECTOR_VERSION)
#define ZEMRA_WIDEST_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define ZEMRA_WIDEST_VECTORS
#endif

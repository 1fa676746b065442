// Loops over pixels built twice, for the processors of the baseline and
// for those with 256-bit vectors.
//
// ZEMRA_WIDEST_VECTORS before a function: the compiler's own clones, one
// chosen when the code is loaded.
//
// In the platform library, which every program loads, the choice waits for
// the first call instead: asking the processor costs a trip to the
// hypervisor on a virtual machine, which a program that never draws should
// not pay at its start.
//
//   ZEMRA_VECTOR_BODY void LookUp8Body(params) { the loop }
//   ZEMRA_VECTOR_VERSIONS(LookUp8, LookUp8Body, (params), (arguments))
//
// defines LookUp8(params). The sanitizers' builds keep one version.
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

namespace win::gdi {
// Whether the processor has 256-bit integer vectors (AVX2) and the system
// keeps their registers; asked once.
bool HasWideVectors();
}  // namespace win::gdi

#define ZEMRA_VECTOR_BODY static inline __attribute__((always_inline))

#if defined(__x86_64__) && defined(__ELF__) && !defined(ZEMRA_ONE_VECTOR_VERSION)
#define ZEMRA_WIDEST_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define ZEMRA_WIDEST_VECTORS
#endif

#if defined(__x86_64__) && !defined(ZEMRA_ONE_VECTOR_VERSION)
#define ZEMRA_VECTOR_VERSIONS(name, body, params, args)                 \
  __attribute__((target("avx2"))) static void name##Wide params { body args; } \
  static void name##Narrow params { body args; }                        \
  static void name params {                                             \
    static const bool wide = ::win::gdi::HasWideVectors();              \
    if (wide) {                                                         \
      name##Wide args;                                                  \
    } else {                                                            \
      name##Narrow args;                                                \
    }                                                                   \
  }
#else
#define ZEMRA_VECTOR_VERSIONS(name, body, params, args) \
  static void name params { body args; }
#endif

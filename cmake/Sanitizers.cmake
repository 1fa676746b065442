# ASan + UBSan for the whole build. Any report aborts the process, so a test
# that triggers one fails instead of printing and passing.
if(ZEMRA_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_san})
  add_link_options(${_san})
endif()
# Fuzz builds instrument every library for coverage; only the fuzz
# executables themselves link the libFuzzer driver.
if(ZEMRA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ZEMRA_FUZZ needs clang")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

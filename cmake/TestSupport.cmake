# The helpers shared by the tests (temporary directories, USER's clock,
# outside tools, golden pictures), as the library zemra_test_support. The
# benchmarks borrow some of them, so a build of the benchmarks alone makes
# it too.
function(zemra_test_support_library)
  if(TARGET zemra_test_support)
    return()
  endif()
  find_package(GTest REQUIRED)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/support/*.cpp)
  add_library(zemra_test_support STATIC ${sources})
  target_include_directories(zemra_test_support PUBLIC ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(zemra_test_support PUBLIC zemra_platform GTest::gtest)
  target_compile_definitions(zemra_test_support PRIVATE
    ZEMRA_SOURCE_DIR="${PROJECT_SOURCE_DIR}" ZEMRA_BINARY_DIR="${PROJECT_BINARY_DIR}")
endfunction()

# Two small libraries for the run-time loader's tests (platform_tests):
# libZemraFixture.so with an export table, ZemraPlain.so without one.
set(ZEMRA_TEST_MODULE_DIR ${PROJECT_BINARY_DIR}/test-modules)
add_library(ZemraFixture SHARED ${CMAKE_CURRENT_LIST_DIR}/fixture_module.cpp)
target_include_directories(ZemraFixture PRIVATE ${PROJECT_SOURCE_DIR}/platform/include)
set_target_properties(ZemraFixture PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${ZEMRA_TEST_MODULE_DIR})
add_library(ZemraPlain SHARED ${CMAKE_CURRENT_LIST_DIR}/plain_module.cpp)
target_link_libraries(ZemraPlain PRIVATE ZemraFixture zemra_platform)
set_target_properties(ZemraPlain PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${ZEMRA_TEST_MODULE_DIR})
# The test program needs them built; it is defined later in tests/.
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL add_dependencies platform_tests ZemraFixture ZemraPlain)

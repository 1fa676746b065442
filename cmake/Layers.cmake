# One static library per layer folder, made of every .cpp below the folder.
# A layer may include only the folders of the layers it links (see
# tools/layers.txt); the libraries below are linked publicly so a layer sees
# everything beneath it. A folder that has no sources yet is an interface
# library, so the layers above can already name it.
function(zemra_layer target)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(srcs)
    add_library(${target} STATIC ${srcs})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARGN})
    zemra_warnings(${target})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARGN})
  endif()
endfunction()

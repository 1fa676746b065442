# Resources (string tables, dialog templates, menus, cursors) are text or
# binary files under resources/. They are compiled into the program as byte
# arrays, so the client needs no files beside it to find its own resources.
#
# zemra_embed(<out_var> <file> <symbol>) generates a source file defining
#   extern "C" const unsigned char <symbol>[];  extern "C" const unsigned long <symbol>_size;
# and appends its path to <out_var>.
function(zemra_embed out_var file symbol)
  get_filename_component(abs "${file}" ABSOLUTE)
  set(gen "${CMAKE_CURRENT_BINARY_DIR}/embed_${symbol}.cpp")
  add_custom_command(
    OUTPUT "${gen}"
    COMMAND ${CMAKE_COMMAND} -DIN=${abs} -DOUT=${gen} -DSYM=${symbol}
            -P "${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake"
    DEPENDS "${abs}" "${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake"
    COMMENT "Embedding ${file}")
  set(${out_var} ${${out_var}} "${gen}" PARENT_SCOPE)
endfunction()

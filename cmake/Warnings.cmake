# Warnings for our own targets; third-party code is never compiled here.
function(zemra_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

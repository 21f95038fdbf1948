# Warnings for the project's own targets. CI builds with QORIN_WERROR=ON.
option(QORIN_WERROR "Treat warnings as errors" OFF)

function(qorin_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(QORIN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Warnings for the project's own targets. CI builds with QORIN_WERROR=ON.
option(QORIN_WERROR "Treat warnings as errors" OFF)

function(qorin_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  # GCC 12 at -O3 reports overlapping copies inside std::string's operator+ that cannot happen
  # (GCC bug 105329); the optimised benchmark build would otherwise print dozens of them.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(QORIN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

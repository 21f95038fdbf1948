# Cross-build for Windows with clang and lld against Debian's mingw-w64 runtime and the C++ library
# of its mingw GCC 12 (Debian g++-mingw-w64-i686 or -x86-64), whole-program optimised for size:
# the stub is about 40 % smaller than with GCC and GNU ld (whose PE linker keeps every unwind
# table and has no link-time optimisation that works here). The win32 thread model: no
# winpthreads in the programs (the one worker thread is the C runtime's). Included by the
# toolchain file of each processor after it sets CMAKE_SYSTEM_PROCESSOR and QORIN_MINGW_PREFIX.
set(CMAKE_SYSTEM_NAME Windows)

find_program(CMAKE_C_COMPILER NAMES clang-14 clang REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES clang++-14 clang++ REQUIRED)
find_program(CMAKE_AR NAMES llvm-ar-14 llvm-ar REQUIRED)
find_program(CMAKE_RANLIB NAMES llvm-ranlib-14 llvm-ranlib REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QORIN_MINGW_PREFIX}-windres REQUIRED)
find_program(CMAKE_STRIP NAMES ${QORIN_MINGW_PREFIX}-strip)
set(CMAKE_C_COMPILER_TARGET ${QORIN_MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${QORIN_MINGW_PREFIX})
set(CMAKE_SYSROOT /usr/${QORIN_MINGW_PREFIX})

# clang does not look into Debian's versioned GCC folders by itself.
set(_qorin_gcc /usr/lib/gcc/${QORIN_MINGW_PREFIX}/12-win32)
set(_qorin_cxx_include "-nostdinc++ -isystem ${_qorin_gcc}/include/c++ -isystem ${_qorin_gcc}/include/c++/${QORIN_MINGW_PREFIX} -isystem ${_qorin_gcc}/include/c++/backward")
# GCC for mingw compares type_info by name out of line; clang would inline the comparison and
# clash with the library's own definition.
set(CMAKE_CXX_FLAGS_INIT "${_qorin_cxx_include} -D__GXX_TYPEINFO_EQUALITY_INLINE=0 -flto")
# The whole program is optimised at link time, for size.
set(CMAKE_C_FLAGS_INIT "-flto")
set(CMAKE_C_FLAGS_MINSIZEREL "-Oz -DNDEBUG" CACHE STRING "")
set(CMAKE_CXX_FLAGS_MINSIZEREL "-Oz -DNDEBUG" CACHE STRING "")

set(CMAKE_FIND_ROOT_PATH /usr/${QORIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable (no libgcc or libstdc++ DLLs beside it), linked by lld with the
# libraries of the GCC folder; identical functions folded into one. The C++ include flags reach
# the link line too, where the driver would call them unused.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-fuse-ld=lld -static -B${_qorin_gcc} -L${_qorin_gcc} -flto -Wl,--icf=all -Wno-unused-command-line-argument")

# Windows test programs run under Wine through this wrapper (private prefix, timeout).
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tests/wine/run-wine.sh")

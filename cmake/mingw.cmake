# Cross-build for Windows with mingw-w64 (Debian g++-mingw-w64-i686 or -x86-64): included by the
# toolchain file of each processor after it sets CMAKE_SYSTEM_PROCESSOR and QORIN_MINGW_PREFIX.
# The posix thread model is used: the win32 one has no std::mutex, which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)

find_program(CMAKE_C_COMPILER NAMES ${QORIN_MINGW_PREFIX}-gcc-posix ${QORIN_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${QORIN_MINGW_PREFIX}-g++-posix ${QORIN_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QORIN_MINGW_PREFIX}-windres REQUIRED)
find_program(CMAKE_STRIP NAMES ${QORIN_MINGW_PREFIX}-strip)

set(CMAKE_FIND_ROOT_PATH /usr/${QORIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable: no libgcc, libstdc++ or winpthread DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Windows test programs run under Wine through this wrapper (private prefix, timeout).
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tests/wine/run-wine.sh")

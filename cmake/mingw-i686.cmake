# Cross-build for 32-bit Windows (the stub users ship by default).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QORIN_MINGW_PREFIX i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw.cmake")

# Cross-build for 64-bit Windows: the x64 stub, from the same sources.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QORIN_MINGW_PREFIX x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw.cmake")

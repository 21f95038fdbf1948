# GoogleTest from Debian's googletest package (/usr/src/googletest), built from source with the
# current toolchain so the same tests compile natively and for Windows.
set(QORIN_GOOGLETEST_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources")
if(NOT EXISTS "${QORIN_GOOGLETEST_DIR}/CMakeLists.txt")
  message(FATAL_ERROR "GoogleTest sources not found in ${QORIN_GOOGLETEST_DIR}: run tools/bootstrap.sh")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory("${QORIN_GOOGLETEST_DIR}" "${CMAKE_BINARY_DIR}/_deps/googletest" EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)
# The Windows programs use the C++ library's win32 thread model, which has no std::mutex: GoogleTest
# gets its Notification from the hook header there.
if(MINGW)
  foreach(target gtest gtest_main gmock gmock_main)
    target_include_directories(${target} BEFORE PUBLIC "${PROJECT_SOURCE_DIR}/tests/helpers/gtest_win32")
  endforeach()
endif()

# The LZMA SDK decoder (7-Zip's C code), taken from Debian's 7zip source package that
# tools/bootstrap.sh downloads. Only the C/ folder is unpacked, into the build tree, and only the
# decoder side is compiled. Defines the static library `lzma_sdk`.

set(QORIN_CACHE "$ENV{QORIN_CACHE}")
if(NOT QORIN_CACHE)
  set(QORIN_CACHE "$ENV{HOME}/.cache/qorin")
endif()
file(GLOB _qorin_lzma_tarballs "${QORIN_CACHE}/7zip_*.orig.tar.*")
list(SORT _qorin_lzma_tarballs)
list(LENGTH _qorin_lzma_tarballs _qorin_lzma_count)
if(_qorin_lzma_count EQUAL 0)
  message(FATAL_ERROR "LZMA SDK sources not found in ${QORIN_CACHE}: run tools/bootstrap.sh first")
endif()
list(GET _qorin_lzma_tarballs -1 QORIN_LZMA_TARBALL)

set(_qorin_lzma_root "${CMAKE_BINARY_DIR}/_deps/lzma")
set(_qorin_lzma_stamp "${_qorin_lzma_root}/unpacked.stamp")
if(NOT EXISTS "${_qorin_lzma_stamp}")
  file(REMOVE_RECURSE "${_qorin_lzma_root}")
  file(MAKE_DIRECTORY "${_qorin_lzma_root}")
  execute_process(
    COMMAND tar -xf "${QORIN_LZMA_TARBALL}" --wildcards "*/C/*" --exclude "*/C/Util*"
    WORKING_DIRECTORY "${_qorin_lzma_root}"
    RESULT_VARIABLE _qorin_tar_result)
  if(NOT _qorin_tar_result EQUAL 0)
    message(FATAL_ERROR "could not unpack ${QORIN_LZMA_TARBALL}")
  endif()
  file(WRITE "${_qorin_lzma_stamp}" "${QORIN_LZMA_TARBALL}\n")
endif()
file(GLOB _qorin_lzma_c_dirs LIST_DIRECTORIES true "${_qorin_lzma_root}/*/C")
list(GET _qorin_lzma_c_dirs 0 QORIN_LZMA_DIR)

set(_qorin_lzma_sources
    7zAlloc.c 7zArcIn.c 7zBuf.c 7zCrc.c 7zCrcOpt.c 7zDec.c 7zStream.c CpuArch.c
    LzmaDec.c Lzma2Dec.c Bcj2.c Bra.c Bra86.c BraIA64.c Delta.c Ppmd7.c Ppmd7Dec.c)
list(TRANSFORM _qorin_lzma_sources PREPEND "${QORIN_LZMA_DIR}/")

add_library(lzma_sdk STATIC ${_qorin_lzma_sources})
# Vendor code: its own warnings are not ours to fix.
target_compile_options(lzma_sdk PRIVATE -w)
# No exception ever passes through the SDK (its callbacks, the allocator and the range stream, do
# not throw), so its C code needs no unwind tables in the x86 stub. (The x64 ABI wants unwind data
# for every function that is not a leaf, for the system's own unwinding: kept there.)
if(MINGW AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  target_compile_options(lzma_sdk PRIVATE -fno-asynchronous-unwind-tables)
endif()
# The SDK reads little-endian words through unaligned pointers on x86 by design.
if(QORIN_SANITIZE)
  target_compile_options(lzma_sdk PRIVATE -fno-sanitize=alignment)
endif()
target_compile_definitions(lzma_sdk PUBLIC Z7_ST)
target_include_directories(lzma_sdk SYSTEM PUBLIC "${QORIN_LZMA_DIR}")

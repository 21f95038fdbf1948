# Where exceptions pass: the script engine (an error or an allocation failure ends a script run
# there), the natives it calls and the readers that turn an allocation failure into an error code.
# The rest (the window, the skin's controls, painting, start-up, the extraction thread) catches
# none, and is built without exception support: in the x86 stub their unwind tables alone were a
# fifth of the file. An allocation failure in that code ends the program, as an exception that
# reached a window procedure always did.
function(qorin_without_exceptions)
  set(options -fno-exceptions)
  # x86 needs no unwind tables where nothing unwinds; the x64 ABI wants them on every function that
  # is not a leaf, for the system's own stack walks.
  if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    list(APPEND options -fno-asynchronous-unwind-tables -fno-unwind-tables)
  endif()
  set_source_files_properties(${ARGN} PROPERTIES COMPILE_OPTIONS "${options}")
endfunction()

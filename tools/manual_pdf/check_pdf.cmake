# cmake -DPDF=<file> -DMIN_SIZE=<bytes> -P check_pdf.cmake
# The manual must exist, be a PDF, and be large enough to hold the whole text
# (an empty page set comes out at a few kilobytes).
if(NOT EXISTS "${PDF}")
  message(FATAL_ERROR "manual missing: ${PDF}")
endif()
file(SIZE "${PDF}" size)
if(size LESS_EQUAL MIN_SIZE)
  message(FATAL_ERROR "manual too small: ${PDF} holds ${size} bytes, expected more than ${MIN_SIZE}")
endif()
# "%PDF-" read as hex: a text read of a binary file is not byte-exact.
file(READ "${PDF}" head LIMIT 5 HEX)
if(NOT head STREQUAL "255044462d")
  message(FATAL_ERROR "not a PDF file: ${PDF}")
endif()
message(STATUS "manual ${PDF}: ${size} bytes")

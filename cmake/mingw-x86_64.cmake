# The same program for 64-bit Windows, and for machines that cannot run 32-bit code.
set(QRV_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

# The product: 32-bit Windows.
set(QRV_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

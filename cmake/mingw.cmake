# Cross build for Windows with the mingw-w64 toolchain of QRV_ARCH (i686 or
# x86_64), set by the toolchain file that includes this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QRV_ARCH})
set(CMAKE_C_COMPILER ${QRV_ARCH}-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER ${QRV_ARCH}-w64-mingw32-g++)
set(CMAKE_RC_COMPILER ${QRV_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QRV_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

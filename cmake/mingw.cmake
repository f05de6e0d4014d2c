# Cross build for Windows with the mingw-w64 toolchain of QRV_ARCH (i686 or
# x86_64), set by the toolchain file that includes this one. The compilers are
# named with their thread model: the plain names are alternatives that a
# machine may point at the posix-threads variant, whose larger runtime needs
# Windows Vista's kernel32 (quorvel.exe links no runtime, but the test
# programs do).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QRV_ARCH})
set(CMAKE_C_COMPILER ${QRV_ARCH}-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER ${QRV_ARCH}-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER ${QRV_ARCH}-w64-mingw32-windres)
# windres preprocesses with the plain gcc name unless told otherwise.
set(CMAKE_RC_FLAGS_INIT "--preprocessor=${QRV_ARCH}-w64-mingw32-gcc-win32 --preprocessor-arg=-E --preprocessor-arg=-xc-header --preprocessor-arg=-DRC_INVOKED")
set(CMAKE_FIND_ROOT_PATH /usr/${QRV_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

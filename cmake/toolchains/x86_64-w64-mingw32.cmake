# Windows on AMD64, cross-compiled with Debian's x86_64-w64-mingw32 toolchain
# (package g++-mingw-w64-x86-64, its POSIX thread model), the programs run
# under wine (packages wine and wine64).
#   cmake -S . -B build-x86_64-w64-mingw32 --toolchain cmake/toolchains/x86_64-w64-mingw32.cmake
#   cmake --build build-x86_64-w64-mingw32 -j2 && ctest --test-dir build-x86_64-w64-mingw32 --output-on-failure
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)  # GoogleTest's sources build C too
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Every runtime library linked in, so that each .exe runs on its own.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

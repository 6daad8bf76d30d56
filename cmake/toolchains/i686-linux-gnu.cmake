# Linux on 32-bit x86, cross-compiled with Debian's g++-i686-linux-gnu and run
# under qemu-user (package qemu-user-static).
#   cmake -S . -B build-i686-linux-gnu --toolchain cmake/toolchains/i686-linux-gnu.cmake
#   cmake --build build-i686-linux-gnu -j2 && ctest --test-dir build-i686-linux-gnu --output-on-failure
set(CMAKE_SYSTEM_PROCESSOR i686)
set(cross_triplet i686-linux-gnu)
set(cross_qemu qemu-i386-static)
include(${CMAKE_CURRENT_LIST_DIR}/debian-linux-cross.cmake)

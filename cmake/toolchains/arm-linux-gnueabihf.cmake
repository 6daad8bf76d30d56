# Linux on 32-bit ARM with hardware floating point, cross-compiled with
# Debian's g++-arm-linux-gnueabihf and run under qemu-user (package
# qemu-user-static).
#   cmake -S . -B build-arm-linux-gnueabihf --toolchain cmake/toolchains/arm-linux-gnueabihf.cmake
#   cmake --build build-arm-linux-gnueabihf -j2 && ctest --test-dir build-arm-linux-gnueabihf --output-on-failure
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(cross_triplet arm-linux-gnueabihf)
set(cross_qemu qemu-arm-static)
include(${CMAKE_CURRENT_LIST_DIR}/debian-linux-cross.cmake)

# Linux on 64-bit ARM, cross-compiled with Debian's g++-aarch64-linux-gnu and
# run under qemu-user (package qemu-user-static).
#   cmake -S . -B build-aarch64-linux-gnu --toolchain cmake/toolchains/aarch64-linux-gnu.cmake
#   cmake --build build-aarch64-linux-gnu -j2 && ctest --test-dir build-aarch64-linux-gnu --output-on-failure
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(cross_triplet aarch64-linux-gnu)
set(cross_qemu qemu-aarch64-static)
include(${CMAKE_CURRENT_LIST_DIR}/debian-linux-cross.cmake)

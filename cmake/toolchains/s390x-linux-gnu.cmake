# Linux on big-endian s390x, cross-compiled with Debian's g++-s390x-linux-gnu
# and run under qemu-user (package qemu-user-static).
#   cmake -S . -B build-s390x-linux-gnu --toolchain cmake/toolchains/s390x-linux-gnu.cmake
#   cmake --build build-s390x-linux-gnu -j2 && ctest --test-dir build-s390x-linux-gnu --output-on-failure
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(cross_triplet s390x-linux-gnu)
set(cross_qemu qemu-s390x-static)
include(${CMAKE_CURRENT_LIST_DIR}/debian-linux-cross.cmake)

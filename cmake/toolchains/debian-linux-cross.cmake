# What every Linux toolchain file here shares: Debian's cross compilers for
# `cross_triplet`, its libraries under /usr/<triplet>, and the programs run
# under qemu-user (`cross_qemu`) with that folder as their root for the
# dynamic loader and libraries.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_CXX_COMPILER ${cross_triplet}-g++)
set(CMAKE_C_COMPILER ${cross_triplet}-gcc)  # GoogleTest's sources build C too
set(CMAKE_FIND_ROOT_PATH /usr/${cross_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${cross_qemu} -L /usr/${cross_triplet})

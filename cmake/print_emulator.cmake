# Prints the emulator a toolchain file sets, as one command line.
# Usage: cmake -P cmake/print_emulator.cmake TOOLCHAIN_FILE
include(${CMAKE_ARGV3})
list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${emulator}")

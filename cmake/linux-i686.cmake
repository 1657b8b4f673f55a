# Cross-compiles the portable logic and its unit tests as 32-bit Linux code, run through QEMU's
# user-mode emulator: the kernel here starts no 32-bit program, and the 32-bit zelvo.exe's logic
# must meet a 32-bit size_t somewhere before its users do.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)
# Static, so that the emulator needs no 32-bit loader or libraries on the machine. The linker's
# warning that getaddrinfo needs glibc's shared libraries concerns GoogleTest's streaming output,
# which the tests never use.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_FIND_ROOT_PATH /usr/i686-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Named here rather than left to a binfmt registration, which a container or a CI machine may
# not have. Test discovery and every test run through it.
find_program(ZELVO_QEMU_I386 qemu-i386-static REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZELVO_QEMU_I386})

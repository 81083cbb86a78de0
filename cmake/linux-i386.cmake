# 32-bit Linux build (i386: 4-byte pointers, size_t and long, the alignments
# of i386) with Debian's g++-multilib. This kernel refuses i386 executables,
# so ctest runs the test programs under qemu-user's emulation.
#
# It builds the portable layer, the library and their test programs
# (GoogleTest from Debian's sources, as for every cross build). Left out:
# the GUI (Windows only); the packaging check, which builds its consumer
# with the bare compiler and runs it directly; the benchmarks, whose
# Google Benchmark and peer libraries are installed for the host only and
# whose speeds under emulation would say nothing; and the fuzz targets,
# which the clang sanitizer build runs.
set(ZOL_BUILD_BENCH OFF)
set(ZOL_BUILD_FUZZ OFF)
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386)
# Debian packages made here hold i386 programs, whatever the host is.
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE i386)

# The test programs check that they were built for this data model, and the
# tests that are slow under emulation take smaller sizes (tests/CMakeLists.txt).
set(ZOL_EXPECTED_POINTER_SIZE 4)
set(ZOL_TESTS_UNDER_EMULATION ON)

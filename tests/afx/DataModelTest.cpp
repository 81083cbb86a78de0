// A build for another data model than the host's (cmake/linux-i386.cmake)
// names the pointer size it targets: a build that lost its -m32 must not pass
// for a 32-bit run.
#include <cstddef>

#if defined(ZOL_EXPECTED_POINTER_SIZE)
static_assert(sizeof(void*) == ZOL_EXPECTED_POINTER_SIZE, "built for another data model than the toolchain names");
static_assert(sizeof(std::size_t) == ZOL_EXPECTED_POINTER_SIZE, "built for another data model than the toolchain names");
#endif

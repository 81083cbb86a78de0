# Debian packages, one per install component (cmake/ZolPackaging.cmake):
#   libzolxml1     the shared libraries                        (runtime)
#   libzolxml-dev  headers, CMake and pkg-config packages, .so (development)
#   zolxml         the command-line tool and its man page      (tool)
# Built with "cpack -G DEB" in a build folder; they install under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zol)
set(CPACK_PACKAGE_VENDOR "ZOL toolkit")
set(CPACK_PACKAGE_CONTACT "ZOL toolkit developers <zol-toolkit@example.org>")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development tool)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

# Dependencies on the system's libraries come from dpkg-shlibdeps. The
# runtime package states its own shared libraries' versions (a shlibs file,
# and the ldconfig trigger), and the other two depend on it, version for
# version.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The tool needs the project's own libraries, which no installed package
# describes yet: dpkg-shlibdeps finds them in the build.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
set(CPACK_COMPONENT_TOOL_DEPENDS runtime)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libzolxml1)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "ZOL toolkit XML document library
An in-memory XML document model: a reader from UTF-8 and UTF-16 text and
files, a compact writer, deep copy, comparison, word gathering and a binary
archive form. This package holds the shared libraries libZOLXML and ZOLAfx.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libzolxml-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "ZOL toolkit XML document library (development files)
The public header ZOLXML/ZOLLibXML.h with the platform layer's headers, the
CMake package (find_package(ZOLXML), target ZOLXML::ZOLXML), the pkg-config
file zolxml.pc and the links to the shared libraries.")

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME zolxml)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION text)
set(CPACK_COMPONENT_TOOL_DESCRIPTION "check, print and convert XML documents with the ZOL toolkit
zolxml checks whether documents load, prints their compact form, their
words and their statistics, and converts them to and from the library's
binary archive form.")

include(CPack)

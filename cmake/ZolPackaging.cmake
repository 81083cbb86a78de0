# Installation: headers, libraries, a CMake package and a pkg-config file,
# in the components that the Debian packages split them into: "runtime"
# (the shared libraries), "development" (headers, the packages for CMake
# and pkg-config, the links a linker finds) and "tool" (cli/).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS ZOLAfx ZOLXML EXPORT ZOLXMLTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
install(FILES ${ZOLXML_PUBLIC_HEADER} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ZOLXML COMPONENT development)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/afx/core/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/afx/core
  COMPONENT development FILES_MATCHING PATTERN "*.h")
install(EXPORT ZOLXMLTargets NAMESPACE ZOLXML:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZOLXML
  COMPONENT development)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ZOLXMLConfig.cmake.in
  ${PROJECT_BINARY_DIR}/ZOLXMLConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZOLXML)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ZOLXMLConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ZOLXMLConfig.cmake ${PROJECT_BINARY_DIR}/ZOLXMLConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZOLXML COMPONENT development)

file(RELATIVE_PATH ZOL_PC_TO_PREFIX /root/${CMAKE_INSTALL_LIBDIR}/pkgconfig /root)
# Named so that no pkg-config takes it up in the build tree, where the
# prefix it finds from its own place holds nothing.
configure_file(${PROJECT_SOURCE_DIR}/cmake/zolxml.pc.in ${PROJECT_BINARY_DIR}/zolxml.pc.install @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/zolxml.pc.install RENAME zolxml.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)

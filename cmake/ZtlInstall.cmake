# What `cmake --install` puts under the prefix: the shared and static libraries, the public
# headers (include/ztldata/ and ztldata.h), the CMake package (find_package(ztldata)) and the
# pkg-config file. The `ztl` command and its man page are installed by tools/ztl.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZTL_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/ztldata" CACHE STRING
    "Where the ztldata CMake package files are installed (under the prefix)")

install(TARGETS ztldata_shared ztldata EXPORT ztldataTargets
  LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT runtime NAMELINK_COMPONENT development
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT development
  RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT runtime)
install(DIRECTORY "${PROJECT_SOURCE_DIR}/include/ztldata" DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}"
  COMPONENT development FILES_MATCHING PATTERN "*.hpp")
install(FILES "${PROJECT_SOURCE_DIR}/bindings/c/ztldata.h" DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}"
  COMPONENT development)

install(EXPORT ztldataTargets NAMESPACE ztldata:: DESTINATION "${ZTL_INSTALL_CMAKEDIR}"
  COMPONENT development)
configure_package_config_file("${PROJECT_SOURCE_DIR}/cmake/ztldataConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/ztldataConfig.cmake" INSTALL_DESTINATION "${ZTL_INSTALL_CMAKEDIR}")
# Before 1.0 only the same minor version is compatible.
write_basic_package_version_file("${PROJECT_BINARY_DIR}/ztldataConfigVersion.cmake"
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES "${PROJECT_BINARY_DIR}/ztldataConfig.cmake" "${PROJECT_BINARY_DIR}/ztldataConfigVersion.cmake"
  DESTINATION "${ZTL_INSTALL_CMAKEDIR}" COMPONENT development)

# The pkg-config file finds the prefix from its own place, so the tree may be installed under
# any prefix (cmake --install --prefix DIR) and moved.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(ZTL_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(ZTL_PC_LIBDIR "${CMAKE_INSTALL_LIBDIR}")
else()
  file(RELATIVE_PATH up "/root/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/root")
  string(REGEX REPLACE "/$" "" up "${up}")
  set(ZTL_PC_PREFIX "\${pcfiledir}/${up}")
  set(ZTL_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(ZTL_PC_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}")
else()
  set(ZTL_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
set(ZTL_PC_DL "")
foreach(lib ${CMAKE_DL_LIBS})
  string(APPEND ZTL_PC_DL " -l${lib}")
endforeach()
configure_file("${PROJECT_SOURCE_DIR}/cmake/ztldata.pc.in" "${PROJECT_BINARY_DIR}/ztldata.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/ztldata.pc" DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
  COMPONENT development)

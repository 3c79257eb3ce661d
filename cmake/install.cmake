# SPDX-License-Identifier: Apache-2.0
# cmake --install: the library, its public headers, a CMake package (find_package(OstrelCells)
# giving ostrel::cells), a pkg-config file (ostrel-cells), and the program with its manual.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS ostrelcells EXPORT OstrelCellsTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/ostrel
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT OstrelCellsTargets NAMESPACE ostrel::
        FILE OstrelCellsTargets.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/OstrelCells)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/OstrelCellsConfig.cmake.in
  ${PROJECT_BINARY_DIR}/OstrelCellsConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/OstrelCells)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/OstrelCellsConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/OstrelCellsConfig.cmake
              ${PROJECT_BINARY_DIR}/OstrelCellsConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/OstrelCells)

# The definitions the public headers are compiled with travel with them.
set(OSTREL_PC_DEFINES "")
if(OSTREL_INSTANCE_COUNTERS)
  set(OSTREL_PC_DEFINES " -DOSTREL_INSTANCE_COUNTERS=1")
endif()
file(RELATIVE_PATH OSTREL_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(${PROJECT_SOURCE_DIR}/cmake/ostrel-cells.pc.in
               ${PROJECT_BINARY_DIR}/ostrel-cells.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/ostrel-cells.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

if(TARGET ostrel-cells)
  # The program reaches inside the engine and carries it linked in for now; once it links
  # the shared library, it finds the installed one beside it.
  set_target_properties(ostrel-cells PROPERTIES
    INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
  install(TARGETS ostrel-cells RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/docs/ostrel-cells.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

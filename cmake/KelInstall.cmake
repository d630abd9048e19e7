# cmake --install: libraries, headers and a find_package(Kel) package.
include(CMakePackageConfigHelpers)

install(TARGETS kel_platform kel_library
        EXPORT KelTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kel)

# Every public header of every folder goes flat into include/kel, as consumers include by unit name.
set(_header_folders platform/rtl platform/classes platform/db platform/registry platform/gui
    lib/core lib/controls lib/expr lib/listbox lib/filters lib/calendar lib/calc)
foreach(folder ${_header_folders})
  kel_folder_headers(_h ${CMAKE_SOURCE_DIR}/${folder})
  if(_h)
    install(FILES ${_h} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kel)
  endif()
endforeach()

install(EXPORT KelTargets NAMESPACE Kel:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Kel)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/KelConfig.cmake.in
  ${CMAKE_BINARY_DIR}/KelConfig.cmake INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Kel)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/KelConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/KelConfig.cmake ${CMAKE_BINARY_DIR}/KelConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Kel)

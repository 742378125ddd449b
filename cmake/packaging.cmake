# What `cmake --install` puts under the prefix, and the Debian package that CPack makes of it:
# the programs, their manual pages, and for the window a desktop entry and an icon.
include(GNUInstallDirs)

set(QUOREL_PACKAGE_MAINTAINER "quorel developers <quorel@example.org>"
    CACHE STRING "The Maintainer field of the Debian package")

install(TARGETS quorel-search quorel-mkdsf RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages, compressed as Debian installs them. -n keeps the time out of the archive, so the
# same page gives the same bytes.
set(quorel_man_pages quorel-search quorel-mkdsf)
if(TARGET quorel)
  list(APPEND quorel_man_pages quorel)
endif()
set(quorel_man_outputs)
foreach(page IN LISTS quorel_man_pages)
  set(source ${PROJECT_SOURCE_DIR}/docs/man/${page}.1)
  set(copy ${PROJECT_BINARY_DIR}/man/${page}.1)
  add_custom_command(
    OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
    COMMAND gzip -9nf ${copy}
    DEPENDS ${source}
    COMMENT "Compressing the manual page ${page}.1"
    VERBATIM)
  list(APPEND quorel_man_outputs ${copy}.gz)
endforeach()
add_custom_target(quorel_man_pages ALL DEPENDS ${quorel_man_outputs})
install(FILES ${quorel_man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(TARGET quorel)
  install(TARGETS quorel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/quorel.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/quorel.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package: `cpack -G DEB` in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUOREL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "quorel searches a fixed Hebrew text of 304805 letters for a word spelled out\n\
at equal skips, in a window (quorel) or from a terminal (quorel-search, with\n\
JSON and count outputs for scripts). quorel-mkdsf makes its data file from a\n\
UTF-8 Hebrew or Michigan-Claremont text, or writes a demo text to start with.")
# The libraries the programs link come from dpkg-shlibdeps; the window also needs a font that
# holds Hebrew letters, fixed-pitch for the result box.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET quorel)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "culmus")
endif()
include(CPack)

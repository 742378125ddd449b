# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts under the prefix, and the Debian package that CPack makes of it:
# the programs, their manual pages, the copyright file and the changelog, and for the window a
# desktop entry, an icon and the AppStream metainfo.
include(GNUInstallDirs)

# Folders the package makes are rwxr-xr-x whatever the umask of the machine that builds it.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(QUOREL_PACKAGE_MAINTAINER "quorel developers <quorel@example.org>"
    CACHE STRING "The Maintainer field of the Debian package")

install(TARGETS quorel-search quorel-mkdsf quorel-study RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages, compressed as Debian installs them. -n keeps the time out of the archive, so the
# same page gives the same bytes.
set(quorel_man_pages quorel-search quorel-mkdsf quorel-study)
if(TARGET quorel)
  list(APPEND quorel_man_pages quorel)
endif()
if(TARGET quorel-matrix)
  install(TARGETS quorel-matrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  list(APPEND quorel_man_pages quorel-matrix)
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

# The changelog is in Debian's format and its latest entry names this version, so that a new
# version cannot ship without saying what changed. The package is native (quorel packages
# itself), hence changelog.gz rather than changelog.Debian.gz.
set(quorel_changelog ${PROJECT_SOURCE_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${quorel_changelog})
file(STRINGS ${quorel_changelog} quorel_changelog_lines)
list(GET quorel_changelog_lines 0 quorel_changelog_head)
if(NOT quorel_changelog_head MATCHES "^quorel \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog starts with \"${quorel_changelog_head}\"; "
                      "its latest entry must be for version ${PROJECT_VERSION}")
endif()
# The release date for the metainfo, from the latest entry's trailer line.
list(FILTER quorel_changelog_lines INCLUDE REGEX "^ -- ")
list(GET quorel_changelog_lines 0 quorel_changelog_trailer)
string(REGEX MATCH "([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9])" quorel_date
             "${quorel_changelog_trailer}")
set(quorel_day ${CMAKE_MATCH_1})
set(quorel_year ${CMAKE_MATCH_3})
set(quorel_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND quorel_months "${CMAKE_MATCH_2}" quorel_month)
if(quorel_month LESS 0)
  message(FATAL_ERROR "packaging/changelog: no date in \"${quorel_changelog_trailer}\"")
endif()
math(EXPR quorel_month "${quorel_month} + 1")
string(REGEX REPLACE "^([0-9])$" "0\\1" quorel_month "${quorel_month}")
string(REGEX REPLACE "^([0-9])$" "0\\1" quorel_day "${quorel_day}")
set(QUOREL_RELEASE_DATE "${quorel_year}-${quorel_month}-${quorel_day}")

set(quorel_changelog_gz ${PROJECT_BINARY_DIR}/doc/changelog.gz)
add_custom_command(
  OUTPUT ${quorel_changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/doc
  COMMAND ${CMAKE_COMMAND} -E copy ${quorel_changelog} ${PROJECT_BINARY_DIR}/doc/changelog
  COMMAND gzip -9nf ${PROJECT_BINARY_DIR}/doc/changelog
  DEPENDS ${quorel_changelog}
  COMMENT "Compressing the changelog"
  VERBATIM)
add_custom_target(quorel_changelog ALL DEPENDS ${quorel_changelog_gz})
install(FILES ${quorel_changelog_gz} DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Debian's machine-readable copyright file (DEP-5), and what lintian is told about the package.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME quorel)

if(TARGET quorel)
  install(TARGETS quorel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/quorel.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/quorel.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # The window's entry in software centres, with this version and the homepage.
  set(QUOREL_APPSTREAM_ID org.example.quorel)
  set(quorel_metainfo ${PROJECT_BINARY_DIR}/${QUOREL_APPSTREAM_ID}.metainfo.xml)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/quorel.metainfo.xml.in ${quorel_metainfo} @ONLY)
  install(FILES ${quorel_metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package: `cpack -G DEB` in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "quorel developers")
set(CPACK_PACKAGE_CONTACT "${QUOREL_PACKAGE_MAINTAINER}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/strip-package.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUOREL_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "quorel searches a fixed Hebrew text of 304805 letters for a word spelled out\n\
at equal skips, in a window (quorel) or from a terminal (quorel-search, with\n\
JSON and count outputs for scripts). quorel-mkdsf makes its data file from a\n\
UTF-8 Hebrew or Michigan-Claremont text, or writes a demo text to start with.\n\
quorel-study computes the corrected distance of word pairs and its statistics.")
# The libraries the programs link come from dpkg-shlibdeps; the window also needs a font that
# holds Hebrew letters, fixed-pitch for the result box.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET quorel)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "culmus")
endif()
include(CPack)

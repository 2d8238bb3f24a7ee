# Installation: the programs into bin/ and the shipped language files into
# share/skinsmith/language, where the editor looks for them when it is not in portable mode. With
# the editor come its desktop entry, AppStream metadata and hicolor icons, so that desktops list it
# and open .zip skins with it, and its HTML user guide; both programs get a manual page.
include(GNUInstallDirs)
set(SKINSMITH_APP_ID org.example.skinsmith)

install(TARGETS skinsmith-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/language/ DESTINATION ${CMAKE_INSTALL_DATADIR}/skinsmith/language
        FILES_MATCHING PATTERN "*.ini")
set(SKINSMITH_MAN_PAGES skinsmith-cli)
if(TARGET skinsmith)
  install(TARGETS skinsmith RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/desktop/${SKINSMITH_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/desktop/${SKINSMITH_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/desktop/icons/hicolor
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
  list(APPEND SKINSMITH_MAN_PAGES skinsmith)
  # The user guide that the information box opens, with the pictures it shows.
  install(FILES ${SKINSMITH_GUIDE_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/skinsmith)
endif()

# Compressed files are made without a name or time stamp in the gzip header (-n), so that two
# builds install the same bytes.
find_program(GZIP_PROGRAM gzip REQUIRED)
function(skinsmith_gzip source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${source} ${output}
                     DEPENDS ${source} VERBATIM)
endfunction()

set(SKINSMITH_GZIPPED_FILES)
foreach(page ${SKINSMITH_MAN_PAGES})
  set(gzipped ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/man)
  skinsmith_gzip(${PROJECT_SOURCE_DIR}/docs/man/${page}.1 ${gzipped})
  install(FILES ${gzipped} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  list(APPEND SKINSMITH_GZIPPED_FILES ${gzipped})
endforeach()

# The Debian revision of the package: 0.1-1 is the first package of version 0.1.
set(SKINSMITH_DEB_RELEASE 1)
# A Debian package carries its copyright file and changelog in share/doc/<package>.
option(SKINSMITH_DEBIAN_DOCS "Install the copyright file and changelog of the Debian package" OFF)
if(SKINSMITH_DEBIAN_DOCS)
  set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/skinsmith)
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright DESTINATION ${doc_dir})
  # The package is not uploaded to Debian, so its first changelog entry closes no bug report.
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/lintian-overrides
          DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME skinsmith)
  set(SKINSMITH_DEB_VERSION ${PROJECT_VERSION}-${SKINSMITH_DEB_RELEASE})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${PROJECT_BINARY_DIR}/changelog
                 @ONLY)
  skinsmith_gzip(${PROJECT_BINARY_DIR}/changelog ${PROJECT_BINARY_DIR}/changelog.Debian.gz)
  install(FILES ${PROJECT_BINARY_DIR}/changelog.Debian.gz DESTINATION ${doc_dir})
  list(APPEND SKINSMITH_GZIPPED_FILES ${PROJECT_BINARY_DIR}/changelog.Debian.gz)
endif()
add_custom_target(skinsmith_gzipped_files ALL DEPENDS ${SKINSMITH_GZIPPED_FILES})

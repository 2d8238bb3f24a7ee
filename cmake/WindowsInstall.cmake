# Installation on Windows, as the installer lays it out: the programs with the DLLs and Qt plugins
# they need in bin/, the language files in share/skinsmith/language and the user guide in
# share/doc/skinsmith, where the editor finds them from its own folder. (The portable ZIP puts the
# same files beside the programs.) The DLLs and plugins are gathered by scripts/package-windows.
install(TARGETS skinsmith-cli RUNTIME DESTINATION bin)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/language/ DESTINATION share/skinsmith/language
        FILES_MATCHING PATTERN "*.ini")
if(TARGET skinsmith)
  install(TARGETS skinsmith RUNTIME DESTINATION bin)
  install(FILES ${SKINSMITH_GUIDE_FILES} DESTINATION share/doc/skinsmith)
endif()

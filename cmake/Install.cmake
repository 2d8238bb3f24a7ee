# Installation: the programs into bin/, the shipped language files into share/skinsmith/language,
# where the editor looks for them when it is not run in portable mode.
include(GNUInstallDirs)
install(TARGETS skinsmith-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET skinsmith)
  install(TARGETS skinsmith RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/language/ DESTINATION ${CMAKE_INSTALL_DATADIR}/skinsmith/language
        FILES_MATCHING PATTERN "*.ini")

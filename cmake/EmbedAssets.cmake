# skinsmith_embed_files(OUTPUT <cpp> BASE <dir> FILES <files...>)
# Generates a C++ source that holds the files' bytes, looked up through assets/embedded.h by their
# path relative to BASE. The source is regenerated only when one of the files changes.
set(SKINSMITH_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/embed_files.cmake)

function(skinsmith_embed_files)
  cmake_parse_arguments(ARG "" "OUTPUT;BASE" "FILES" ${ARGN})
  set(list_file ${ARG_OUTPUT}.files)
  string(REPLACE ";" "\n" files_text "${ARG_FILES}")
  file(WRITE ${list_file}.tmp "${files_text}")
  file(COPY_FILE ${list_file}.tmp ${list_file} ONLY_IF_DIFFERENT)
  add_custom_command(
    OUTPUT ${ARG_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${ARG_OUTPUT} -DBASE=${ARG_BASE} -DLIST=${list_file}
            -P ${SKINSMITH_EMBED_SCRIPT}
    DEPENDS ${ARG_FILES} ${list_file} ${SKINSMITH_EMBED_SCRIPT}
    COMMENT "Embedding assets into ${ARG_OUTPUT}"
    VERBATIM)
endfunction()

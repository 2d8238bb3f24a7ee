# What programs built for Windows get.

# The Windows resources of a program: the icon, the version information and the manifest (no
# administrator rights, common controls 6, per-monitor DPI awareness, the locale's code page).
function(skinsmith_windows_resources target description)
  if(NOT WIN32)
    return()
  endif()
  set(SKINSMITH_RESOURCE_PROGRAM ${target})
  set(SKINSMITH_RESOURCE_DESCRIPTION ${description})
  set(SKINSMITH_MANIFEST_NAME ${target})
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}-resources)
  configure_file(${PROJECT_SOURCE_DIR}/src/app/windows/skinsmith.manifest ${dir}/program.manifest
                 @ONLY)
  set(SKINSMITH_RESOURCE_MANIFEST ${dir}/program.manifest)
  # Qt gives its windows the icon named IDI_ICON1.
  set(SKINSMITH_RESOURCE_ICON "IDI_ICON1 ICON \"${PROJECT_SOURCE_DIR}/desktop/skinsmith.ico\"")
  configure_file(${PROJECT_SOURCE_DIR}/src/app/windows/skinsmith.rc.in ${dir}/program.rc @ONLY)
  target_sources(${target} PRIVATE ${dir}/program.rc)
endfunction()

# Links the C and C++ runtimes and the threads library into a program that uses no Qt, so that it
# needs no MinGW DLL beside it and keeps one allocator (a test that replaces operator new crashes
# when the C++ library is a DLL with its own). Programs that use Qt share its runtime DLLs.
function(skinsmith_static_runtime target)
  if(WIN32)
    target_link_options(${target} PRIVATE -static)
  endif()
endfunction()

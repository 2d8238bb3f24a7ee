# Builds minizip's unzip interface from contrib/minizip of zlib's source package as a static
# library with a pkg-config file, as Debian builds libminizip-dev from the same files.
cmake_minimum_required(VERSION 3.25)
project(minizip C)
find_package(ZLIB REQUIRED)
add_library(minizip STATIC unzip.c ioapi.c iowin32.c zip.c)
target_link_libraries(minizip PUBLIC ZLIB::ZLIB)
install(TARGETS minizip ARCHIVE DESTINATION lib)
install(FILES unzip.h ioapi.h iowin32.h zip.h DESTINATION include/minizip)
file(WRITE ${CMAKE_BINARY_DIR}/minizip.pc
     "prefix=${CMAKE_INSTALL_PREFIX}\nlibdir=\${prefix}/lib\nincludedir=\${prefix}/include\n\n"
     "Name: minizip\nDescription: zip and unzip from zlib's contrib\nVersion: 1.1\n"
     "Libs: -L\${libdir} -lminizip -lz\nCflags: -I\${includedir}/minizip\n")
install(FILES ${CMAKE_BINARY_DIR}/minizip.pc DESTINATION lib/pkgconfig)

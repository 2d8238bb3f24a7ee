# Script mode: writes OUTPUT, a C++ source holding every file listed in LIST as a byte array.
file(STRINGS ${LIST} files)
set(body "")
set(table "")
set(index 0)
foreach(path IN LISTS files)
  file(READ ${path} hex HEX)
  file(SIZE ${path} size)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
  file(RELATIVE_PATH name ${BASE} ${path})
  string(APPEND body "alignas(8) const unsigned char kData${index}[] = {\n${bytes}0};\n")
  string(APPEND table "    {\"${name}\", {kData${index}, ${size}}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.tmp
"// Generated from the files under assets/ by cmake/embed_files.cmake; do not edit.
#include \"embedded.h\"

namespace assets {
namespace {
${body}
// The last row only keeps the array non-empty when there are no files.
const EmbeddedFile kFiles[] = {
${table}    {\"\", {}}};
}  // namespace

std::span<const EmbeddedFile> EmbeddedFiles() { return {kFiles, ${index}}; }
}  // namespace assets
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)

# Writes a C++ source holding the bytes of every bitmap in INPUTS, keyed by the number its name starts with.
set(body "")
set(table "")
foreach(path IN LISTS INPUTS)
  get_filename_component(name ${path} NAME)
  string(REGEX MATCH "^[0-9]+" id ${name})
  if(id STREQUAL "")
    continue()
  endif()
  file(READ ${path} hex HEX)
  string(LENGTH "${hex}" hexLength)
  math(EXPR byteCount "${hexLength} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
  string(APPEND body "static const unsigned char bitmap${id}[] = {\n${bytes}\n};\n")
  string(APPEND table "  {${id}, bitmap${id}, ${byteCount}},\n")
endforeach()
file(WRITE ${OUTPUT}.tmp
"#include \"resources/EmbeddedBitmaps.h\"\n\nnamespace wrenfold {\n\n${body}
static const EmbeddedBitmap bitmaps[] = {\n${table}  {0, nullptr, 0},\n};\n
const EmbeddedBitmap* findEmbeddedBitmap(int id) {
  for (const EmbeddedBitmap* entry = bitmaps; entry->bytes != nullptr; ++entry)
    if (entry->id == id) return entry;
  return nullptr;
}\n\n}  // namespace wrenfold\n")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)

# Writes a C++ source that carries every file of IN_DIR inside the binary,
# through the assembler's .incbin, with a name-sorted table of them.
#   cmake -DIN_DIR=... -DOUT_FILE=... -P embed_files.cmake
file(GLOB _files RELATIVE ${IN_DIR} ${IN_DIR}/*)
list(SORT _files)
set(_asm "")
set(_decl "")
set(_table "")
set(_index 0)
foreach(_name IN LISTS _files)
    if(IS_DIRECTORY ${IN_DIR}/${_name})
        continue()
    endif()
    file(SIZE ${IN_DIR}/${_name} _size)
    set(_sym lumcrest_embedded_${_index})
    string(APPEND _asm
        "    \".globl ${_sym}\\n\"\n"
        "    \".hidden ${_sym}\\n\"\n"
        "    \".balign 16\\n\"\n"
        "    \"${_sym}:\\n\"\n"
        "    \".incbin \\\"${IN_DIR}/${_name}\\\"\\n\"\n"
        "    \".byte 0\\n\"\n")
    string(APPEND _decl "extern \"C\" const unsigned char ${_sym}[];\n")
    string(APPEND _table "    {\"${_name}\", ${_sym}, ${_size}u},\n")
    math(EXPR _index "${_index} + 1")
endforeach()
if(_index EQUAL 0)
    message(FATAL_ERROR "nothing to embed in ${IN_DIR}")
endif()
file(WRITE ${OUT_FILE}
"// Written by embed_files.cmake from the forge's output: do not edit.\n"
"#include \"embedded_resources.h\"\n\n"
"__asm__(\n"
"    \".section .rodata\\n\"\n"
"${_asm}"
"    \".previous\\n\");\n\n"
"${_decl}\n"
"namespace lumcrest::assets::detail {\n"
"// Sorted by name; each file is followed by a zero byte not counted in its size.\n"
"extern const EmbeddedFile kEmbeddedFiles[] = {\n"
"${_table}"
"};\n"
"extern const std::size_t kEmbeddedFileCount = ${_index};\n"
"}  // namespace lumcrest::assets::detail\n")

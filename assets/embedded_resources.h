#pragma once
// Pictures forged at build time and carried inside the game binary.

#include <cstddef>
#include <span>
#include <string_view>

namespace lumcrest::assets {

struct EmbeddedFile {
    const char* name;
    const unsigned char* data;
    std::size_t size;
};

// The file embedded under NAME (e.g. "Blockimage.png"), or nullptr when there is none.
const EmbeddedFile* findEmbedded(std::string_view name);

// Every embedded file, sorted by name.
std::span<const EmbeddedFile> embeddedFiles();

// The bytes of all the embedded files together, from the first one's start to the last one's
// end (they lie side by side in the program's read-only data).
std::span<const unsigned char> embeddedBlob();

}  // namespace lumcrest::assets

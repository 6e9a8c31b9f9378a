#include "assets/embedded_resources.h"

#include <algorithm>

namespace lumcrest::assets {
namespace detail {
extern const EmbeddedFile kEmbeddedFiles[];
extern const std::size_t kEmbeddedFileCount;
}  // namespace detail

std::span<const EmbeddedFile> embeddedFiles() {
    return {detail::kEmbeddedFiles, detail::kEmbeddedFileCount};
}

const EmbeddedFile* findEmbedded(std::string_view name) {
    const auto files = embeddedFiles();
    const auto it = std::lower_bound(files.begin(), files.end(), name,
                                     [](const EmbeddedFile& file, std::string_view key) {
                                         return std::string_view(file.name) < key;
                                     });
    if (it == files.end() || it->name != name) return nullptr;
    return &*it;
}

}  // namespace lumcrest::assets

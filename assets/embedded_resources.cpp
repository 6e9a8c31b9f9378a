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

std::span<const unsigned char> embeddedBlob() {
    const auto files = embeddedFiles();
    if (files.empty()) return {};
    const unsigned char* begin = files[0].data;
    const unsigned char* end = files[0].data + files[0].size;
    for (const EmbeddedFile& f : files) {
        begin = std::min(begin, f.data);
        end = std::max(end, f.data + f.size);
    }
    return {begin, std::size_t(end - begin)};
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

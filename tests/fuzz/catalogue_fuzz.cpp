// Any bytes as a translation catalogue: it is read whole or refused with a reason, never a crash,
// a hang or a read outside the bytes; whatever it holds can be looked up.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/message_catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The bytes are copied so that the sanitizer sees a read past their end.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string why;
    auto catalogue = tk::MessageCatalogue::parse(std::string_view(bytes), why);
    if (!catalogue) {
        if (why.empty()) __builtin_trap();  // a refusal always says why
        return 0;
    }
    for (const char* text : {"Ok", "Level:", "Unable to write to %s", ""})
        if (const std::string* t = catalogue->find(text)) (void)t->size();
    return 0;
}

// The one error type the toolkit raises. Handlers let it escape; the event loop shows its
// message in the error box and goes on with the next event.
#pragma once

#include <stdexcept>
#include <string>

#include "toolkit/i18n.h"  // error texts are shown in the player's language

namespace tk {

class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tk

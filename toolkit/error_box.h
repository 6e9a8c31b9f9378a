// The error box: a small modal window of our own with the message and an Ok button. It is a
// window like any other, so the timers of the program go on while it is open.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/window.h"

namespace tk {

class ErrorBox : public Window {
  public:
    // A box for MESSAGE, not yet open; the application opens it modally.
    ErrorBox(Application& app, const std::string& message);
    const std::string& message() const { return message_; }

  private:
    std::string message_;
    std::vector<std::unique_ptr<Label>> lines_;
    std::unique_ptr<PushButton> ok_;
};

// Opens an error box for MESSAGE modally; it deletes itself when it is closed.
void showErrorBox(Application& app, const std::string& message);

}  // namespace tk

#include "toolkit/error_box.h"

#include "toolkit/application.h"
#include "toolkit/i18n.h"
#include "toolkit/keys.h"

namespace tk {

namespace {

constexpr int kWidth = 380;
constexpr int kMargin = 16;

FontSpec boxFont() {
    FontSpec f;
    f.pixelSize = 14;
    f.colour = rgb(20, 20, 20);
    return f;
}

// Breaks MESSAGE into lines that fit WIDTH pixels, at blanks where it can.
std::vector<std::string> wrap(const std::string& message, int width) {
    std::vector<std::string> lines;
    std::string line, word;
    auto flushWord = [&] {
        if (word.empty()) return;
        std::string tryLine = line.empty() ? word : line + " " + word;
        if (!line.empty() && measureText(tryLine, boxFont()).width > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = tryLine;
        }
        word.clear();
    };
    for (char c : message) {
        if (c == '\n') {
            flushWord();
            lines.push_back(line);
            line.clear();
        } else if (c == ' ') {
            flushWord();
        } else {
            word += c;
        }
    }
    flushWord();
    if (!line.empty() || lines.empty()) lines.push_back(line);
    if (lines.size() > 12) lines.resize(12);
    return lines;
}

}  // namespace

ErrorBox::ErrorBox(Application& app, const std::string& message)
    : Window(
          app, "ErrorBox", kWidth,
          kMargin * 3 + 28 +
              int(wrap(message, kWidth - 2 * kMargin).size()) * measureText("Ag", boxFont()).height,
          rgb(240, 236, 226)),
      message_(message) {
    title = tr("Error");
    int y = kMargin;
    int lineHeight = measureText("Ag", boxFont()).height;
    for (const std::string& text : wrap(message, kWidth - 2 * kMargin)) {
        auto label = std::make_unique<Label>(this, "line", boxFont());
        label->setCaption(text);
        label->setPosition(kMargin, y);
        y += lineHeight;
        lines_.push_back(std::move(label));
    }
    FontSpec bf = boxFont();
    bf.bold = true;
    ok_ = std::make_unique<PushButton>(this, "Ok", tr("Ok"), bf);
    ok_->setBounds((kWidth - 78) / 2, y + kMargin, 78, 28);
    ok_->onClick = [this] { close(); };
    onKeyDown = [this](int& vk) {
        if (is(vk, Key::Enter) || is(vk, Key::Escape) || is(vk, Key::Space)) {
            vk = 0;
            close();
        }
    };
    // A controller's A or B closes it as Enter or Escape does.
    onPad = [this](PadButton b, bool down) {
        if (down && (b == PadButton::A || b == PadButton::B)) close();
    };
    setFocus(ok_.get());
}

void showErrorBox(Application& app, const std::string& message) {
    auto* box = new ErrorBox(app, message);
    app.showModal(*box, [&app, box] { app.later([box] { delete box; }); });
}

}  // namespace tk

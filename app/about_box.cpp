#include "app/about_box.h"

#include "app/form.h"
#include "assets/catalogue.h"
#include "assets/palette.h"
#include "toolkit/keys.h"

namespace lumcrest {

TAboutBox::TAboutBox(tk::Application& app, const Environment& env)
    : tk::Window(app, "AboutBox", 547, 492, tk::rgb(23, 23, 23)),
      Image1(this, "Image1"),
      Label1(this, "Label1", georgia(12, tk::rgb(255, 214, 90))),
      dxButton1(this, "dxButton1", tk::tr("Ok"), georgia(13, tk::rgb(0, 0, 0), true)),
      webAddress_(env.webAddress) {
    toolWindow = true;
    Image1.setBounds(0, 0, 545, 497);
    Image1.setEmbedded(asset::kAboutPicture.file);
    Label1.setPosition(216, 368);
    Label1.setCaption(asset::kWebPage.file);
    Label1.handCursor = true;
    dxButton1.setBounds(240, 448, 81, 25);
    okFace_ = tk::ImageList::fromEmbedded(asset::kPushFaceLow);
    dxButton1.setFace(
        &okFace_, tk::rgb(asset::kPushFaceText.r, asset::kPushFaceText.g, asset::kPushFaceText.b));
    dxButton1.onClick = [this] { dxButton1Click(); };
    Label1.onClick = [this] { Label1Click(); };
    onKeyDown = [this](int& key) {
        if (tk::is(key, tk::Key::Escape)) {  // closes like the close box: no sound
            key = 0;
            close();
        }
    };
    // A controller closes the box as the keys do: A as Enter on its Ok button, B as Escape.
    onPad = [this](tk::PadButton b, bool down) {
        if (!down || (b != tk::PadButton::A && b != tk::PadButton::B)) return;
        int key = tk::code(b == tk::PadButton::A ? tk::Key::Enter : tk::Key::Escape);
        keyDown(key);
        keyUp(key);
    };
}

void TAboutBox::showModalBox(std::function<void()> onClosed) {
    app().showModal(*this, std::move(onClosed));
    setFocus(&dxButton1);
}

void TAboutBox::dxButton1Click() {
    // The one effect that ignores the sound switch.
    app().backend().audio().playEffect(asset::kMenuOver.file);
    close();
}

void TAboutBox::Label1Click() {
    app().backend().openUrl(webAddress_);
}

}  // namespace lumcrest

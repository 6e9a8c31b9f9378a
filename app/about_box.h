// The About dialog TAboutBox: a second top-level window, shown modally from the menu.
#pragma once

#include <functional>

#include "app/environment.h"
#include "toolkit/application.h"
#include "toolkit/image_list.h"
#include "toolkit/window.h"

namespace lumcrest {

class TAboutBox : public tk::Window {
  public:
    TAboutBox(tk::Application& app, const Environment& env);

    tk::Picture Image1;
    tk::Label Label1;  // the link to the game's web page
    tk::PushButton dxButton1;

    // Opens the dialog modally, centred on the main window; returns at once. ON_CLOSED runs when
    // it closes.
    void showModalBox(std::function<void()> onClosed = {});
    void dxButton1Click();
    void Label1Click();

  private:
    tk::ImageList okFace_;  // the Ok button's face, as the main window's
    std::string webAddress_;
};

}  // namespace lumcrest

// Operations of the game that are still to come. Each is called where the game will need it;
// until its rules are written it does nothing.
#include "form.h"

namespace lumcrest {

void TForm1::wavetimerTimer() {}
void TForm1::AtimerTimer() {}
void TForm1::vertimerTimer() {}
void TForm1::insertHighScore() {}
void TForm1::scoretimerTimer() {}
void TForm1::hscorecloseClick() {}
void TForm1::confirmName() {}
void TForm1::dxButton3Click() {}
void TForm1::dxButton4Click() {}
void TForm1::helpbutton2Click() {}
void TForm1::changebtnClick() {}
void TForm1::Image5Click() {}
void TForm1::MenuimageMouseMove(int, int) {}
void TForm1::NewbuttonMouseMove(int, int) {}
void TForm1::ScorebuttonMouseMove(int, int) {}
void TForm1::MusicbuttonMouseMove(int, int) {}
void TForm1::SoundbuttonMouseMove(int, int) {}
void TForm1::HelpbuttonMouseMove(int, int) {}
void TForm1::AboutbuttonMouseMove(int, int) {}
void TForm1::BackbuttonMouseMove(int, int) {}
void TForm1::FormMouseMove(int, int) {}
void TForm1::NewbuttonMouseDown(tk::MouseButton, int, int) {}
void TForm1::NewbuttonMouseUp(tk::MouseButton, int, int) {}
void TForm1::ScorebuttonMouseDown(tk::MouseButton, int, int) {}
void TForm1::ScorebuttonMouseUp(tk::MouseButton, int, int) {}
void TForm1::MusicbuttonMouseDown(tk::MouseButton, int, int) {}
void TForm1::SoundbuttonMouseDown(tk::MouseButton, int, int) {}
void TForm1::HelpbuttonMouseDown(tk::MouseButton, int, int) {}
void TForm1::HelpbuttonMouseUp(tk::MouseButton, int, int) {}
void TForm1::AboutbuttonMouseDown(tk::MouseButton, int, int) {}
void TForm1::AboutbuttonMouseUp(tk::MouseButton, int, int) {}
void TForm1::BackbuttonMouseDown(tk::MouseButton, int, int) {}
void TForm1::BackbuttonMouseUp(tk::MouseButton, int, int) {}
void TForm1::FormMouseDown(tk::MouseButton, int, int) {}
void TForm1::FormMouseUp(tk::MouseButton, int, int) {}

}  // namespace lumcrest

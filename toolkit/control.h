// Controls: panels, labels, pictures, push buttons and the edit box, in a tree under a window.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/canvas.h"
#include "toolkit/font.h"
#include "toolkit/geometry.h"
#include "toolkit/image.h"

namespace tk {

class ImageList;

class Window;

enum class MouseButton { Left, Right, Middle };

class Control {
  public:
    // A control named NAME inside PARENT (a window or another control), at (0, 0), 0 x 0, visible.
    Control(Control* parent, std::string name);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    Control* parent() const { return parent_; }
    const std::vector<Control*>& children() const { return children_; }
    virtual Window* window();

    int left() const { return bounds_.x; }
    int top() const { return bounds_.y; }
    int width() const { return bounds_.w; }
    int height() const { return bounds_.h; }
    // Position relative to the parent, as the layout gives it.
    Rect bounds() const { return bounds_; }
    void setBounds(int left, int top, int width, int height);
    void setPosition(int left, int top) { setBounds(left, top, bounds_.w, bounds_.h); }
    // Where the control lies in its window's client area.
    Rect windowRect() const;

    // The control's own visible flag.
    bool visible() const { return visible_; }
    void setVisible(bool on);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    // On screen: visible, every parent visible, and the window open.
    virtual bool showing() const;

    // Repaints the control's area at the next presentation.
    void invalidate();

    // Paints the control itself (children are painted after it by the window) into CANVAS, whose
    // origin is the control's top-left corner and whose clip is the control's visible area.
    virtual void paint(Canvas& canvas);
    // Whether the control paints every pixel of its rectangle (so what lies under it is hidden).
    virtual bool opaque() const { return false; }
    virtual bool canFocus() const { return false; }
    // Whether the control takes typed text while it has the focus (the platform's text input is
    // on then).
    virtual bool takesText() const { return false; }
    // Windowed controls (panels, buttons, edit boxes) always lie above the pictures and labels of
    // the same parent.
    virtual bool windowed() const { return false; }
    // Whether the mouse passes through the control to what lies beneath (effects drawn over
    // a field take no clicks).
    virtual bool passesPointer() const { return false; }
    // Keys and typed text that reach the control while it has the focus.
    virtual void keyDown(int vk);
    virtual void textInput(const std::string& utf8);
    // What the driver reports as the control's caption; empty for most controls.
    virtual std::string captionText() const { return {}; }
    // The font the caption is drawn in; none for controls without a caption.
    virtual const FontSpec* captionFont() const { return nullptr; }

    // Mouse events at (x, y) relative to the control.
    std::function<void(MouseButton, int, int)> onMouseDown;
    std::function<void(MouseButton, int, int)> onMouseUp;
    std::function<void(int, int)> onMouseMove;
    std::function<void()> onClick;  // left button pressed and released on the control
    // The mouse wheel turned over the control: STEPS notches, positive away from the player
    // (up), negative towards. A control without it passes the turn to its parent.
    std::function<void(int steps)> onMouseWheel;

    bool handCursor = false;

  protected:
    // Called when the control changed in a way that needs repainting.
    void changed();

  private:
    friend class Window;
    Control* parent_;
    std::string name_;
    std::vector<Control*> children_;
    Rect bounds_;
    bool visible_ = true;
};

// A rectangle filled with one colour; holds other controls.
class Panel : public Control {
  public:
    Panel(Control* parent, std::string name, Argb colour = rgb(0, 0, 0));
    void paint(Canvas& canvas) override;
    bool opaque() const override { return true; }
    bool windowed() const override { return true; }
    Argb colour() const { return colour_; }
    void setColour(Argb c);

  private:
    Argb colour_;
};

// Text over whatever lies beneath; sized to its text.
class Label : public Control {
  public:
    Label(Control* parent, std::string name, FontSpec font);
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& text);
    const FontSpec& font() const { return font_; }
    void setFont(const FontSpec& font);
    Argb colour() const { return font_.colour; }
    void setColour(Argb c);
    void paint(Canvas& canvas) override;
    std::string captionText() const override { return caption_; }
    const FontSpec* captionFont() const override { return &font_; }

  private:
    void resize();
    std::string caption_;
    FontSpec font_;
    Image rendered_;
    bool renderedValid_ = false;
};

// A picture drawn unscaled from its top-left corner, clipped by the control. The picture's pixels
// are decoded when it is drawn and, unless kept, let go while it is off screen: only its file's
// bytes are kept.
class Picture : public Control {
  public:
    Picture(Control* parent, std::string name);
    // Loads a BMP or JPEG file, checking that it decodes; throws tk::Error (and keeps the old
    // picture) when it cannot.
    void loadFromFile(const std::string& path);
    // The picture embedded in the program under NAME; throws tk::Error when there is none.
    void setEmbedded(const std::string& name);
    void setImage(Image image);
    // The pixels (decoded now if they were let go); an empty picture when there is none.
    const Image& image() const;
    // The file the picture was last loaded from; empty when none.
    const std::string& fileName() const { return file_; }
    // When set, pixels of the colour of the picture's bottom-left pixel are left out.
    bool transparent = false;
    void paint(Canvas& canvas) override;
    bool opaque() const override;
    // When set, the decoded pixels stay while the picture is off screen: for pictures of a screen
    // that comes back during play, which would otherwise be decoded again each time.
    bool keepDecoded = false;
    // Whether the pixels are decoded at the moment.
    bool decoded() const { return image_ != nullptr; }
    // Lets the decoded pixels go when they can be decoded again and are not to be kept; true when
    // something was freed.
    bool releasePixels();

  private:
    std::shared_ptr<const std::vector<std::uint8_t>> bytes_;  // the file's bytes, when kept
    const std::uint8_t* embedded_ = nullptr;                  // or the embedded bytes
    std::size_t embeddedSize_ = 0;
    mutable std::shared_ptr<const Image> image_;
    int pictureW_ = 0, pictureH_ = 0;
    std::string file_;
};

// A push button with a gradient face and a caption; Space or Enter click it while it has the focus.
class PushButton : public Control {
  public:
    PushButton(Control* parent, std::string name, std::string caption, FontSpec font);
    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& text);
    void paint(Canvas& canvas) override;
    bool opaque() const override { return face_ == nullptr; }
    bool canFocus() const override { return true; }
    bool windowed() const override { return true; }
    void keyDown(int vk) override;
    std::string captionText() const override { return caption_; }
    const FontSpec* captionFont() const override { return &font_; }
    void setPressed(bool on);
    // Draws the button with the frames of FACE (at rest, with the focus, pressed) instead of the
    // plain gradient, its caption in TEXT over a shadow. A button narrower than the frames takes
    // their two ends, a wider one stretches their middle column between the ends; the frames'
    // rounded corners let the ground show. Null: the plain face.
    void setFace(const ImageList* face, Argb text);

  private:
    void paintFace(Canvas& canvas) const;

    std::string caption_;
    FontSpec font_;
    bool pressed_ = false;
    const ImageList* face_ = nullptr;
    Argb faceText_ = 0;
};

// A single line of editable text with a caret; at most maxLength characters (not bytes).
class EditBox : public Control {
  public:
    EditBox(Control* parent, std::string name, FontSpec font, Argb background);
    const std::string& text() const { return text_; }
    // Sets the text as a program would: not limited by maxLength; the caret goes to the end.
    void setText(const std::string& utf8);
    int maxLength = 0;                    // 0: no limit
    int caret() const { return caret_; }  // in characters
    void paint(Canvas& canvas) override;
    bool opaque() const override { return true; }
    bool canFocus() const override { return true; }
    bool takesText() const override { return true; }
    bool windowed() const override { return true; }
    void keyDown(int vk) override;
    void textInput(const std::string& utf8) override;
    std::string captionText() const override { return text_; }
    const FontSpec* captionFont() const override { return &font_; }

  private:
    std::string text_;
    int caret_ = 0;
    FontSpec font_;
    Argb background_;
};

// Number of characters (code points) in a UTF-8 text.
int utf8Length(const std::string& s);

}  // namespace tk

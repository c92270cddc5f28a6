// Input as a user gives it: typing, the keyboard's keys, a drag with the
// mouse, and the focus, foreground and minimizing that decide where input
// goes.
#pragma once
#include <string>

#include "Controls.h"

namespace e2e {

// Replaces a text box's content as a user's typing would: selects it all
// and types `text` character by character, so the box reports each change.
void typeText(const Control& box, const std::string& text);

// A drag of a scroll bar's or trackbar's thumb with the mouse, as a user
// makes it: the button goes down on the thumb, the mouse moves, the button
// comes up. The control tracks the mouse and sends its own notifications
// (SB_THUMBTRACK, TB_THUMBTRACK while dragging; the end-of-move ones on
// release). The mouse messages are posted: a scroll bar tracks the mouse in
// a message loop of its own, and a sent button press would only return when
// the drag is over.
class ThumbDrag {
public:
    // Presses the button on the thumb; refuses a disabled or hidden control.
    explicit ThumbDrag(const Control& bar);
    ~ThumbDrag();  // lets the button go if the test did not
    ThumbDrag(const ThumbDrag&) = delete;
    ThumbDrag& operator=(const ThumbDrag&) = delete;

    // Moves the mouse `pixels` along the control (negative: to the left)
    // and waits until the thumb shows another position; that position.
    int moveBy(int pixels);
    // Moves the mouse past the control's right (or left) end and waits
    // until the thumb stands at that end of the range; that position.
    int moveToEnd(bool right);
    // Lets the button go where the mouse is. The program's handling of
    // the end of the move is not waited for: poll for its effect.
    void release();

private:
    void post(unsigned msg, unsigned keys);
    Control bar_;
    int x_ = 0, y_ = 0;
    bool pressed_ = false;
};

// The window that has the keyboard focus in the program's user-interface
// thread (the thread of `w`), with its control name; an empty control when
// none has.
Control focusIn(const Window& w);
// Makes `w` the foreground window, so that keyboard input reaches it.
void bringToFront(const Window& w);
// The foreground window, and a window minimized as its button would.
Hwnd foregroundWindow();
void minimize(const Window& w);
bool minimized(const Window& w);
// A key as the keyboard gives it, after making `w` the foreground window:
// the system queues it and keeps the key states, and the program translates
// it itself. Returns at once, since the program takes input only after its
// sent and posted messages: poll for the key's effect.
void typeKey(const Window& w, int vk, bool shift = false);
// Alt held with a letter or digit, as for a mnemonic.
void typeAlt(const Window& w, char key);

}  // namespace e2e

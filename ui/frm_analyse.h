// The analysis window: a small borderless window with the daily analysis of a sign, shown
// modally above the page, closed by its button and moved by dragging its uncovered
// background. One instance per user-interface thread, loaded on first use and hidden, never
// destroyed, when closed.
#pragma once

#include <stdexcept>

#include "ui/child_control.h"

class FrmAnalyse;

// What the window needs from its host.
class Window_Platform {
 public:
  enum class Show_Result { Refused, Shown, Closed };

  virtual ~Window_Platform() = default;
  // Shows the window modally. A host that can block runs its loop and returns Closed once
  // the window is hidden again; one that cannot returns Shown at once; Refused when it
  // cannot show the window.
  virtual Show_Result Show_Modal(FrmAnalyse& frm) = 0;
  // Hides the window; it keeps its contents.
  virtual void Hide(FrmAnalyse& frm) = 0;
  // Gives up the mouse capture and lets the pointer move the window, as a press on a title
  // bar would, until the button is released.
  virtual void Start_Window_Move(FrmAnalyse& frm) = 0;
};

// A window operation that failed: showing a window that is already shown, or a host that
// refused to show it.
class Window_Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class FrmAnalyse {
 public:
  // Client area (twips), frame and background colour (0x00BBGGRR, dark blue).
  static constexpr float Client_Width = 8850;
  static constexpr float Client_Height = 5595;
  static constexpr float Frame_Width = 45;
  static constexpr std::uint32_t Back_Color = 0xC00000;

  // Loads the design-time layout, hidden.
  FrmAnalyse();

  // The controls in tab order. CmdExit lies inside Pic: its position is relative to Pic.
  Child_Control TxtAnalyse, Pic, CmdExit, Lab;

  bool Shown() const { return shown_; }

  // Shows the window modally through the host. Raises Window_Error when it is already shown
  // or the host refuses; it then stays as it was.
  void Show_Modal(Window_Platform& host);

  // The close button: hides the window, which keeps its text.
  void CmdExit_Click(Window_Platform& host);

  // A press of any mouse button on the window's own background starts moving the window.
  // Button, Shift, X and Y are ignored.
  void Form_MouseDown(Window_Platform& host, int Button, int Shift, float X, float Y);

  // The control at client point (x, y) in twips, the front one where they overlap, or
  // nullptr for the window's own background (where a press moves the window).
  const Child_Control* Control_At(float x, float y) const;

 private:
  bool shown_ = false;
};

// The window of this thread, loaded on first use.
FrmAnalyse& Frm_Analyse();
// The window of this thread, or nullptr while it is not loaded.
FrmAnalyse* Loaded_FrmAnalyse();
// Unloads the window of this thread (a host tearing down its page); the next use loads a
// fresh one.
void Unload_FrmAnalyse();

// The module's C interface to the page: one chart control per element, the shared analysis
// window, and the render state as JSON. No C++ exception leaves these functions: each
// catches, keeps the reason for zc_last_error, and reports a status instead.
#include <emscripten/emscripten.h>

#include <exception>
#include <map>
#include <memory>
#include <new>
#include <string>

#include "ui/frm_analyse.h"
#include "control/activex_ctl.h"
#include "control/instant.h"
#include "control/startup.h"
#include "ephemeris/float_check.h"
#include "ephemeris/shared_state.h"
#include "web/control_state.h"
#include "web/web_platform.h"

namespace {
// Status of a call, as the page reads it.
enum Status : int {
  kOk = 0,
  kFault = 1,       // a computation or drawing fault; the control shows what it had done
  kBadInstant = 2,  // the at text is no instant; start-up did not run
  kNoControl = 3,   // no control for that element
  kFailed = 4,      // anything else (out of memory, ...)
};

// A day inside the ten days the Gregorian reform skipped: the time base refuses it with its
// message and start-up goes on as the control always has.
constexpr CivilTime kInsideCalendarGap{1582, 10, 10, 0, 0, 0};

struct Element_Control {
  explicit Element_Control(int element) : platform(element), control(platform) {}
  Web_Platform platform;
  ActiveX_Ctl control;
  bool bad_instant = false;
};

std::map<int, std::unique_ptr<Element_Control>>& Controls() {
  static std::map<int, std::unique_ptr<Element_Control>> controls;
  return controls;
}

std::string g_last_error;
std::string g_text;  // the last text handed to the page; valid until the next call

Element_Control* Find(int element) {
  const auto it = Controls().find(element);
  return it == Controls().end() ? nullptr : it->second.get();
}

// Runs f, turning any exception into a status and keeping its reason.
template <class F>
int Guarded(F&& f) {
  try {
    return f();
  } catch (const FloatError& e) {
    g_last_error = e.what();
    return kFault;
  } catch (const std::exception& e) {
    g_last_error = e.what();
    return kFailed;
  } catch (...) {
    g_last_error = "unknown failure";
    return kFailed;
  }
}

// Runs f on the control of element, or reports kNoControl.
template <class F>
int On_Control(int element, F&& f) {
  return Guarded([&] {
    Element_Control* ec = Find(element);
    if (!ec) {
      g_last_error = "no control for this element";
      return int{kNoControl};
    }
    f(*ec);
    return int{kOk};
  });
}

const char* Hand_Over(std::string text) {
  g_text = std::move(text);
  return g_text.c_str();
}
}  // namespace

extern "C" {

// Creates the control of element (1 or more) with its design-time layout. at: an ISO 8601
// instant to show instead of the clock's, or empty. Returns kOk, kBadInstant (the control
// exists and keeps its design layout; zc_last_error tells why) or kFailed.
EMSCRIPTEN_KEEPALIVE int zc_create(int element, const char* at) {
  return Guarded([&] {
    auto ec = std::make_unique<Element_Control>(element);
    const std::string at_text = at ? at : "";
    int status = kOk;
    if (!at_text.empty()) {
      const InstantParse parsed = Parse_Instant(at_text);
      if (parsed.status == InstantParse::Status::Ok) {
        ec->platform.Fix_Instant(parsed.utc);
      } else if (parsed.status == InstantParse::Status::CalendarGap) {
        ec->platform.Fix_Instant(kInsideCalendarGap);
      } else {
        ec->bad_instant = true;
        g_last_error = "at=\"" + at_text + "\": " + parsed.error;
        status = kBadInstant;
      }
      // A chart of a chosen instant keeps its own sky and leaves the clock's charts theirs.
      ec->control.Keep_Own_Sky(true);
    }
    Controls()[element] = std::move(ec);
    return status;
  });
}

// Forgets the control of element.
EMSCRIPTEN_KEEPALIVE void zc_destroy(int element) {
  Guarded([&] { return static_cast<int>(Controls().erase(element)); });
}

// UserControl_Initialize. kFault when start-up stopped at a fault (the control then shows
// what was done before it), kBadInstant when the at text was no instant (nothing runs).
EMSCRIPTEN_KEEPALIVE int zc_initialize(int element) {
  Element_Control* ec = Find(element);
  if (ec && ec->bad_instant) return kBadInstant;
  return On_Control(element, [](Element_Control& c) { c.control.UserControl_Initialize(); });
}

// UserControl_Resize, on a change of the host's size.
EMSCRIPTEN_KEEPALIVE int zc_resize(int element) {
  return On_Control(element, [](Element_Control& c) { c.control.UserControl_Resize(); });
}

// The public method DrawThéme.
EMSCRIPTEN_KEEPALIVE int zc_draw_theme(int element) {
  return On_Control(element, [](Element_Control& c) { c.control.DrawThéme(); });
}

// The public method ShowAspects_Pln.
EMSCRIPTEN_KEEPALIVE int zc_show_aspects(int element) {
  return On_Control(element, [](Element_Control& c) { c.control.ShowAspects_Pln(); });
}

// LabAnalyse_MouseUp: a mouse button (1 left, 2 right, 4 middle) released over sign label
// index; x and y in twips within the label.
EMSCRIPTEN_KEEPALIVE int zc_label_mouse_up(int element, int index, int button, int shift,
                                           float x, float y) {
  return On_Control(element, [&](Element_Control& c) {
    c.control.LabAnalyse_MouseUp(static_cast<std::int16_t>(index), button, shift, x, y);
  });
}

// The render state of element's control as JSON (render_state.h), or null.
EMSCRIPTEN_KEEPALIVE const char* zc_control_state(int element) {
  std::string json = "null";
  Guarded([&] {
    if (Element_Control* ec = Find(element)) json = Control_State_Json(ec->control);
    return int{kOk};
  });
  return Hand_Over(std::move(json));
}

// The analysis window's render state as JSON, or null while it is not loaded.
EMSCRIPTEN_KEEPALIVE const char* zc_window_state() {
  std::string json = "null";
  Guarded([&] {
    if (const FrmAnalyse* frm = Loaded_FrmAnalyse()) json = Window_State_Json(*frm);
    return int{kOk};
  });
  return Hand_Over(std::move(json));
}

// CmdExit_Click: the close button (or Escape) hides the window.
EMSCRIPTEN_KEEPALIVE int zc_window_close() {
  return Guarded([] {
    if (FrmAnalyse* frm = Loaded_FrmAnalyse()) frm->CmdExit_Click(Page_Window_Host());
    return int{kOk};
  });
}

// A mouse press at client point (x, y) twips of the window: on its own background it is
// Form_MouseDown, which starts moving the window. Returns 1 when it did, 0 when a control
// lies there.
EMSCRIPTEN_KEEPALIVE int zc_window_press(float x, float y, int button) {
  int moved = 0;
  Guarded([&] {
    FrmAnalyse* frm = Loaded_FrmAnalyse();
    if (frm && frm->Control_At(x, y) == nullptr) {
      frm->Form_MouseDown(Page_Window_Host(), button, 0, x, y);
      moved = 1;
    }
    return int{kOk};
  });
  return moved;
}

// Why the last call failed.
EMSCRIPTEN_KEEPALIVE const char* zc_last_error() { return g_last_error.c_str(); }

// Times the start-up computation (the time base for 2026-12-08 14:30 UTC, both passes and
// the retrograde rule) `runs` times and returns the total in milliseconds. The shared table
// is put back as it was, so the charts on the page are not affected.
EMSCRIPTEN_KEEPALIVE double zc_time_startup(int runs) {
  const Shared_Table_Copy table;
  double elapsed = -1;
  Guarded([&] {
    const CivilTime t{2026, 12, 8, 14, 30, 0};
    const double start = emscripten_get_now();
    for (int k = 0; k < runs; ++k) {
      Calc_Time(t);
      Compute_Positions();
    }
    elapsed = emscripten_get_now() - start;
    return int{kOk};
  });
  table.Restore();
  return elapsed;
}
}

// The module's C interface to the page: one chart control per element, the shared analysis
// window, and the render state as JSON. No C++ exception leaves these functions: each
// catches, keeps the reason for zc_last_error, and reports a status instead.
#include <emscripten/emscripten.h>

#include <exception>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "ui/frm_analyse.h"
#include "calendar/calendar.h"
#include "control/activex_ctl.h"
#include "control/chart_markup.h"
#include "control/instant.h"
#include "control/startup.h"
#include "ephemeris/float_check.h"
#include "ephemeris/shared_state.h"
#include "web/module/window_state.h"
#include "web/module/web_platform.h"

namespace {
// Status of a call, as the page reads it.
enum Status : int {
  kOk = 0,
  kFault = 1,        // a computation or drawing fault; the control shows what it had done
  kBadInstant = 2,   // the at text is no instant; start-up did not run
  kNoControl = 3,    // no control for that element
  kFailed = 4,       // anything else (out of memory, ...)
  kCalendarGap = 5,  // the time base refuses the at instant (the 1582 reform); start-up runs
};

// A DOM mouse button (0 main, 1 middle, 2 secondary) as the control numbers it (1 left,
// 2 right, 4 middle); others count as the main one.
int Control_Button(int dom_button) {
  if (dom_button == 1) return 4;
  if (dom_button == 2) return 2;
  return 1;
}

struct Element_Control {
  explicit Element_Control(int element) : platform(element), control(platform) {}
  Web_Platform platform;
  ActiveX_Ctl control;
  bool bad_instant = false;
  std::string at;  // the at text of a chart of a chosen instant; empty for the clock's

  // Why a chart of a chosen instant shows no sky (empty when it shows one): the at text was
  // no instant, or the time base refused it. Charts of the clock keep the control's own
  // handling of a start-up fault.
  std::string_view No_Sky_Reason() const {
    if (bad_instant) return "تاريخ غير صالح";
    if (!at.empty() && control.Instant_Refused()) return "تاريخ مرفوض: انتقال التقويم عام 1582";
    return {};
  }
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

// The window host for one press on the analysis window: it records whether the control asked
// to move the window, for zc_window_press to answer; hiding goes to the page.
class Press_Host final : public Window_Platform {
 public:
  bool move_started = false;
  Show_Result Show_Modal(FrmAnalyse& frm) override { return Page_Window_Host().Show_Modal(frm); }
  void Hide(FrmAnalyse& frm) override { Page_Window_Host().Hide(frm); }
  void Start_Window_Move(FrmAnalyse&) override { move_started = true; }
};

const char* Hand_Over(std::string text) {
  g_text = std::move(text);
  return g_text.c_str();
}
}  // namespace

extern "C" {

// Creates the control of element (1 or more) with its design-time layout. at: an ISO 8601
// instant to show instead of the clock's, or empty. Returns kOk, kBadInstant (the control
// exists and keeps its design layout; zc_last_error tells why), kCalendarGap (the control
// exists and its start-up shows the time base's message; zc_last_error tells why) or kFailed.
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
        // The control's clock gives the skipped day as written: its start-up meets the time
        // base's refusal, shows its message and goes on as the control always has.
        ec->platform.Fix_Instant(parsed.utc);
        g_last_error =
            "at=\"" + at_text + "\": a day the Gregorian reform skipped (1582-10-05..14)";
        status = kCalendarGap;
      } else {
        ec->bad_instant = true;
        g_last_error = "at=\"" + at_text + "\": " + parsed.error;
        status = kBadInstant;
      }
      // A chart of a chosen instant keeps its own sky and leaves the clock's charts theirs.
      ec->control.Keep_Own_Sky(true);
      ec->at = at_text;
    }
    Controls()[element] = std::move(ec);
    return status;
  });
}

// Forgets the control of element.
EMSCRIPTEN_KEEPALIVE void zc_destroy(int element) {
  Guarded([&] { return static_cast<int>(Controls().erase(element)); });
}

// How many controls exist: one per started element still on the page.
EMSCRIPTEN_KEEPALIVE int zc_control_count() { return static_cast<int>(Controls().size()); }

// UserControl_Initialize. kFault when start-up stopped at a fault (the control then shows
// what was done before it), kBadInstant when the at text was no instant (nothing runs),
// kCalendarGap when the time base refused the at instant (start-up ran and showed its
// message; zc_last_error tells why). An instant can pass the reading and still be refused:
// the time base counts the day's fraction, so 1582-10-04 after midnight falls in the gap.
EMSCRIPTEN_KEEPALIVE int zc_initialize(int element) {
  Element_Control* ec = Find(element);
  if (ec && ec->bad_instant) return kBadInstant;
  const int status =
      On_Control(element, [](Element_Control& c) { c.control.UserControl_Initialize(); });
  if (status != kOk || ec->at.empty() || !ec->control.Instant_Refused()) return status;
  g_last_error = "at=\"" + ec->at + "\": the time base refuses it (the 1582 calendar reform)";
  return kCalendarGap;
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

// LabAnalyse_MouseUp: the DOM mouse button dom_button released over sign label index, with
// the Shift, Ctrl and Alt keys (0 or 1) down or not; x and y in twips within the label. When
// the control shows the analysis window, the page opens it after this call returns.
EMSCRIPTEN_KEEPALIVE int zc_label_mouse_up(int element, int index, int dom_button, int shift,
                                           int ctrl, int alt, float x, float y) {
  const int keys = (shift ? 1 : 0) | (ctrl ? 2 : 0) | (alt ? 4 : 0);
  return On_Control(element, [&](Element_Control& c) {
    // A chart with no sky has no reading to give: the handler's failure message instead.
    if (!c.No_Sky_Reason().empty()) return c.platform.Message_Box(kAnalyseFailMessage, kStopIconOk);
    c.control.LabAnalyse_MouseUp(static_cast<std::int16_t>(index), Control_Button(dom_button),
                                 keys, x, y);
  });
}

// element's chart as the element draws it (control/chart_markup.h): the same SVG the server
// writes, interactive, with the visitor's date and its pictures under base; null when there is
// no control.
EMSCRIPTEN_KEEPALIVE const char* zc_chart_svg(int element, const char* base) {
  std::string svg = "null";
  Guarded([&] {
    if (Element_Control* ec = Find(element)) {
      const std::string_view reason = ec->No_Sky_Reason();
      svg = Chart_Svg(ec->control, {base ? base : "/", {}, true, reason});
    }
    return int{kOk};
  });
  return Hand_Over(std::move(svg));
}

#ifdef ZC_CHART_MARKUP
// element's started chart as the server writes it (control/chart_markup.h): the element
// with its declarative shadow root, the pictures and stylesheet under base, its at attribute
// when it was given one; null for a chart that shows no sky. Only in the server entry's
// build (web/CMakeLists.txt): the page never writes markup.
EMSCRIPTEN_KEEPALIVE const char* zc_chart_html(int element, const char* base) {
  std::string html = "null";
  Guarded([&] {
    Element_Control* ec = Find(element);
    if (ec && ec->No_Sky_Reason().empty())
      html = Chart_Markup(ec->control, ec->platform.Last_Reading(), ec->at, base ? base : "/");
    return int{kOk};
  });
  return Hand_Over(std::move(html));
}
#endif

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

// A press of the DOM mouse button dom_button at client point (x, y) twips of the window: on
// its own background it is Form_MouseDown. Returns 1 when the control asked to move the
// window with the pointer (the page then moves it until the button is released), else 0.
EMSCRIPTEN_KEEPALIVE int zc_window_press(float x, float y, int dom_button) {
  Press_Host host;
  Guarded([&] {
    FrmAnalyse* frm = Loaded_FrmAnalyse();
    if (frm && frm->Control_At(x, y) == nullptr)
      frm->Form_MouseDown(host, Control_Button(dom_button), 0, x, y);
    return int{kOk};
  });
  return host.move_started ? 1 : 0;
}

// Why the last call failed.
EMSCRIPTEN_KEEPALIVE const char* zc_last_error() { return g_last_error.c_str(); }

// The date label's calendar for a local date that the page read in the proleptic Gregorian
// calendar: the Julian calendar's date of that day, as year * 10000 + month * 100 + day, when
// the day is before the 1582 reform; else 0 (the date is already the calendar's).
EMSCRIPTEN_KEEPALIVE int zc_julian_date(int year, int month, int day) {
  const std::int64_t jdn = Gregorian_Day_Number(year, month, day);
  if (jdn >= kFirstGregorianDayNumber) return 0;
  int y, m, d;
  Julian_Date_Of_Day_Number(jdn, y, m, d);
  return static_cast<int>(Date_Key(y, m, d));
}

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

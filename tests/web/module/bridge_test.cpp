// The module's bridge (web/module/*.cpp) built natively over tests/data/tables/bridge.tsv:
// calls as the element makes them, then what it reads (the chart's SVG, the window's state
// as JSON), the statuses and what the page was asked to show. The page's
// side (host_imports.h) is played here: a clock at 2020-12-21T18:00Z, a fixed date text, and
// a record of the message boxes and windows asked for.
#include <gtest/gtest.h>

#include <cstring>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "ephemeris/float_check.h"
#include "tests/table_rows.h"
#include "web/module/host_imports.h"

extern "C" {
int zc_create(int element, const char* at);
void zc_destroy(int element);
int zc_control_count();
int zc_initialize(int element);
int zc_resize(int element);
int zc_draw_theme(int element);
int zc_show_aspects(int element);
int zc_label_mouse_up(int element, int index, int dom_button, int shift, int ctrl, int alt,
                      float x, float y);
const char* zc_chart_svg(int element, const char* base);
const char* zc_window_state();
int zc_window_close();
int zc_window_press(float x, float y, int dom_button);
const char* zc_last_error();
int zc_julian_date(int year, int month, int day);
double zc_time_startup(int runs);
}

namespace {
using Json = nlohmann::json;
Json g_page = Json::array();  // what the module asked of the page, in order
int g_fault_step = -1;
int g_fail_step = -1;  // a failure that is not a floating-point fault
}  // namespace

extern "C" {
void zc_host_clock(int, int* out) {
  const int now[6] = {2020, 12, 21, 18, 0, 0};
  std::memcpy(out, now, sizeof now);
}
void zc_host_date_text(int, double unix_ms, char* buf, int size) {
  std::snprintf(buf, static_cast<std::size_t>(size), "date %.0f", unix_ms);
}
void zc_host_message_box(int element, const char* text, const char* icon, const char* font) {
  g_page.push_back({{"box", element}, {"text", text}, {"icon", icon}, {"font", font}});
}
int zc_host_show_window(int element) {
  g_page.push_back({{"show", element}});
  return 1;
}
void zc_host_hide_window(int element) { g_page.push_back({{"hide", element}}); }
}

namespace {
void Fault_At_Step(int step) {
  if (step == g_fault_step) throw FloatError();
  if (step == g_fail_step) throw std::length_error("out of room");
}

// Runs one call ("create 1 2000-01-01T12:00Z", "initialize 1", "mouse_up 1 4 0", ...);
// returns its status (or count).
int Call(const std::string& call) {
  std::istringstream in(call);
  std::string name, at;
  int e = 0, a = 0, b = 0;
  in >> name >> e;
  if (name == "create") return in >> at, zc_create(e, at == "\"\"" ? "" : at.c_str());
  if (name == "destroy") return zc_destroy(e), 0;
  if (name == "initialize") return zc_initialize(e);
  if (name == "resize") return zc_resize(e);
  if (name == "draw_theme") return zc_draw_theme(e);
  if (name == "show_aspects") return zc_show_aspects(e);
  if (name == "mouse_up") return in >> a >> b, zc_label_mouse_up(e, a, b, 0, 0, 0, 10, 10);
  if (name == "close") return zc_window_close();
  if (name == "press") return in >> a >> b, zc_window_press(static_cast<float>(e), static_cast<float>(a), b);
  if (name == "fault") return g_fault_step = e, 0;
  if (name == "fail") return g_fail_step = e, 0;
  if (name == "count") return zc_control_count();
  if (name == "time_startup") return zc_time_startup(e) >= 0 ? 0 : 1;
  if (name == "julian_date") return in >> a >> b, zc_julian_date(e, a, b);
  ADD_FAILURE() << "unknown call " << call;
  return -1;
}

// Columns: calls separated by ';', the statuses they return (comma-separated), what is read
// after them (svg E, window, page, error), a JSON pointer into it, and the value there as
// JSON, escapes its own ("type:number" and the like for any value of that type). The SVG of
// element E (its pictures under "/") is read as text: the pointer "has" or "lacks" says
// whether the value, a JSON string, occurs in it, "is" that it is the whole text.
TEST(Bridge, EveryRow) {
  Set_Fault_Probe(Fault_At_Step);
  for (const Table_Row& row : Read_Table("bridge.tsv")) {
    const std::string where = "line " + std::to_string(row.line) + ": " + row[0];
    for (int e = 1; e <= 3; ++e) zc_destroy(e);
    zc_window_close();
    g_page = Json::array();
    g_fault_step = g_fail_step = -1;
    std::string statuses;
    for (std::istringstream calls(row[0]); !calls.eof();) {
      std::string call;
      std::getline(calls, call, ';');
      statuses += (statuses.empty() ? "" : ",") + std::to_string(Call(call));
    }
    g_fault_step = g_fail_step = -1;
    EXPECT_EQ(statuses, row[1]) << where << ": " << zc_last_error();
    std::istringstream what(row[2]);
    std::string source;
    int e = 0;
    what >> source >> e;
    if (source == "svg") {
      const std::string svg = zc_chart_svg(e, "/");
      const std::string value = Json::parse(row.raw.at(4)).get<std::string>();
      const bool found = svg.find(value) != std::string::npos;
      if (row[3] == "is") EXPECT_EQ(svg, value) << where;
      else if (row[3] == "has") EXPECT_TRUE(found) << where << ": no " << value << " in\n" << svg;
      else if (row[3] == "lacks") EXPECT_FALSE(found) << where << ": " << value;
      else ADD_FAILURE() << where << ": no check " << row[3];
      continue;
    }
    Json read;
    if (source == "window") read = Json::parse(zc_window_state());
    else if (source == "page") read = g_page;
    else read = zc_last_error();
    const Json::json_pointer pointer(row[3]);
    ASSERT_TRUE(read.contains(pointer)) << where << ": no " << row[3] << " in\n" << read.dump().substr(0, 400);
    const Json& got = read.at(pointer);
    if (row[4].rfind("type:", 0) == 0) {
      EXPECT_EQ(got.type_name(), row[4].substr(5)) << where << " " << row[3];
    } else {
      EXPECT_EQ(got, Json::parse(row.raw.at(4))) << where << " " << row[3];
    }
  }
  Set_Fault_Probe(nullptr);
}
}  // namespace

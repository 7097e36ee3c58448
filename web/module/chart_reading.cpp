// The chart's reading, from the chart's model: the retrograde marks and aspects it was drawn
// with.
#include "web/module/chart_reading.h"

#include "control/chart_markup.h"
#include "render/chart.h"
#include "web/module/json_writer.h"

std::string Chart_Reading_Json(const ActiveX_Ctl& ctl, std::string_view error) {
  const Chart_Shown& shown = ctl.Chart.Shown;
  Json_Writer w;
  w.out += '{';
  w.Key("error"), w.String(error);
  w.Key("retrograde");
  w.out += '[';
  for (const bool marked : shown.Retro_Marked) w.Next(), w.Bool(marked);
  w.out += ']';
  w.Key("aspects");
  w.out += '[';
  for (const Drawn_Aspect& a : shown.Aspects) {
    w.Next();
    w.out += '{';
    w.Key("aspect"), w.String(a.aspect->name);
    w.Key("bodies");
    w.out += '[';
    w.String(Body_Name(a.first));
    w.Next(), w.String(Body_Name(a.second));
    w.out += "]}";
  }
  w.out += ']';
  w.Key("glyphNames");
  w.out += '[';
  for (int k = 0; k < static_cast<int>(ctl.Chart.ImgPln.size()); ++k) w.Next(), w.String(Glyph_Name(ctl, k));
  w.out += ']';
  w.Key("description"), w.String(Aspects_Description(ctl));
  w.out += '}';
  return w.out;
}

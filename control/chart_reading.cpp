// The chart's reading: retrograde marks and aspect lines found in the drawing layer.
#include "control/chart_reading.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

#include "analysis/orb_table.h"
#include "analysis/position_text.h"
#include "render/chart.h"

namespace {
// Retrograde mark offset from a glyph's top left corner (twips), as DrawThéme prints it.
constexpr float kMarkDx = 200;
constexpr float kMarkDy = 300;
constexpr std::string_view kRetrogradeWord = "، متراجع";
constexpr const char* kNoAspects = "لا خطوط مظاهر مرسومة";
constexpr const char* kAspectsDrawn = "خطوط المظاهر المرسومة: ";

// The Arabic name of the aspect whose line is drawn in color, or nullptr.
const char* Aspect_Named(std::uint32_t color) {
  for (const Aspect& a : kAspects)
    if (kAspectPens[a.kind].color == color) return a.name;
  return nullptr;
}

// The body's Arabic name: its phrase without the trailing " في ".
std::string Body_Name(int i) {
  std::string phrase = Pln_Phrase(static_cast<std::int16_t>(i));
  constexpr std::string_view kIn = " في ";
  if (phrase.size() >= kIn.size() && phrase.compare(phrase.size() - kIn.size(), kIn.size(), kIn) == 0)
    phrase.resize(phrase.size() - kIn.size());
  return phrase;
}

void Quoted(std::string& out, std::string_view s) {
  out += '"';
  for (const char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) >= 0x20) out += c;
  }
  out += '"';
}
}  // namespace

Chart_Reading Read_Chart(const ActiveX_Ctl& ctl) {
  Chart_Reading r;
  const auto& items = ctl.Chart.Layer.Items();
  // The ticks are the lines in the tick colour, one per body in BodyIndex order; each starts
  // at its inner end, where aspect lines end.
  std::vector<std::pair<float, float>> inner;
  for (const Drawing_Item& item : items) {
    const auto* l = std::get_if<Drawn_Line>(&item);
    if (l && l->Color == kTickColor && inner.size() < ctl.Chart.ImgPln.size())
      inner.emplace_back(l->X1, l->Y1);
  }
  const auto body_at = [&](float x, float y) -> std::optional<int> {
    for (std::size_t k = 0; k < inner.size(); ++k)
      if (inner[k].first == x && inner[k].second == y) return static_cast<int>(k);
    return std::nullopt;
  };
  for (std::size_t k = 0; k < ctl.Chart.ImgPln.size() && k < r.retrograde.size(); ++k) {
    const Child_Control& img = ctl.Chart.ImgPln[k];
    bool marked = false;
    for (const Drawing_Item& item : items) {
      const auto* t = std::get_if<Printed_Text>(&item);
      marked = marked || (t && t->Text == kRetroMark && t->X == static_cast<float>(img.Left + kMarkDx) &&
                          t->Y == static_cast<float>(img.Top + kMarkDy));
    }
    r.retrograde[k] = marked;
    std::string name = img.ToolTipText;
    if (marked) {
      while (!name.empty() && (name.back() == ' ' || name.back() == '\r' || name.back() == '\n')) name.pop_back();
      name += kRetrogradeWord;
    }
    r.glyph_names[k] = std::move(name);
  }
  std::vector<std::pair<int, int>> listed;
  for (const Drawing_Item& item : items) {
    const auto* l = std::get_if<Drawn_Line>(&item);
    const char* aspect = l ? Aspect_Named(l->Color) : nullptr;
    if (!aspect) continue;
    const auto a = body_at(l->X1, l->Y1), b = body_at(l->X2, l->Y2);
    if (!a || !b) continue;
    const std::pair<int, int> pair{*a, *b};
    bool seen = false;
    for (const auto& p : listed) seen = seen || p == pair;
    if (seen) continue;
    listed.push_back(pair);
    r.aspects.push_back({aspect, {Body_Name(*a), Body_Name(*b)}});
  }
  if (r.aspects.empty()) r.description = kNoAspects;
  for (std::size_t k = 0; k < r.aspects.size(); ++k) {
    const auto& a = r.aspects[k];
    r.description += k ? "، " : kAspectsDrawn;
    r.description += a.aspect + " " + a.bodies[0] + " و" + a.bodies[1];
  }
  return r;
}

std::string Chart_Reading_Json(const ActiveX_Ctl& ctl, std::string_view error) {
  const Chart_Reading r = Read_Chart(ctl);
  std::string out = "{\"error\":";
  Quoted(out, error);
  out += ",\"retrograde\":[";
  for (std::size_t k = 0; k < r.retrograde.size(); ++k) out += k ? "," : "", out += r.retrograde[k] ? "true" : "false";
  out += "],\"aspects\":[";
  for (std::size_t k = 0; k < r.aspects.size(); ++k) {
    out += k ? ",{\"aspect\":" : "{\"aspect\":";
    Quoted(out, r.aspects[k].aspect);
    out += ",\"bodies\":[";
    Quoted(out, r.aspects[k].bodies[0]);
    out += ',';
    Quoted(out, r.aspects[k].bodies[1]);
    out += "]}";
  }
  out += "],\"glyphNames\":[";
  for (std::size_t k = 0; k < r.glyph_names.size(); ++k) {
    if (k) out += ',';
    Quoted(out, r.glyph_names[k]);
  }
  out += "],\"description\":";
  Quoted(out, r.description);
  out += '}';
  return out;
}

// JSON outputs through nlohmann/json, with ordered keys.
#include "service/json_output.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <nlohmann/json.hpp>

#include "analysis/analysis_state.h"
#include "analysis/names.h"
#include "analysis/sign_of.h"
#include "ephemeris/shared_state.h"
#include "render/chart.h"

namespace {
using Json = nlohmann::ordered_json;

// A whole number as an integer ("1", not "1.0"), any other value as the double, which dump()
// writes in a form that reads back to the same double.
Json Number(double x) {
  constexpr double kExactIntegers = 9007199254740992.0;  // 2^53
  if (std::trunc(x) == x && std::fabs(x) < kExactIntegers) return static_cast<std::int64_t>(x);
  return x;
}
}  // namespace

std::string Positions_Json(const Computed_Instant& computed) {
  Json bodies = Json::array();
  for (int k = 0; k < BodyIndex::Count; ++k) {
    const Pln_Record& rec = Pln_Rec[k];
    Json body;
    body["index"] = k;
    body["name"] = kBodyNames[k];
    body["lon"] = Number(rec.Lon);
    body["lon_next"] = Number(Pln_Lon[k]);
    body["retro"] = rec.Retro == kTrue16;
    body["sign"] = Sign_Of(rec.Lon);
    body["tooltip"] = Body_Tooltip(k);
    bodies.push_back(std::move(body));
  }
  Json j;
  j["instant_utc"] = computed.instant_utc;
  j["julian_day"] = Number(computed.julian_day);
  j["julian_centuries"] = Number(computed.julian_centuries);
  j["bodies"] = std::move(bodies);
  return j.dump();
}

std::string Analysis_Json(const Computed_Instant& computed, int sign, const std::string& text) {
  if (sign < 0 || sign > 11) throw std::out_of_range("sign index outside 0..11");
  Json houses = Json::array(), scores = Json::array();
  for (int k = 0; k < BodyIndex::Count; ++k) {
    houses.push_back(Number(Pln_Rec[k].House));
    scores.push_back(Pln_Score[k]);
  }
  Json j;
  j["instant_utc"] = computed.instant_utc;
  j["sign"] = sign;
  j["caption"] = kSignCaptions[sign];
  j["houses"] = std::move(houses);
  j["scores"] = std::move(scores);
  j["text"] = text;
  return j.dump();
}

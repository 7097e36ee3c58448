// The chart as HTML before any script: the <zodiac-chart> element with its shadow root written
// as Declarative Shadow DOM, for a page's own markup. The command line, the server and the
// WebAssembly module (and so the package's server entry) all write it here, so the same
// instant and base give the same bytes everywhere.
#pragma once

#include <string>
#include <string_view>

#include "control/activex_ctl.h"
#include "ephemeris/time_base.h"

#include "ui/surface.h"

// The design size of the chart in CSS pixels (15 twips each).
inline constexpr int kChartPixelWidth = static_cast<int>(kDesignWidth / 15);
inline constexpr int kChartPixelHeight = static_cast<int>(kDesignHeight / 15);

// What the chart says to assistive technology, from its model: glyph k's name (its tooltip,
// with the retrograde word when marked) and the aspects drawn as one Arabic sentence.
std::string Body_Name(int i);  // body i's Arabic name: its phrase without the trailing " في "
std::string Glyph_Name(const ActiveX_Ctl& ctl, int k);
std::string Aspects_Description(const ActiveX_Ctl& ctl);

// The date label's text of a server-rendered chart: the UTC reading of its instant in the
// historical calendar, "YYYY-MM-DD HH:MM:SS UTC", marked "(يولياني)" before 1582-10-15.
std::string Utc_Date_Text(const CivilTime& utc);

// What the chart's one SVG is written for. A server-rendered chart (interactive false) writes
// the visible children only, its sign labels as text. The element's own drawing (interactive
// true) writes every child, the hidden ones with display="none", so one drawing and the next
// have the same shape and the element updates its nodes in place; its sign labels are buttons
// (role, tab stop, the row of the background's column behind each as its hit area, the label's
// box in data-left and data-top) and its glyphs take the keyboard focus. A chart that shows no
// sky (no_sky, its reason) shows no drawing and no glyphs, and the reason, as an alert, in the
// date's place.
struct Chart_Svg_Options {
  std::string_view base = "/";  // the pictures' folder ("/" is added when it does not end in one)
  std::string_view date;        // the date label's text
  bool interactive = false;
  std::string_view no_sky;
};

// `<svg class="chart">…</svg>` of the started control ctl: the background, the drawing layer,
// the glyphs at their places (each named by its tooltip, retrograde word included), the sign
// labels, the date and the aspect description. No style attribute, no script: it shows under
// a strict CSP, its look from zodiac-chart.css.
std::string Chart_Svg(const ActiveX_Ctl& ctl, const Chart_Svg_Options& options);

// `<zodiac-chart at="AT"><template shadowrootmode="open">…</template></zodiac-chart>` of the
// started control ctl, whose clock read utc: the chart's SVG with the date in UTC, styled by
// BASE + "zodiac-chart.css" and with its pictures under base. No at attribute when at is empty.
std::string Chart_Markup(const ActiveX_Ctl& ctl, const CivilTime& utc, std::string_view at,
                         std::string_view base);

// The same fragment's `<template shadowrootmode="open">…</template>` alone, for an element
// already written in a page (the demo page's own tags).
std::string Chart_Shadow_Root(const ActiveX_Ctl& ctl, const CivilTime& utc, std::string_view base);

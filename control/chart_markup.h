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

// `<zodiac-chart at="AT"><template shadowrootmode="open">…</template></zodiac-chart>` of the
// started control ctl, whose clock read utc: one SVG of the background, the drawing layer,
// the glyphs at their places (each named by its tooltip, retrograde word included), the sign
// labels as text, the date and the aspect description, styled by BASE + "zodiac-chart.css" and
// with its pictures under base (a "/" is added when base does not end in one). No at
// attribute when at is empty. No style attribute, no script: it shows under a strict CSP.
std::string Chart_Markup(const ActiveX_Ctl& ctl, const CivilTime& utc, std::string_view at,
                         std::string_view base);

// The same fragment's `<template shadowrootmode="open">…</template>` alone, for an element
// already written in a page (the demo page's own tags).
std::string Chart_Shadow_Root(const ActiveX_Ctl& ctl, const CivilTime& utc, std::string_view base);

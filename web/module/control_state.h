// What a page needs to draw a control or the analysis window, as JSON text: the drawing
// layer and every child control with its position, texts, font, colours and settings, in
// the model's own units (twips, 0x00BBGGRR colours). The page renders this and nothing else.
#pragma once

#include <string>

#include "ui/frm_analyse.h"
#include "control/activex_ctl.h"

// {"surface": {...}, "font": {...}, "layer": [...], "children": [...]}: the surface's size,
// background colour and picture; the layer's items in drawing order, a line as
// {"kind": "line", x1, y1, x2, y2, colour, width, "pen": "solid" | "dash" | "dot"} and printed
// text as {"kind": "text", x, y, colour, text}; the children front to back, each with its
// "kind" ("label", "image", "textBox", "button", "pictureBox"), "role" ("sign" for a sign
// label, "glyph" for a body's glyph, "date" for the date label, "" for any other), "align" ("left", "right",
// "center") and "pointer" ("default", "hand") by name.
std::string Control_State_Json(const ActiveX_Ctl& ctl);

// {"shown": bool, "width", "height", "frame", "back", "controls": [...]}: the analysis
// window and its controls in tab order (CmdExit's position is relative to Pic).
std::string Window_State_Json(const FrmAnalyse& frm);

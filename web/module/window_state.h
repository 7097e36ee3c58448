// What a page needs to draw the analysis window, as JSON text: every control with its
// position, texts, font, colours and settings, in the model's own units (twips, 0x00BBGGRR
// colours). The chart itself reaches the page as SVG (control/chart_markup.h).
#pragma once

#include <string>

#include "ui/frm_analyse.h"

// {"shown": bool, "width", "height", "frame", "back", "controls": [...]}: the analysis
// window and its controls in tab order (CmdExit's position is relative to Pic), each with the
// fields the page draws it by.
std::string Window_State_Json(const FrmAnalyse& frm);

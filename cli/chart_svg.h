// The control as a visitor sees it, written as one self-contained SVG document.
#pragma once

#include <string>

class ActiveX_Ctl;
class FrmAnalyse;

// The SVG of ctl in twips (viewBox 0 0 7695 6885, 513 x 459 pixels), back to front: the
// surface colour and background picture, the drawing layer (group "drawing-layer": one
// <line> per line and one <text> per printed text, in drawing order), then the child
// controls with their tooltips as <title>. When window is given, the analysis window is drawn
// on top, centred on the control, and the canvas grows to hold it.
std::string Chart_Svg(const ActiveX_Ctl& ctl, const FrmAnalyse* window = nullptr);

// The control as a visitor sees it, written as one self-contained SVG document.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "render/drawing_layer.h"
#include "ui/child_control.h"

class FrmAnalyse;

// What the control shows: its name, its drawing layer and its child controls front to back.
struct Chart_View {
  std::string_view title;
  const Drawing_Layer& layer;
  std::vector<const Child_Control*> children;
};

// The SVG of the control's view in twips (viewBox 0 0 7695 6885, 513 x 459 pixels), back to
// front: the surface colour and background picture, the drawing layer (group "drawing-layer": one
// <line> per line and one <text> per printed text, in drawing order), then the child
// controls with their tooltips as <title>. When window is given, the analysis window is drawn
// on top, centred on the control, and the canvas grows to hold it.
//
// For_Picture is the document a rasterizer of ours draws (librsvg 2.54, which ignores
// dominant-baseline): the surface colour and the background picture left out (it paints them
// from its cache), and each text's baseline given outright from the font's ascent and descent.
enum class Svg_Use { Document, For_Picture };
std::string Chart_Svg(const Chart_View& view, const FrmAnalyse* window = nullptr,
                      Svg_Use use = Svg_Use::Document);

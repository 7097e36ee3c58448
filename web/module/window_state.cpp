// The analysis window's render state as JSON text, by the module's JSON writer.
#include "web/module/window_state.h"


#include "control/layout.h"
#include "render/css_style.h"
#include "web/module/json_writer.h"

namespace {
void Write_Font(Json_Writer& w, const Font_Spec& f) {
  w.out += '{';
  w.Key("family"), w.String(Font_Stack(f));
  w.Key("size"), w.Number(f.Size);
  w.Key("weight"), w.Number(f.Weight);
  w.out += '}';
}

// The names the page reads for the model's enumerations.
const char* Kind_Name(Control_Kind kind) {
  switch (kind) {
    case Control_Kind::Label: return "label";
    case Control_Kind::Image: return "image";
    case Control_Kind::Text_Box: return "textBox";
    case Control_Kind::Button: return "button";
    case Control_Kind::Picture_Box: return "pictureBox";
  }
  return "label";
}

const char* Align_Name(Text_Align align) {
  switch (align) {
    case Text_Align::Left: return "left";
    case Text_Align::Right: return "right";
    case Text_Align::Center: return "center";
  }
  return "left";
}

void Write_Child(Json_Writer& w, const Child_Control& c) {
  w.Next();
  w.out += '{';
  w.Key("name"), w.String(c.Name);
  w.Key("kind"), w.String(Kind_Name(c.Kind));
  w.Key("left"), w.Number(c.Left);
  w.Key("top"), w.Number(c.Top);
  w.Key("width"), w.Number(c.Width);
  w.Key("height"), w.Number(c.Height);
  w.Key("caption"), w.String(c.Caption);
  w.Key("font"), Write_Font(w, c.Font);
  w.Key("fore"), w.String(Css_Colour(c.ForeColor));
  w.Key("back"), w.String(Css_Colour(c.BackColor));
  w.Key("transparent"), w.Bool(c.Transparent);
  w.Key("align"), w.String(Align_Name(c.Alignment));
  w.Key("vscroll"), w.Bool(c.Vertical_Scroll);
  w.out += '}';
}

}  // namespace

std::string Window_State_Json(const FrmAnalyse& frm) {
  Json_Writer w;
  w.out += '{';
  w.Key("shown"), w.Bool(frm.Shown());
  w.Key("width"), w.Number(FrmAnalyse::Client_Width);
  w.Key("height"), w.Number(FrmAnalyse::Client_Height);
  w.Key("frame"), w.Number(FrmAnalyse::Frame_Width);
  w.Key("back"), w.String(Css_Colour(FrmAnalyse::Back_Color));
  w.Key("controls");
  w.out += '[';
  for (const Child_Control* c : {&frm.TxtAnalyse, &frm.Pic, &frm.CmdExit, &frm.Lab})
    Write_Child(w, *c);
  w.out += "]}";
  return w.out;
}

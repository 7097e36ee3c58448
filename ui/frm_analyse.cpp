// The analysis window: its design-time layout, its states and its two handlers.
#include "ui/frm_analyse.h"

#include <memory>
#include <string>

namespace {
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;

// The credits under the text: a wish between two rows of asterisks, then the makers by role.
std::string Credits() {
  std::string s = " \r\n";
  s.append(14, '*');
  s += " حظ سعيد للجميع";
  s.append(14, '*');
  s += "\r\n \r\n";
  s += "فريق مشروع خريطة الأبراج\r\n";
  s += "\r\n";
  s += "الخبير الفلكي : مستشار الفلك في المشروع\r\n";
  s += "المبرمج : فريق البرمجة في المشروع\r\n";
  s += "\r\n";
  s += "صُنعت لصفحات الويب العربية\r\n";
  return s;
}

bool Inside(const Child_Control& c, float x, float y, float dx = 0, float dy = 0) {
  return x >= c.Left + dx && x < c.Left + dx + c.Width && y >= c.Top + dy &&
         y < c.Top + dy + c.Height;
}

thread_local std::unique_ptr<FrmAnalyse> t_frm;
}  // namespace

FrmAnalyse::FrmAnalyse() {
  TxtAnalyse.Name = "TxtAnalyse";
  TxtAnalyse.Kind = Control_Kind::Text_Box;
  TxtAnalyse.Left = 0, TxtAnalyse.Top = 0, TxtAnalyse.Width = 8500, TxtAnalyse.Height = 3810;
  TxtAnalyse.Caption = "\r\nإضغط على برجك لتحصل على التوقعات المنتظرة\r\n";
  TxtAnalyse.Font = {"Arabic Transparent", 14.25, 400, 178};
  TxtAnalyse.ForeColor = kBlack;
  TxtAnalyse.BackColor = kWhite;
  TxtAnalyse.Alignment = Text_Align::Right;
  TxtAnalyse.Multi_Line = true;
  TxtAnalyse.Vertical_Scroll = true;
  TxtAnalyse.Tab_Index = 0;

  Pic.Name = "Pic";
  Pic.Kind = Control_Kind::Picture_Box;
  Pic.Left = 8510, Pic.Top = 0, Pic.Width = 345, Pic.Height = 340;
  Pic.BackColor = Back_Color;
  Pic.Tab_Index = 1;

  CmdExit.Name = "CmdExit";
  CmdExit.Kind = Control_Kind::Button;
  CmdExit.Left = 0, CmdExit.Top = 0, CmdExit.Width = 285, CmdExit.Height = 285;
  CmdExit.Caption.assign(1, 'r');  // the close cross of the Marlett symbol font
  CmdExit.Font = {"Marlett", 9, 500, 2};
  CmdExit.ForeColor = kBlack;
  CmdExit.BackColor = kButtonFaceColor;
  CmdExit.Alignment = Text_Align::Center;
  CmdExit.Tab_Index = 2;

  Lab.Name = "Lab";
  Lab.Kind = Control_Kind::Label;
  Lab.Left = 0, Lab.Top = 3780, Lab.Width = 8880, Lab.Height = 1815;
  Lab.Caption = Credits();
  Lab.Font = {"Tahoma", 8.25, 700, 178};
  Lab.ForeColor = kWhite;
  Lab.BackColor = Back_Color;
  Lab.Alignment = Text_Align::Center;
  Lab.Multi_Line = true;
  Lab.Tab_Index = 3;
}

void FrmAnalyse::Show_Modal(Window_Platform& host) {
  if (shown_) throw Window_Error("the analysis window is already shown");
  shown_ = true;
  Window_Platform::Show_Result result;
  try {
    result = host.Show_Modal(*this);
  } catch (...) {
    shown_ = false;
    throw;
  }
  if (result == Window_Platform::Show_Result::Refused) {
    shown_ = false;
    throw Window_Error("the host cannot show the analysis window");
  }
  if (result == Window_Platform::Show_Result::Closed) shown_ = false;
}

void FrmAnalyse::CmdExit_Click(Window_Platform& host) {
  host.Hide(*this);
  shown_ = false;
}

void FrmAnalyse::Form_MouseDown(Window_Platform& host, int, int, float, float) {
  host.Start_Window_Move(*this);
}

const Child_Control* FrmAnalyse::Control_At(float x, float y) const {
  // Windowed controls lie above the windowless label.
  if (Inside(TxtAnalyse, x, y)) return &TxtAnalyse;
  if (Inside(CmdExit, x, y, Pic.Left, Pic.Top)) return &CmdExit;
  if (Inside(Pic, x, y)) return &Pic;
  if (Inside(Lab, x, y)) return &Lab;
  return nullptr;
}

FrmAnalyse& Frm_Analyse() {
  if (!t_frm) t_frm = std::make_unique<FrmAnalyse>();
  return *t_frm;
}

FrmAnalyse* Loaded_FrmAnalyse() { return t_frm.get(); }

void Unload_FrmAnalyse() { t_frm.reset(); }

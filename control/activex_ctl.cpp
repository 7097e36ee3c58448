// The chart control: start-up, redraw and the sign-label handler.
#include "control/activex_ctl.h"

#include <exception>

#include "analysis/analysis_text.h"
#include "control/layout.h"
#include "control/startup.h"
#include "ephemeris/shared_state.h"
#include "ui/frm_analyse.h"

ActiveX_Ctl::ActiveX_Ctl(Platform& platform)
    : LabAnalyse(Design_LabAnalyse()),
      LabDate(Design_LabDate()),
      ImgIcon(Design_ImgIcon()),
      Img(Design_Img()),
      platform_(platform) {
  Chart.ImgPln = Design_ImgPln();
  Chart.Layer.Font = Surface_Font();
}

template <class F>
void ActiveX_Ctl::With_Own_Sky(F&& f) {
  if (!keep_own_sky_) return f();
  const Shared_Table_Copy table;
  if (has_own_sky_) {
    for (int k = 0; k < BodyIndex::Count; ++k) {
      Pln_Rec[k].Lon = own_sky_[k].Lon;
      Pln_Rec[k].Retro = own_sky_[k].Retro;
    }
  }
  try {
    f();
  } catch (...) {
    table.Restore();
    throw;
  }
  table.Restore();
}

void ActiveX_Ctl::DrawThéme() {
  With_Own_Sky([&] { ::DrawThéme(Chart); });
}

void ActiveX_Ctl::ShowAspects_Pln() {
  With_Own_Sky([&] { ::ShowAspects_Pln(Chart); });
}

void ActiveX_Ctl::LabAnalyse_MouseUp(std::int16_t Index, int, int, float, float) {
  With_Own_Sky([&] {
    try {
      Pick_Sign(Index);  // Sel_Sign, then the houses and scores
      FrmAnalyse& frm = Frm_Analyse();
      frm.TxtAnalyse.Caption.clear();
      frm.TxtAnalyse.Caption += LabAnalyse.at(static_cast<std::size_t>(Index)).Caption;
      frm.TxtAnalyse.Caption = Analysis_Text(frm.TxtAnalyse.Caption, Analyse_Planets());
      frm.Show_Modal(platform_);
    } catch (const std::exception&) {
      platform_.Message_Box(kAnalyseFailMessage, kStopIconOk);
    }
  });
}

void ActiveX_Ctl::UserControl_Initialize() {
  With_Own_Sky([&] {
    instant_refused_ = !Startup_Compute(platform_.Clock_Utc(), platform_);
    for (int k = 0; k < BodyIndex::Count; ++k) own_sky_[k] = {Pln_Rec[k].Lon, Pln_Rec[k].Retro};
    has_own_sky_ = true;
    UserControl_Resize();
    LabDate.Caption = platform_.Date_Text();
  });
}

void ActiveX_Ctl::UserControl_Resize() {
  With_Own_Sky([&] { Redraw_Chart(Chart); });
}

std::vector<const Child_Control*> ActiveX_Ctl::Children() const {
  std::vector<const Child_Control*> children;
  children.reserve(25);
  for (const Child_Control& c : LabAnalyse) children.push_back(&c);
  children.push_back(&LabDate);
  children.push_back(&ImgIcon);
  for (const Child_Control& c : Chart.ImgPln) children.push_back(&c);
  children.push_back(&Img);
  return children;
}

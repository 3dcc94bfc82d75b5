// Tafels, the falling-sums drill: problems fall down the panel and the child types
// their products against the clock.
#pragma once

#include "toolkit/form.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class Program;

// What each table button drills, by its index (index 1 is "x 3", index 2 "x 2").
struct TafelKnop {
  int tafel;               // the second factor; mixed for "alles"
  std::string_view uitleg; // the explanation shown while the pointer is over it
};
inline constexpr int gemengd = -1; // "alles": every problem draws its table 0..10
inline constexpr std::array<TafelKnop, 9> tafelKnoppen{{
    {gemengd, "Alle tafels door elkaar oefenen "},
    {3, "Alleen tafel 3 oefenen"},
    {2, "Alleen tafel 2 oefenen"},
    {4, "Alleen tafel 4 oefenen"},
    {5, "Alleen tafel 5 oefenen"},
    {6, "Alleen tafel 6 oefenen"},
    {7, "Alleen tafel 7 oefenen"},
    {8, "Alleen tafel 8 oefenen"},
    {9, "Alleen tafel 9 oefenen"},
}};

// "300 x 4 = ?"
std::string probleemTekst(int getal, int tafelgetal);

class Tafels : public tk::Form {
public:
  explicit Tafels(Program &program);

  void Form_Load();
  void cmdstarter_Click(std::int16_t Index);
  void nieuwprobleem();

  void tmrval_Timer();
  void txtAntwoord_Change();
  void cmdoeifout_Click();
  void cmdrood_Click();
  void cmdgroen_Click();
  // Resuming after help: the green light, and the classroom's way back.
  void hervatten();

  void Tmrchrono_Timer();
  void Cmdstop_Click();

  void cmdstarter_MouseMove(std::int16_t Index);
  void cmdgroen_MouseMove();
  void cmdoeifout_MouseMove();
  void cmdrood_MouseMove();
  void Cmdstop_MouseMove();
  void Form_MouseMove();

  // The caption of the current problem; the classroom shows it.
  [[nodiscard]] const std::string &probleem() const { return probleem_; }

private:
  [[nodiscard]] int trekEersteFactor();
  [[nodiscard]] int trekTafelgetal();
  void plaatsProbleem();
  void eindeRonde();
  void geefOordeel();
  void toonUitleg(std::string_view uitleg);

  Program &program_;

  // The counters run on over all rounds since the screen was loaded; they are wider
  // than the values a session can reach, so a long session never overflows.
  std::string probleem_;
  int getal = 0;
  int tafelgetal = 0;
  int uitkomst = 0;
  std::int16_t tafelkeuze = 0;
  int restseconden = 0;
  int rondejuist = 0;
  int totaaljuist = 0;
  int totaaloefeningen = 0;

  tk::ControlArray cmdstarter;
  tk::Control &cmdoeifout;
  tk::Control &cmdgroen;
  tk::Control &cmdrood;
  tk::Control &Cmdstop;
  tk::Control &txtAntwoord;
  tk::Control &Picture1;
  tk::Control &Picpaddestoel;
  tk::Control &lblvalprobleem;
  tk::Control &lblmult2;
  tk::Control &lblaantaljuist;
  tk::Control &lblaantal;
  tk::Control &lbluitleg;
  tk::Control &lblrood;
  tk::Control &Lbltotaal;
  tk::Control &Lblchrono;
  tk::Control &lblTip1;
  tk::Control &Lblmemo;
  tk::Control &Imgpotloodrood;
  tk::Control &Imgpotloodgroen;
  tk::Control &Imgpotloodgeel;
  tk::Control &Imgpotloodblauw;
  tk::ControlArray shpTip;
  tk::Timer &tmrval;
  tk::Timer &Tmrchrono;
};

const tk::FormDesign &drillDesign();

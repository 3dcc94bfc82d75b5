// Aklas, the classroom: a hundred-field and timed table lessons, opened from the
// drill's red light while the round waits.
#pragma once

#include "toolkit/form.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class Program;

// What differs between the ten table buttons "x 1" .. "x 10"; the table of lesson N
// is lessen[N - 1].
struct Les {
  std::string_view knop;              // the button, Cmd1 .. Cmd10
  std::string_view opschrift;         // its caption
  std::string_view timer;             // its reveal timer, Timer1 .. Timer10
  std::string_view eersteInspringing; // the indent of "0 x N= ?", the first easy question
};
inline constexpr std::array<Les, 10> lessen{{
    {"Cmd1", "x 1", "Timer1", "  "},
    {"Cmd2", "x 2", "Timer2", "  "},
    {"Cmd3", "x 3", "Timer3", "  "},
    {"Cmd4", "x 4", "Timer4", "  "},
    {"Cmd5", "x 5", "Timer5", "  "},
    {"Cmd6", "x 6", "Timer6", "   "},
    {"Cmd7", "x 7", "Timer7", "  "},
    {"Cmd8", "x 8", "Timer8", "  "},
    {"Cmd9", "x 9", "Timer9", "  "},
    {"Cmd10", "x 10", "Timer10", "  "},
}};
inline constexpr int hoogsteFactor = 10; // every table runs from 0 x N to 10 x N
inline constexpr int veldGrootte = 100;  // the hundred-field holds the boxes 0 .. 100

// The table of `tafel` with its answers, one line per factor 0 .. 10, for the text
// `tafel` of the hidden table field; nothing when that text is no whole number.
std::optional<std::string> antwoordenlijst(std::string_view tafel);

class Aklas : public tk::Form {
public:
  explicit Aklas(Program &program);

  void Form_Load();
  void Form_Activate();
  void Form_KeyPress(std::int16_t &KeyAscii);

  // Cmd1_Click .. Cmd10_Click: one lesson for the ten tables, N = 1 .. 10.
  void Cmd_Click(int N);
  // Timer1_Timer .. Timer10_Timer: the reveal of table N.
  void Timer_Timer(int N);
  void Timerreset_Timer();

  void txtgetal2_Change();
  void Cmdalletafels_Click();
  void Cmdtimerreset_Click();
  void Cmdterug_Click();

  void Image1_MouseMove(const tk::MouseEvent &event);
  void Lblinaklas_MouseMove(const tk::MouseEvent &event);

private:
  enum class Moment : std::uint8_t { Laden, Activeren };
  void zetKlaar(Moment moment);
  void kleurVakje(tk::Control &vakje, tk::Color kleur);
  void kleurTafelvakjes(tk::Color kleur);
  void kleurTafel(int N, tk::Color kleur);
  [[nodiscard]] tk::Timer &lesTimer(int N) const;

  Program &program_;

  tk::Control &txtgetal2;
  tk::Control &Cmdterug;
  tk::Control &Cmdtimerreset;
  tk::Control &Cmdalletafels;
  tk::Control &Frmkiestafel;
  tk::ControlArray Text2;
  tk::Control &lblinfor;
  tk::Control &lblmededeling;
  tk::Control &Lblinaklas;
  tk::Control &Lbltrainer;
  tk::Control &lbltrainer3;
  tk::Control &Lbltrainer2;
  tk::Control &Image1;
  tk::Timer &Timerreset;
};

const tk::FormDesign &classroomDesign();

#include "standard/key_script.h"

#include <cctype>
#include <string>

#include "numbers/messages.h"
#include "numbers/number_check.h"
#include "standard/display_number.h"

namespace qz {

namespace {

using C = StandardCommand;

struct Word {
  std::string_view word;
  C command;
};

constexpr Word kWords[] = {
    {"+", C::Plus},
    {"-", C::Minus},
    {"*", C::Times},
    {"x", C::Times},
    {"/", C::Divide},
    {"(", C::Open},
    {")", C::Close},
    {"=", C::Total},
    {"total", C::Total},
    {"sqrt", C::SquareRoot},
    {"sq", C::Square},
    {"inv", C::Inverse},
    {"pi", C::Pi},
    {"neg", C::ChangeSign},
    {"free", C::FreeMode},
    {"fixed", C::FixedMode},
    {"sci", C::ScientificMode},
    {"refresh", C::Refresh},
    {"undo", C::DeleteLast},
    {"clear", C::ClearTape},
    {"update", C::Update},
    {"endedit", C::EndEdit},
};

bool digitsOnly(std::string_view s) {
  if (s.empty() || s.size() > 4) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

ScriptOutcome commandOutcome(StandardCalculator& calculator, Messenger& messenger) {
  switch (calculator.lastResult()) {
    case KeyResult::Refused:
      return ScriptOutcome::Refused;
    case KeyResult::InvalidDisplay: {
      const DisplayNumber number = checkDisplayNumber(calculator.displayText());
      ShowValueMessage(messenger, number.messageId == 0 ? 10 : number.messageId, number.limit);
      return ScriptOutcome::Refused;
    }
    default:
      return ScriptOutcome::Done;
  }
}

}  // namespace

ScriptOutcome runScriptKey(StandardCalculator& calculator, std::string_view word, Messenger& messenger) {
  for (const Word& w : kWords) {
    if (w.word != word) continue;
    const bool key = w.command == C::Plus || w.command == C::Minus || w.command == C::Times ||
                     w.command == C::Divide || w.command == C::Open || w.command == C::Close ||
                     w.command == C::Total || w.command == C::SquareRoot || w.command == C::Square ||
                     w.command == C::Inverse || w.command == C::Update;
    calculator.command(w.command);
    return key ? commandOutcome(calculator, messenger) : ScriptOutcome::Done;
  }
  if (word.size() == 4 && word.substr(0, 3) == "dec" && std::isdigit(static_cast<unsigned char>(word[3]))) {
    calculator.command(static_cast<int>(C::DecimalsFirst) + (word[3] - '0'));
    return ScriptOutcome::Done;
  }
  if (word.size() == 3 && word[0] == 'm' && std::isdigit(static_cast<unsigned char>(word[2]))) {
    C base = C::None;
    switch (word[1]) {
      case 's':
        base = C::CopyToMemoryFirst;
        break;
      case 'a':
        base = C::AddToMemoryFirst;
        break;
      case 'r':
        base = C::UseMemoryFirst;
        break;
      case 'c':
        base = C::ClearMemoryFirst;
        break;
      default:
        return ScriptOutcome::Unknown;
    }
    calculator.command(static_cast<int>(base) + (word[2] - '0'));
    return ScriptOutcome::Done;
  }
  if (word.substr(0, 4) == "sel=" && digitsOnly(word.substr(4))) {
    calculator.clickEntry(std::stoi(std::string(word.substr(4))));
    return ScriptOutcome::Done;
  }
  // Anything else made of number characters is typed into the display.
  std::string text(word);
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != 'E' && c != '+' && c != '-')
      return ScriptOutcome::Unknown;
  if (!calculator.displayEnabled() || calculator.displayReadOnly()) return ScriptOutcome::Done;
  calculator.clearDisplay();
  if (!calculator.editDisplay(text, static_cast<int>(text.size()))) {
    ShowMessage(messenger, kCaptionError, 10, {}, MessageStyle::Warning);
    return ScriptOutcome::Refused;
  }
  return ScriptOutcome::Done;
}

}  // namespace qz

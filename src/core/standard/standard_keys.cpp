#include "standard/standard_keys.h"

namespace qz {

namespace {

using C = StandardCommand;

constexpr std::array<KeypadKey, kKeypadKeyCount> kKeys{{
    {"7", '7', C::None, 0, 0},
    {"8", '8', C::None, 0, 1},
    {"9", '9', C::None, 0, 2},
    {"+", 0, C::Plus, 0, 3},
    {"4", '4', C::None, 1, 0},
    {"5", '5', C::None, 1, 1},
    {"6", '6', C::None, 1, 2},
    {"\xE2\x88\x92", 0, C::Minus, 1, 3},  // −
    {"1", '1', C::None, 2, 0},
    {"2", '2', C::None, 2, 1},
    {"3", '3', C::None, 2, 2},
    {"\xC3\x97", 0, C::Times, 2, 3},  // ×
    {"0", '0', C::None, 3, 0},
    {".", '.', C::None, 3, 1},
    {"\xC2\xB1", 0, C::ChangeSign, 3, 2},  // ±
    {"\xC3\xB7", 0, C::Divide, 3, 3},      // ÷
    {"E", 'E', C::None, 4, 0},
    {"(", 0, C::Open, 4, 1},
    {")", 0, C::Close, 4, 2},
    {"=", 0, C::Total, 4, 3},
    {"\xE2\x88\x9A", 0, C::SquareRoot, 5, 0},  // √
    {"1/x", 0, C::Inverse, 5, 1},
    {"x\xC2\xB2", 0, C::Square, 5, 2},  // x²
    {"\xCF\x80", 0, C::Pi, 5, 3},       // π
}};

int keyOfCharacter(char c) {
  for (int i = 0; i < kKeypadKeyCount; ++i)
    if (kKeys[static_cast<std::size_t>(i)].character == c) return i;
  return -1;
}

KeyboardAction command(StandardCommand c) { return {KeyboardAction::Command, static_cast<int>(c)}; }

}  // namespace

const std::array<KeypadKey, kKeypadKeyCount>& keypadKeys() { return kKeys; }

int keypadKeyAt(int x, int y) {
  if (x < 0 || y < 0) return -1;
  const int column = x / kKeyWidth;
  const int row = y / kKeyHeight;
  if (column >= kKeypadColumns || row >= kKeypadKeyCount / kKeypadColumns) return -1;
  return row * kKeypadColumns + column;
}

KeyboardAction keyboardAction(const KeyInput& input, bool tapeEmpty) {
  const char c = input.character;
  if (input.ctrl) {
    switch (c) {
      case 'C':
      case 'c':
        return command(C::Copy);
      case 'V':
      case 'v':
        return command(C::Paste);
      case 'O':
      case 'o':
        return command(C::OpenFile);
      case 'S':
      case 's':
        return command(C::Save);
      case 'P':
      case 'p':
        return tapeEmpty ? KeyboardAction{} : command(C::Print);
      case 'Z':
      case 'z':
        return tapeEmpty ? KeyboardAction{} : command(C::Undo);
      default:
        return {};
    }
  }
  // On most keyboards "+", "*" and "=" need Shift: the operators are taken
  // whatever Shift says, or the main keyboard could never type them.
  if (input.enter || c == '=') return command(C::Total);
  // "1E+5": the sign goes into the exponent being typed.
  if ((c == '+' || c == '-') && input.afterExponent) return {};
  switch (c) {
    case '+':
      return command(C::Plus);
    case '-':
      return command(C::Minus);
    case '*':
      return command(C::Times);
    case '/':
      return command(C::Divide);
    default:
      break;
  }
  if (!input.shift) {
    switch (c) {
      case '.':
        return {KeyboardAction::Keypad, 13};
      case 'E':
      case 'e':
        return {KeyboardAction::Keypad, 16};
      default:
        break;
    }
  }
  if (c >= '0' && c <= '9') return {KeyboardAction::Keypad, keyOfCharacter(c)};
  if (c == '(') return command(C::Open);
  if (c == ')') return command(C::Close);
  return {};
}

}  // namespace qz

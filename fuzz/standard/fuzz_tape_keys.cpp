// Random key sequences through the standard calculator: no crash, and the
// tape never goes beyond its capacity.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/scripted_messenger.h"
#include "standard/key_script.h"
#include "standard/tape_section.h"

namespace {

// Each byte picks a key; numbers are many, so that calculations grow.
const char* const kKeys[] = {
    "1",      "2",       "0",       "9.5",   "-3",  "1E200", "1E-200", "12E",   "+",     "-",
    "*",      "/",       "(",       ")",     "=",   "sqrt",  "sq",     "inv",   "pi",    "neg",
    "undo",   "refresh", "free",    "fixed", "sci", "dec0",  "dec9",   "sel=0", "sel=1", "sel=3",
    "sel=10", "update",  "endedit", "ms0",   "ma0", "mr0",   "mc0",    "clear", "5E300", "0.1",
};
constexpr std::size_t kKeyCount = sizeof kKeys / sizeof kKeys[0];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qz::ScriptedMessenger messenger;
  messenger.setDefaultAnswer(qz::MessageAnswer::No);
  qz::TapeEngine engine(messenger);
  std::array<double, 10> memories{};
  qz::StandardCalculator calc(engine, memories, messenger);
  // A first byte above 200 starts from a nearly full tape, to reach the limit.
  std::size_t start = 0;
  if (size > 0 && data[0] > 200) {
    for (int i = 0; i < 1990; ++i)
      engine.tape().append(i % 2 == 0 ? qz::EntryKind::Number : qz::EntryKind::Plus, 1.0, {0, 2});
    start = 1;
  }
  for (std::size_t i = start; i < size; ++i) {
    std::uint8_t b = data[i];
    if (b >= 250) {
      // The keypad, with its release rules.
      calc.keypadPressed(b % 24);
      calc.keypadReleased();
    } else {
      qz::runScriptKey(calc, kKeys[b % kKeyCount], messenger);
    }
    if (engine.tape().count() > qz::Tape::kCapacity) std::abort();
    if (engine.selected() >= engine.tape().count()) std::abort();
  }
  for (int i = 0; i < engine.tape().count(); ++i) (void)calc.line(i).plainUtf8();
  const auto written = qz::writeTapeSection(engine.tape());
  if (written) {
    qz::Tape again;
    if (qz::readTapeSection(*written, again) != engine.tape().count()) std::abort();
  }
  return 0;
}

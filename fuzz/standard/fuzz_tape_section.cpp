// Reads arbitrary text as the standard calculator's document section, then
// uses the tape: evaluation, drawing, keys and writing must hold up.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/scripted_messenger.h"
#include "standard/key_script.h"
#include "standard/tape_section.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string body(reinterpret_cast<const char*>(data), size);
  qz::ScriptedMessenger messenger;
  qz::TapeEngine engine(messenger);
  qz::readTapeSection(body, engine.tape());
  if (engine.tape().count() > qz::Tape::kCapacity) std::abort();

  std::array<double, 10> memories{};
  qz::StandardCalculator calc(engine, memories, messenger);
  for (int i = 0; i < engine.tape().count(); ++i) (void)calc.line(i).plainUtf8();
  // Every calculation of the loaded tape, then keys on top of it.
  for (int i = 0; i < engine.tape().count(); i += 7) engine.evaluate(i, true);
  for (const char* key : {"sqrt", "2", "+", ")", "=", "sq", "undo", "refresh"})
    qz::runScriptKey(calc, key, messenger);
  if (engine.tape().count() > qz::Tape::kCapacity) std::abort();

  // What is written reads back to the same text.
  const auto written = qz::writeTapeSection(engine.tape());
  if (written) {
    qz::Tape again;
    qz::readTapeSection(*written, again);
    if (qz::writeTapeSection(again) != written) std::abort();
  }
  return 0;
}

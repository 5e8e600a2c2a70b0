#include "standard/tape_section.h"

#include <algorithm>

#include "document/section_text.h"

namespace qz {

std::optional<std::string> writeTapeSection(const Tape& tape) {
  if (tape.empty()) return std::nullopt;
  SectionWriter writer;
  writer.line().integer(tape.count());
  for (int i = 0; i < tape.count(); ++i) {
    const TapeEntry& e = tape[i];
    writer.line()
        .integer(static_cast<int>(e.kind))
        .integer(e.level)
        .real(e.value)
        .integer(e.absorbed ? 1 : 0)
        .integer(e.error ? 1 : 0)
        .integer(e.display.mode)
        .integer(e.display.decimals);
  }
  return writer.finish();
}

int readTapeSection(std::string_view body, Tape& tape) {
  tape.clear();
  SectionReader reader(body);
  const int count = std::clamp(reader.nextFields().integer(0), 0, Tape::kCapacity);
  for (int n = 0; n < count && !reader.atEnd(); ++n) {
    SectionLine line = reader.nextFields();
    const int kind = line.integer(0);
    if (!isKnownKind(kind) || kind == static_cast<int>(EntryKind::Empty)) continue;
    TapeEntry e;
    e.kind = static_cast<EntryKind>(kind);
    e.level = 0;
    e.value = line.real(2);
    e.absorbed = line.flag(3);
    e.error = line.flag(4);
    const int mode = line.integer(5);
    e.display.mode = mode >= 0 && mode <= 4 ? mode : 0;
    e.display.decimals = std::clamp(line.integer(6), 0, 9);
    tape.appendRecord(e);
  }
  tape.recomputeLevels();
  return tape.count();
}

}  // namespace qz

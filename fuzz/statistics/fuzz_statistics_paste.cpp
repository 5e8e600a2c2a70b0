// Pasted clipboard text of any shape through the statistics grid, then the
// computation and the results list: never a crash, never a value outside
// ±1E+300 in the table, never an infinity or a NaN on screen.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/scripted_messenger.h"
#include "statistics/paste_parser.h"
#include "statistics/results_list.h"
#include "statistics/stat_engine.h"
#include "statistics/stat_grid.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

void checkTable(const qz::StatTable& table) {
  check(table.count() >= 0 && table.count() <= qz::StatTable::kCapacity);
  for (int i = 1; i <= qz::StatTable::kCapacity; ++i) {
    const qz::StatRow& r = table.row(i);
    check(std::isfinite(r.x) && std::isfinite(r.second));
    check(std::fabs(r.x) <= 1e300 && std::fabs(r.second) <= 1e300);
    if (i > table.count()) check(r.x == 0 && r.second == 0);
  }
}

void checkResults(const qz::StatEngine& engine, qz::StatMode mode) {
  const qz::StatResults& r = engine.results();
  for (double v : {r.sumX, r.sumX2, r.sumY, r.sumY2, r.sumXY, r.meanX, r.meanY, r.sigmaX, r.sigmaY, r.sX,
                   r.sY, r.varX, r.varY, r.covXY, r.a, r.b, r.r2})
    check(std::isfinite(v));
  for (const std::string& line : qz::buildResultsList(r, mode)) {
    check(line.find("INF") == std::string::npos && line.find("NAN") == std::string::npos);
    check(line.size() < 255);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // Two bytes of set-up: the mode, rows already there, a selection, our own cells.
  const auto mode = static_cast<qz::StatMode>(data[0] % 3);
  const int rowsBefore = (data[0] / 3) % 8 * 140;  // 0 .. 980
  const int selectionKind = data[1] % 4;
  const bool ours = (data[1] & 0x10) != 0;
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

  qz::StatTable table;
  for (int i = 1; i <= rowsBefore; ++i) table.append({i * 0.5, static_cast<double>(i % 7 + 1)});
  qz::ScriptedMessenger messenger;
  messenger.setBeepEnabled(false);
  messenger.setDefaultAnswer((data[1] & 0x20) ? qz::MessageAnswer::Yes : qz::MessageAnswer::No);
  qz::StatGrid grid(table, messenger, mode);
  switch (selectionKind) {
    case 1:
      grid.selectAll();
      break;
    case 2:
      grid.selectRows(1, 3, 2);
      break;
    case 3:
      grid.selectColumn(1);
      break;
    default:
      break;
  }

  // The parser alone, both ways round.
  qz::PasteBlock block = qz::parsePasteText(text);
  if (block.error == qz::kPasteOk) {
    check(block.lines >= 1 && block.columns >= 1);
    check(block.values.size() ==
          static_cast<std::size_t>(block.lines) * static_cast<std::size_t>(block.columns));
    for (double v : block.values) check(std::isfinite(v) && std::fabs(v) <= 1e300);
    qz::PastePlan plan = qz::planPaste(block, grid.selection(), mode, table.count(), ours);
    if (plan.error == qz::kPasteOk) {
      for (auto orientation : {qz::PasteOrientation::RowWise, qz::PasteOrientation::ColumnWise}) {
        qz::StatTable copy = table;
        qz::applyPaste(copy, block, plan, orientation, mode);
        checkTable(copy);
      }
    }
  }

  // The grid's paste, then the computation.
  const qz::StatTable before = table;
  qz::PasteResult result = grid.paste(text, ours, false);
  checkTable(table);
  if (result != qz::PasteResult::Pasted) check(table == before);
  qz::StatEngine engine;
  engine.clearResults(mode);
  if (engine.computeStatistics(table, mode, &messenger)) checkResults(engine, mode);
  if (grid.undo()) check(table == before);
  return 0;
}

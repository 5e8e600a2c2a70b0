#include "statistics/paste_parser.h"

#include <algorithm>
#include <cmath>

#include "numbers/number_check.h"

namespace qz {

namespace {

constexpr int kMaxPastedCells = 2000;

bool isControl(char c) { return static_cast<unsigned char>(c) < 32; }

bool isBlankCell(const std::string& cell) {
  return std::all_of(cell.begin(), cell.end(), [](char c) { return c == ' '; });
}

}  // namespace

int pasteCellCount(std::string_view text) {
  int cells = 1;
  for (char c : text)
    if (c == '\n' || c == '\t') ++cells;
  if (text.size() >= 2 && text.substr(text.size() - 2) == "\r\n") --cells;
  return cells;
}

PasteBlock parsePasteText(std::string_view text) {
  PasteBlock block;
  std::string s(text);
  std::replace(s.begin(), s.end(), ',', '.');
  while (!s.empty() && isControl(s.back())) s.pop_back();
  if (s.empty()) {
    block.error = kPasteEmpty;
    return block;
  }

  // Split into lines of cells; CR LF and a lone CR end a line like LF does.
  std::vector<std::vector<std::string>> lines(1, std::vector<std::string>(1));
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
    if (c == '\n' || c == '\r') {
      lines.emplace_back(1);
    } else if (c == '\t') {
      lines.back().emplace_back();
    } else if (!isControl(c)) {
      lines.back().back() += c;
    }
  }

  block.lines = static_cast<int>(lines.size());
  block.columns = static_cast<int>(lines.front().size());
  for (const auto& line : lines) {
    for (const auto& cell : line) {
      if (isBlankCell(cell)) {
        block.error = kPasteEmptyCell;
        return block;
      }
    }
  }
  for (const auto& line : lines) {
    if (static_cast<int>(line.size()) != block.columns) {
      block.error = kPasteRagged;
      return block;
    }
  }

  block.values.reserve(static_cast<std::size_t>(block.lines) * static_cast<std::size_t>(block.columns));
  for (const auto& line : lines) {
    for (std::string cell : line) {
      double value = ExtractNumber(cell);
      bool numeric = !cell.empty();
      if (numeric && std::fabs(value) > 1e300 && !block.outOfRange) block.outOfRange = value;
      if (numeric) ClampReal(value);
      block.values.push_back(numeric ? value : 0.0);
      block.numeric.push_back(numeric);
      if (numeric) ++block.numericCells;
    }
  }
  return block;
}

PastePlan planPaste(const PasteBlock& block, const GridSelection& selection, StatMode mode, int count,
                    bool fromOurGrid) {
  PastePlan plan;
  if (block.error != kPasteOk) {
    plan.error = block.error;
    return plan;
  }
  const int columns = valueColumns(mode);
  const bool twoByTwo = block.lines == 2 && block.columns == 2;
  const PasteOrientation squareAnswer = fromOurGrid ? PasteOrientation::RowWise : PasteOrientation::Ask;

  if (!selection.isNone() && selection.cells() >= 2) {
    plan.append = false;
    plan.firstRow = selection.firstRow;
    plan.firstColumn = selection.firstColumn;
    const int rows = selection.rowCount(), cols = selection.columnCount();
    if (block.lines == rows && block.columns == cols) {
      plan.orientation = twoByTwo ? squareAnswer : PasteOrientation::RowWise;
    } else if (block.lines == cols && block.columns == rows) {
      plan.orientation = PasteOrientation::ColumnWise;
    } else {
      plan.error = kPasteShapeMismatch;
      return plan;
    }
    if (!block.allNumeric()) plan.error = kPasteNotNumeric;
    return plan;
  }

  plan.append = true;
  plan.firstRow = count + 1;
  plan.firstColumn = 0;
  if (columns == 2) {
    if (block.columns != 2 && block.lines != 2) {
      plan.error = kPasteNeedTwoLines;
      return plan;
    }
  } else if (block.columns != 1 && block.lines != 1) {
    plan.error = kPasteNeedOneLine;
    return plan;
  }
  if (twoByTwo && columns == 2)
    plan.orientation = squareAnswer;
  else if (block.lines == 1 || block.columns < block.lines)
    plan.orientation = PasteOrientation::RowWise;
  else
    plan.orientation = PasteOrientation::ColumnWise;

  // Table rows the block needs, either way round.
  const int cells = block.lines * block.columns;
  const int rowWiseRows = (cells + columns - 1) / columns;
  const int neededRows = plan.orientation == PasteOrientation::ColumnWise ? block.columns
                         : plan.orientation == PasteOrientation::RowWise  ? rowWiseRows
                                                                          : 2;
  if (block.numericCells > kMaxPastedCells || cells > kMaxPastedCells ||
      neededRows > StatTable::kCapacity - count) {
    plan.error = kPasteTooMany;
    return plan;
  }
  // Letters among the numbers would arrive as zeros: refused as a fill is.
  if (!block.allNumeric()) plan.error = kPasteNotNumeric;
  return plan;
}

int applyPaste(StatTable& table, const PasteBlock& block, const PastePlan& plan, PasteOrientation orientation,
               StatMode mode) {
  const int columns = valueColumns(mode);
  int highest = 0;
  auto put = [&](int row, int column, double value) {
    if (row < 1 || row > StatTable::kCapacity || column < 0 || column > 1) return;
    table.setValue(row, column, value);
    highest = std::max(highest, row);
  };
  if (orientation == PasteOrientation::ColumnWise) {
    for (int line = 0; line < block.lines; ++line)
      for (int cell = 0; cell < block.columns; ++cell)
        put(plan.firstRow + cell, plan.firstColumn + line, block.at(line, cell));
  } else {
    // Across the target's columns: the selection's in a fill, every value column in an append.
    const int across = plan.append ? columns : block.columns;
    int k = 0;
    for (int line = 0; line < block.lines; ++line)
      for (int cell = 0; cell < block.columns; ++cell, ++k)
        put(plan.firstRow + k / across, plan.firstColumn + k % across, block.at(line, cell));
  }
  if (highest > table.count()) table.setCount(highest);
  return highest;
}

}  // namespace qz

// Clipboard text into the statistics grid: the block of cells, its checks and
// where it goes. Everything is checked before anything is written.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "statistics/stat_table.h"

namespace qz {

/// A rectangle of grid cells: value columns 0..1, rows from 1. None is all -1.
struct GridSelection {
  int firstColumn = -1, lastColumn = -1, firstRow = -1, lastRow = -1;

  bool isNone() const { return firstRow < 0; }
  int rowCount() const { return isNone() ? 0 : lastRow - firstRow + 1; }
  int columnCount() const { return isNone() ? 0 : lastColumn - firstColumn + 1; }
  int cells() const { return rowCount() * columnCount(); }
  bool contains(int row, int column) const {
    return !isNone() && row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
  }
  friend bool operator==(const GridSelection&, const GridSelection&) = default;
};

/// Texts of the paste failures (each shown inside string 29 "Opération impossible :...").
enum PasteMessage : int {
  kPasteOk = 0,
  kPasteEmpty = 85,          ///< "Le presse-papiers est vide"
  kPasteRagged = 87,         ///< "Disposition anormale des cellules copiées"
  kPasteTooMany = 88,        ///< "Le nombre total de cellules copiées dépasse..."
  kPasteEmptyCell = 89,      ///< "Une ou plusieurs des cellules copiées sont vides"
  kPasteNotNumeric = 90,     ///< "... comportent des valeurs non numériques"
  kPasteShapeMismatch = 95,  ///< "Les zones sélectionnées ne correspondent pas"
  kPasteNeedTwoLines = 96,   ///< "... deux lignes ou deux colonnes"
  kPasteNeedOneLine = 98,    ///< "... une seule ligne ou une seule colonne"
};
/// "Opération impossible :\n\n< @ > !"
inline constexpr int kPasteFailureText = 29;
/// "Le contenu du presse-papiers est inutilisable !"
inline constexpr int kClipboardUnusableText = 94;
/// "Les valeurs x,y sont placées verticalement ?"
inline constexpr int kPasteVerticalQuestion = 97;

/// The cells of a pasted text, line by line.
struct PasteBlock {
  int lines = 0;
  int columns = 0;             ///< cells per line
  std::vector<double> values;  ///< lines * columns, line by line; 0 where not numeric
  std::vector<bool> numeric;
  int numericCells = 0;
  /// The first cell beyond -1E+300..1E+300; it is refused as a typed value
  /// is, rather than pasted as the limit.
  std::optional<double> outOfRange;
  PasteMessage error = kPasteOk;  ///< 85, 87 or 89 when the text cannot make a block

  double at(int line, int cell) const { return values[static_cast<std::size_t>(line * columns + cell)]; }
  bool allNumeric() const { return numericCells == lines * columns; }
};

/// Longest text a paste reads: far above the 2000 cells a paste may hold
/// (a cell of twenty digits and separators makes 44 KB), so a huge clipboard
/// is refused before it is parsed rather than held in memory several times.
inline constexpr std::size_t kMaxPastedBytes = 1u << 20;

/// The cells a text counts before it is parsed: 1 + its line feeds and tabs,
/// less one when it ends with CR LF. One cell may go into the open editor.
int pasteCellCount(std::string_view text);

/// Parses a text: "," becomes ".", trailing control characters go, lines
/// end at a line feed (or a lone carriage return, as old Mac text has them),
/// cells end at a tab, other control characters inside a cell are dropped,
/// and each cell is read as a number with digit groups ("1 234,5") joined.
/// Magnitudes beyond 1E+300 are limited to it.
PasteBlock parsePasteText(std::string_view text);

enum class PasteOrientation {
  RowWise,     ///< the cells, line by line, go across the value columns, then to the next row
  ColumnWise,  ///< each line fills one column downwards
  Ask,         ///< a 2 x 2 block: string 97, Yes gives RowWise
};

/// Where a checked block goes.
struct PastePlan {
  PasteMessage error = kPasteOk;
  bool append = true;  ///< after the last row; otherwise into the selection
  PasteOrientation orientation = PasteOrientation::RowWise;
  int firstRow = 0, firstColumn = 0;
};

/// Checks a parsed block against the grid. A selection of two cells or more
/// is filled (same or transposed shape, numbers only); otherwise the block is
/// appended (one or two value columns' shapes, room up to row 1000, numbers
/// only). `fromOurGrid` answers the 2 x 2 question: our own copies are row-wise.
PastePlan planPaste(const PasteBlock& block, const GridSelection& selection, StatMode mode, int count,
                    bool fromOurGrid);

/// Writes a checked block; `orientation` is RowWise or ColumnWise. Returns the
/// highest row written; the table's count grows to it.
int applyPaste(StatTable& table, const PasteBlock& block, const PastePlan& plan, PasteOrientation orientation,
               StatMode mode);

}  // namespace qz

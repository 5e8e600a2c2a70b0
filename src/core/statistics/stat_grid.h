// The statistics data grid without its drawing: rows shown, scrolling, the
// cell editor and its rules, selection, deletion, one-level undo, copy and paste.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "platform/messenger.h"
#include "statistics/paste_parser.h"
#include "statistics/stat_table.h"

namespace qz {

/// Keys the cell editor handles itself.
enum class EditorKey {
  TabOrEnter,  ///< next cell (column 1, then column 0 of the next row)
  ShiftTab,    ///< previous cell
  Up,
  Down,
  CtrlHome,  ///< row 1, column 0, scrolled to the top
  CtrlEnd,   ///< the new row (or row 1000), column 0
};

/// What leaving a cell did with the editor's text.
enum class CommitResult {
  Accepted,      ///< stored (or an unfilled cell of the new row left empty)
  Refused,       ///< a message was shown and the previous value put back; the editor stays
  TableCleared,  ///< the only value of a one-column table was emptied: the whole table went
};

/// What a paste did.
enum class PasteResult {
  Pasted,      ///< cells written; undo available
  IntoEditor,  ///< a single number for the open editor: the view pastes it there as text
  Refused,     ///< a message was shown, nothing written
};

/// Texts of the grid's messages.
enum GridText : int {
  kGridValueMaximum = 6,     ///< "Valeur maximale = %g !"
  kGridValueMinimum = 7,     ///< "Valeur minimale = %g !"
  kGridValueIncorrect = 10,  ///< "Valeur incorrecte !"
  kGridCopyImpossible = 25,  ///< "Copier impossible :..."
  kGridDeleteConfirm = 28,   ///< "Toutes les valeurs sélectionnées\nvont être supprimées..."
  kGridDeleteImpossible = 236,
  kGridValueRequired = 250,  ///< "Introduire une valeur dans ce champ !"
};

class StatGrid {
 public:
  static constexpr int kVisibleRows = 10;
  static constexpr int kEditorMaxLength = 25;

  StatGrid(StatTable& table, Messenger& messenger, StatMode mode = StatMode::Values);

  /// Called after every change of the table or of the editor's text (the
  /// results are then no longer valid).
  void setChangeHandler(std::function<void()> handler) { m_onChange = std::move(handler); }

  /// One or two value columns; resets selection, editor, scrolling and undo.
  void setMode(StatMode mode);
  StatMode mode() const { return m_mode; }
  int valueColumns() const { return qz::valueColumns(m_mode); }
  /// The table changed wholesale (cleared or read): selection, editor, scroll and undo reset.
  void reset();

  // Rows and texts shown.
  /// Rows shown: count + 1 (the new row), at most 1000.
  int rows() const;
  /// The row being filled (count + 1), or 0 when the table is full.
  int newRow() const;
  bool newRowFilled(int column) const { return m_newFilled[static_cast<std::size_t>(column & 1)]; }
  std::string rowNumberText(int row) const;  ///< "%04d"
  std::string countText() const;             ///< count as "%04d"
  /// "%.9G" of x or y, "%d" of a count; "" for an unfilled cell of the new row.
  std::string cellText(int row, int column) const;

  // Scrolling: the first visible row is scrollPosition() + 1.
  int scrollPosition() const { return m_scroll; }
  int maxScroll() const;
  /// Scrolls (clamped) and closes the editor; lines ±1 and pages ±9 are deltas.
  void scrollTo(int position);
  void scrollBy(int delta) { scrollTo(m_scroll + delta); }

  // Selection.
  const GridSelection& selection() const { return m_selection; }
  void selectAll();
  void selectColumn(int column);
  void selectRow(int row);
  void clearSelection() { m_selection = {}; }
  /// The "Sélectionner" dialog: rows from..to (swapped when needed), option 0
  /// column 0, 1 column 1, 2 both.
  void selectRows(int from, int to, int option);
  /// What the "Sélectionner" dialog opens with: the selection's rows and
  /// option (0 column 0, 1 column 1, 2 both), else rows 1 to count and option 0.
  struct RowRangeChoice {
    int from = 1, to = 0, option = 0;
    friend bool operator==(const RowRangeChoice&, const RowRangeChoice&) = default;
  };
  RowRangeChoice selectionDialogStart() const;
  /// Mouse: press on a cell, drag over others, release. A press and release on
  /// one cell opens the editor there (returns true); a drag leaves a normalised
  /// selection without the incomplete new row.
  void pressCell(int row, int column);
  void dragTo(int row, int column);
  bool release();
  bool dragging() const { return m_dragging; }
  /// While dragging beyond the grid (every 50 ms): one row up (-1) or down (+1).
  void autoScroll(int direction);

  // Cell editor.
  bool editorOpen() const { return m_editorOpen; }
  int currentRow() const { return m_editorOpen ? m_row : -1; }
  int currentColumn() const { return m_editorOpen ? m_column : -1; }
  const std::string& editorText() const { return m_editorText; }
  /// Opens the editor on a cell with the cell's text (the view selects it all).
  void openEditor(int row, int column);
  /// A keystroke changed the text: false (with a beep) when the text is not
  /// the beginning of a number of the column's kind; the view then undoes it.
  /// The text is taken through TypedNumberText ("e" and "," typed become "E"
  /// and "."): the view shows editorText() afterwards.
  bool setEditorText(const std::string& typed);
  /// Leaving the cell: checks and stores the text. `quiet` (focus going to the
  /// Annuler button) puts the previous value back without a message.
  CommitResult commitEditor(bool quiet = false);
  /// Commits, then hides the editor.
  void closeEditor(bool quiet = false);
  /// Escape in the editor: hides it without storing what was typed, so the
  /// cell keeps its value (and the window is not cancelled with it).
  void cancelEditor();
  /// Commits, then moves the editor; a refused move beeps. False when the editor stayed.
  bool navigate(EditorKey key);

  // Deletion and undo.
  /// The selection covers whole rows of data.
  bool selectionCoversRows() const;
  /// Supprimer: refused while the editor has the focus; asks string 28.
  bool deleteSelection(bool editorFocused);
  bool undoAvailable() const { return m_undoAvailable; }
  bool undo();

  /// The selected rows as clipboard text (CR LF between lines, none after the
  /// last), "." replaced by `decimalSeparator`; nothing without a selection of data.
  std::optional<std::string> selectionText(char decimalSeparator) const;

  /// Coller. `clipboardText` is nothing when the clipboard holds no text;
  /// `fromOurGrid` when it carries our own cells' mark.
  PasteResult paste(const std::optional<std::string>& clipboardText, bool fromOurGrid, bool editorFocused);

 private:
  bool isCountColumn(int column) const { return m_mode == StatMode::Frequencies && column == 1; }
  std::string valueText(double value, int column) const;
  void ensureVisible(int row);
  void changed();
  void saveUndo();
  void normaliseSelection();

  StatTable& m_table;
  Messenger& m_messenger;
  StatMode m_mode;
  std::function<void()> m_onChange;

  int m_scroll = 0;
  GridSelection m_selection;
  bool m_dragging = false;
  int m_anchorRow = 0, m_anchorColumn = 0, m_dragRow = 0, m_dragColumn = 0;

  bool m_editorOpen = false;
  int m_row = 1, m_column = 0;
  std::string m_editorText;
  std::string m_openedText;  // the cell's text when the editor opened on it
  // The new row's values until both are there; the table holds complete rows only.
  std::array<double, 2> m_newValues{};
  std::array<bool, 2> m_newFilled{};

  StatTable m_undo;
  bool m_undoAvailable = false;
};

/// A row number typed in the "Sélectionner" dialog, when leaving its field:
/// not an integer beeps; below 1 shows "Valeur minimale = 1 !", above `count`
/// "Valeur maximale = <count> !". Nothing when refused (the previous text goes back).
std::optional<int> checkSelectionRowField(const std::string& text, int count, Messenger& messenger);

}  // namespace qz

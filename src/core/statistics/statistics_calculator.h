// The statistics calculator's window state without its widgets: mode, table,
// grid, computation, results list, line buttons, clipboard and memories.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/messenger.h"
#include "platform/settings_store.h"
#include "statistics/diagram_renderer.h"
#include "statistics/extended_results.h"
#include "statistics/stat_engine.h"
#include "statistics/stat_grid.h"

namespace qz {

/// Clipboard format that marks cells copied from our own grid, so that a
/// 2 x 2 block comes back row-wise without asking.
inline constexpr const char* kStatCellsMimeType = "application/x-keldoran-qz-statistics-cells";

/// The button under the grid that opens the trend dialog.
enum class LineButton {
  None,        ///< mode 0
  Henry,       ///< "Droite de &Henry", mode 1
  Regression,  ///< "&Régression linéaire", mode 2
};

/// What Copier produced.
struct CopyOutcome {
  enum class Kind {
    Nothing,       ///< a beep or a message; the clipboard stays as it was
    Text,          ///< put `text` on the clipboard
    EditorCopies,  ///< the focused editor copies its own selected text
  };
  Kind kind = Kind::Nothing;
  std::string text;
  bool ourCells = false;  ///< also offer the text under kStatCellsMimeType
};

/// Texts of the calculator's own messages.
enum StatisticsText : int {
  kStatModeChangeQuestion = 13,  ///< "Le changement de mode nécessite l'effacement..."
  kStatClearAllQuestion = 20,    ///< "Toutes les valeurs affichées vont être effacées !..."
  kStatMissingValue = 21,        ///< "Valeur manquante à la dernière ligne du tableau !"
};

/// Settings key (section "Statistic") of the fit chosen in the trend dialog.
inline constexpr const char* kStatFitKey = "Fit";

/// The diagram's points and line after a computation in `mode`: the Henry
/// preparation's points but the last in mode 1, the table's rows in mode 2.
/// With `extended`, the equation in a corner (and, for a fit other than the
/// straight line, its curve).
DiagramSeries makeDiagramSeries(const StatEngine& engine, const StatTable& table, StatMode mode,
                                const ExtendedResults* extended = nullptr);

/// The two fields under the results in mode 2.
enum class PredictionField {
  YForX,  ///< the user types x, the fitted curve gives ŷ
  XForY,  ///< the user types y, the inverse of the curve gives x̂
};

class StatisticsCalculator {
 public:
  StatisticsCalculator(SettingsStore& settings, Messenger& messenger);

  /// Opening the window: resets to the stored mode, reads the section body
  /// (when there is one), computes without messages and lists the results on success.
  void loadSection(const std::optional<std::string>& body);
  /// The section body to store, or nothing when the table holds no row.
  std::optional<std::string> sectionBody() const;

  StatMode mode() const { return m_mode; }
  /// A mode command. With rows in the table and another mode, asks string 13
  /// first; false when the user said No (or the mode is already current).
  bool chooseMode(StatMode mode);

  /// CALCULER. True when results are now valid.
  bool calculate();
  /// "Effacer tout": with rows, asks string 20; clears the table and reads the
  /// mode again from the settings.
  bool clearAll();

  const StatTable& table() const { return m_table; }
  StatGrid& grid() { return m_grid; }
  const StatGrid& grid() const { return m_grid; }
  const StatEngine& engine() const { return m_engine; }

  // Results list.
  bool resultsValid() const { return m_resultsValid; }
  /// The described markup lines (one-byte codes) while the results are valid, else none.
  const std::vector<std::string>& resultLines() const { return m_lines; }
  /// What the list shows: the described lines, then a blank line and the
  /// extended results (descriptive statistics, uncertainty, chosen fit).
  /// Highlighting and clicking address these lines.
  const std::vector<std::string>& shownLines() const { return m_shown; }
  /// The extended results of the last successful computation.
  const ExtendedResults& extended() const { return m_extended; }
  /// -1 when no line is highlighted.
  int highlightedLine() const { return m_highlighted; }
  /// A click on line `index` of the shown list (-1 outside any line):
  /// highlights a non-empty line while the results are valid, else nothing.
  void clickResultLine(int index);

  // The fit of the trend dialog (mode 2).
  FitKind fit() const { return m_fit; }
  /// Chooses the fit drawn, listed and reported; remembered in the settings.
  /// With valid results a fit the data cannot take is refused with its
  /// message ("CALCUL IMPOSSIBLE") and the previous fit stays: false.
  bool chooseFit(FitKind kind);

  /// The results the trend dialog shows beside the diagram (code page 1252,
  /// one per line): the chosen fit's coefficients with their standard errors
  /// and r², or why the data cannot take it; the normal law of the Henry line.
  std::string trendSummary() const;

  // Predictions (mode 2): ŷ for a typed x, x̂ for a typed y, by the chosen fit.
  /// The typed text through TypedNumberText; a text that is no number being
  /// typed (or longer than 25 characters) is refused with a beep: false.
  bool typePrediction(PredictionField field, const std::string& typed);
  const std::string& predictionText(PredictionField field) const;
  /// The result of a field: nothing without valid results in mode 2, a
  /// complete typed number and a curve that gives one.
  std::optional<double> predictionResult(PredictionField field) const;
  /// That result as the field shows it ("%.9G"), or "".
  std::string predictionResultText(PredictionField field) const;

  // Buttons, menus and toolbar.
  LineButton lineButton() const;
  bool lineButtonEnabled() const;
  bool canSelectRows() const { return m_table.count() > 0; }  ///< "Sélectionner"
  /// "&Désélectionner": rows in the table and a selection to drop.
  bool canDeselect() const { return m_table.count() > 0 && !m_grid.selection().isNone(); }
  bool canPrint() const { return m_table.count() > 0 && m_resultsValid; }
  bool canDelete() const { return m_grid.selectionCoversRows(); }
  bool canUndo() const { return m_grid.undoAvailable(); }
  /// Toolbar Delete: a selection of several cells, or in mode 0 one cell while the editor is hidden.
  bool toolbarDeleteEnabled() const;

  // Clipboard and memories.
  CopyOutcome copy(bool editorFocused, char decimalSeparator);
  PasteResult paste(const std::optional<std::string>& clipboardText, bool fromOurGrid, bool editorFocused) {
    return m_grid.paste(clipboardText, fromOurGrid, editorFocused);
  }
  /// "Copier dans" / "Ajouter dans" when the editor is not focused: the
  /// highlighted result's value (nothing without valid results and a highlighted line).
  std::optional<double> highlightedValue(char decimalSeparator) const;
  /// "Utiliser": the memory value into the focused editor (an integer in the
  /// count column); false when refused.
  bool useMemoryValue(double value);

  /// Points and line for the diagram; meaningful while lineButtonEnabled().
  DiagramSeries diagramSeries() const;

 private:
  void invalidate();
  void clearTable(StatMode mode);
  /// The list after a successful computation: described and extended lines.
  void listResults();
  std::span<const StatRow> rows() const;

  SettingsStore& m_settings;
  Messenger& m_messenger;
  StatMode m_mode;
  StatTable m_table;
  StatEngine m_engine;
  StatGrid m_grid;
  bool m_resultsValid = false;
  std::vector<std::string> m_lines;
  std::vector<std::string> m_shown;
  ExtendedResults m_extended;
  FitKind m_fit = FitKind::Linear;
  std::string m_prediction[2];
  int m_highlighted = -1;
};

}  // namespace qz

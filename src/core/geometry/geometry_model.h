// The geometric calculator's state for the whole run: the 53 figures' known
// data, the figure on screen with its variable table, the computation and the
// result the user picked off the picture. Free of widgets, so that the panel
// only shows it and forwards what the user does.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "geometry/catalogue_loader.h"
#include "geometry/geo_section.h"
#include "geometry/geo_solver.h"
#include "geometry/geo_variable.h"
#include "platform/messenger.h"

namespace qz {

/// What a click on a variable's label did.
enum class LabelClick {
  Nothing,       ///< not a clickable variable, or a result-only one not computed
  ResultShown,   ///< its name and value are now the shown result
  Incalculable,  ///< message 31 was shown
  RowAdded,      ///< it became a known datum in a new row (selected)
  RowSelected,   ///< it was a datum already: its row is now selected
  GridFull,      ///< the nine rows are taken: refused, with kGridFullText
};

/// The refusal of a tenth known datum (code page 1252).
inline constexpr const char* kGridFullText = "Neuf donn\xE9" "es au plus.";

class GeometryModel {
 public:
  /// `dataFolder` holds GEO_2D.SRC and GEO_3D.SRC; `messenger` shows the
  /// catalogue, entry and computation messages.
  GeometryModel(std::string dataFolder, Messenger& messenger);

  // --- Document -----------------------------------------------------------
  /// Resets every figure record (plane figure 0) and reads `body` when given.
  void readSection(const std::optional<std::string>& body);
  std::optional<std::string> sectionBody() const { return WriteGeoSection(m_doc); }
  /// Every figure's known data cleared (sub-figures too), the figure kept.
  void clearAll();

  // --- Figure choice --------------------------------------------------------
  /// Loads the current figure with its sub-figure and computes it. False
  /// (after the catalogue's message) when the figure cannot be loaded.
  bool load();
  /// 2D / 3D: the figure shown is remembered for the old dimension and the
  /// new dimension's remembered figure is loaded. True when it changed.
  bool chooseDimension(int dimension);
  /// Figure `listIndex` of the current dimension's list.
  bool chooseFigure(int listIndex);
  bool chooseSubFigure(int subFigure);
  /// "Efface&r": this figure's rows cleared (its sub-figure kept), then the
  /// figure loaded again, so its "O" variables become rows again.
  bool clearFigure();

  int dimension() const { return m_doc.dimension; }
  int figure() const { return m_doc.figure; }
  /// Index of the figure in its dimension's list.
  int listIndex() const { return m_doc.figure - (m_doc.dimension ? kPlaneFigureCount : 0); }
  int subFigure() const { return data().subFigure; }
  int rememberedFigure(int dimension) const { return m_lastFigure[static_cast<size_t>(dimension != 0)]; }
  /// Names of the figures of the current dimension (code page 1252); none
  /// when its catalogue could not be read.
  std::vector<std::string> figureNames() const;
  const FigureLayout& layout() const { return m_loader.layout(); }
  bool loaded() const { return m_loaded; }

  FigureData& data() { return m_doc.figures[static_cast<size_t>(m_doc.figure)]; }
  const FigureData& data() const { return m_doc.figures[static_cast<size_t>(m_doc.figure)]; }
  const GeoDocumentState& document() const { return m_doc; }
  VariableTable& table() { return m_table; }

  // --- Computing ------------------------------------------------------------
  /// Computes the figure from its rows; `explicitRequest` for "CA&LCULER"
  /// (the polygon solvers then warn about two solutions).
  void compute(bool explicitRequest = false);
  bool approximate() const { return m_solver.approximate(); }
  /// More values known after the computation than were given (the report
  /// has something to show).
  bool hasResults() const;

  // --- Known-data rows ----------------------------------------------------
  int rows() const { return data().rows; }
  /// Name of row `r`'s variable ("" for an empty row).
  std::string rowName(int r) const;
  double rowValue(int r) const { return data().row[static_cast<size_t>(r)].value; }
  /// The editor's text for a row: its value printed with "%G".
  std::string rowText(int r) const;
  /// Whether a keystroke's result is acceptable text for row `r`
  /// (TypedNumberText, then CheckNumberText with the row's kind and sign
  /// rule); when it is, `text` becomes the text the editor shows.
  bool acceptsTyping(int r, std::string& text) const;
  /// Takes the editor's text into row `r`. On success the value is stored
  /// and the figure recomputed, and 0 is returned; otherwise the message
  /// code (250, 10, 33, 7 or 6) with the value the message shows in
  /// `messageValue`, and the row unchanged.
  int commitRow(int r, const std::string& text, double& messageValue);
  int selectedRow() const { return m_selectedRow; }
  void selectRow(int r) { m_selectedRow = r >= 0 && r < rows() ? r : -1; }
  /// Row `r` is no longer a datum: the rows below move up, the figure is
  /// recomputed, and the selection stays on the row that takes its place
  /// (the new last row when it was the last). False when there is no row `r`.
  bool removeRow(int r);
  /// The row holding variable `index`, or -1.
  int rowOfVariable(int index) const;

  // --- The picture --------------------------------------------------------
  /// The variable whose label lies under `p` in the last drawing, or -1.
  int variableAt(Point p) const;
  LabelClick clickVariable(int index);
  /// "Prendre comme donnée": variable `index` becomes a datum whatever its
  /// state, starting from its computed value when it has one (the figure as
  /// shown), else from the catalogue's starting value. A datum already given
  /// only has its row selected; a result-only variable ("R") cannot be one.
  LabelClick takeAsDatum(int index);
  /// Whether takeAsDatum can act on `index` (for the menu item's state).
  bool canTakeAsDatum(int index) const;
  /// True when a click on `index` would show a value (given or examined).
  bool showsValue(int index) const;

  // --- The shown result ---------------------------------------------------
  bool resultShown() const { return m_resultShown; }
  const std::string& resultName() const { return m_resultName; }
  double resultValue() const { return m_resultValue; }
  /// "name=value" ("%s=%G"), or "?" when nothing is shown.
  std::string resultText() const;
  bool resultSelected() const { return m_resultSelected; }
  void setResultSelected(bool on) { m_resultSelected = on; }

 private:
  void forgetResult();
  /// Appends a row for `index` from its current value, recomputes and
  /// selects the row; the refusal message when the grid is full.
  LabelClick appendRow(int index);

  std::string m_dataFolder;
  Messenger& m_messenger;
  GeoDocumentState m_doc;
  std::array<int, 2> m_lastFigure{20, 27};
  CatalogueLoader m_loader;
  VariableTable m_table;
  GeoSolver m_solver;
  bool m_loaded = false;
  bool m_changed = false;  ///< the rows changed since the last computation
  int m_selectedRow = -1;
  bool m_resultShown = false;
  bool m_resultSelected = false;
  std::string m_resultName;
  double m_resultValue = 0.0;
};

}  // namespace qz

// The geometric calculator's content in the calculator window: the choice of
// figure, the known-data grid, CALCULER and Effacer, the picture and the
// value picked off it. The state lives in GeometryModel, which outlives the
// window; the panel shows it and forwards what the user does.
#pragma once

#include <memory>
#include <string>

#include "app/calculator_panel.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace qz {

class CalcApp;
class FigureView;
class GeometryModel;
class KnownDataView;
class ResultView;

/// The folder the figure catalogues are read from (the shipped data files).
std::string geometryDataFolder();

/// The window's own buttons.
enum GeometryCommand : int {
  kCmdGeoCalculate = 1004,  ///< "CA&LCULER"
  kCmdGeoClear = 1022,      ///< "Efface&r"
};

class GeometryPanel : public CalculatorPanel {
  Q_OBJECT
 public:
  /// Uses `model`, which the caller keeps for the whole run.
  GeometryPanel(CalcApp& app, GeometryModel& model, QWidget* parent = nullptr);
  /// With a model of its own (tests, or no run-wide models).
  explicit GeometryPanel(CalcApp& app, QWidget* parent = nullptr);
  ~GeometryPanel() override;

  void loadSection(const std::optional<std::string>& body) override;
  std::optional<std::string> sectionBody() const override;
  bool commitFields() override;
  void clearAll() override;
  bool memoryValue(std::string& valueText) const override;
  bool useMemory(const std::string& valueText) override;
  bool command(int id) override;
  bool commandEnabled(int id) const override;
  std::unique_ptr<ReportSource> reportSource() override;

  GeometryModel& model() { return m_model; }
  QRadioButton* planeButton() const { return m_plane; }
  QRadioButton* solidButton() const { return m_solid; }
  QComboBox* figureList() const { return m_figureList; }
  QComboBox* subFigureList() const { return m_subList; }
  FigureView* figureView() const { return m_picture; }
  KnownDataView* knownData() const { return m_grid; }
  ResultView* resultView() const { return m_result; }
  QLabel* approximateLabel() const { return m_approximate; }
  QLabel* anglesLabel() const { return m_angles; }
  QLabel* legend() const { return m_legend; }
  QLabel* legendWithoutPerimeter() const { return m_legendNoPerimeter; }
  QPushButton* calculateButton() const { return m_calculate; }
  QPushButton* clearButton() const { return m_clear; }

  /// Clicks on a variable of the picture, as a mouse click does.
  void clickVariable(int index);
  /// "Prendre comme donnée" on a variable of the picture.
  void takeAsDatum(int index);
  /// Known-data row `row` removed (Suppr or "Retirer cette donnée").
  void removeRow(int row);

 private:
  GeometryPanel(CalcApp& app, GeometryModel* model, std::unique_ptr<GeometryModel> own, QWidget* parent);
  void buildLayout();
  /// Shows the model: dimension, lists, grid, result, notes, picture.
  void showState();
  void fillFigureList();
  void fillSubFigureList();
  void afterLoad(bool loaded);
  /// Takes the editor's text into its row; false when refused (message shown).
  bool commitEditor();
  /// Commits and hides the editor.
  void closeEditor();
  void editorTyped(const QString& text);
  void editorLeft();
  void rowClicked(int row);
  void resultClicked();
  void chooseDimension(int dimension);
  void chooseFigure(int index);
  void chooseSubFigure(int index);
  void calculate();
  void clearFigure();
  void copy();
  void paste();

  CalcApp& m_app;
  std::unique_ptr<GeometryModel> m_ownModel;
  GeometryModel& m_model;
  bool m_busy = false;        ///< the panel itself is changing controls
  bool m_committing = false;  ///< a commit (and its message) is running
  QString m_lastGoodText;     ///< the editor's text before the keystroke

  QRadioButton* m_plane = nullptr;
  QRadioButton* m_solid = nullptr;
  QComboBox* m_figureList = nullptr;
  QComboBox* m_subList = nullptr;
  FigureView* m_picture = nullptr;
  KnownDataView* m_grid = nullptr;
  ResultView* m_result = nullptr;
  QLabel* m_approximate = nullptr;
  QLabel* m_angles = nullptr;
  QLabel* m_legend = nullptr;
  QLabel* m_legendNoPerimeter = nullptr;
  QPushButton* m_calculate = nullptr;
  QPushButton* m_clear = nullptr;
};

}  // namespace qz

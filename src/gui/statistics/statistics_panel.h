// The statistics calculator's content in the calculator window: the data
// grid, the results list, their buttons, the "Mo&de" menu and the "&Edition"
// items. The rules live in StatisticsCalculator; the panel shows its state and
// forwards what the user does.
#pragma once

#include <QPointer>
#include <memory>

#include "app/calculator_panel.h"

class QAction;
class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace qz {

class CalcApp;
class StatGridView;
class StatisticsCalculator;
class StatResultsView;
class TrendDialog;

/// The window's own commands: its buttons, the "Mo&de" menu and "&Supprimer".
enum StatisticsCommand : int {
  kCmdStatCalculate = 1010,         ///< "CA&LCULER"
  kCmdStatClearAll = 1002,          ///< "Effacer &tout"
  kCmdStatHenry = 1011,             ///< "Droite de &Henry"
  kCmdStatRegression = 1013,        ///< "&Régression linéaire"
  kCmdStatSelect = 1339,            ///< "Sélectionner"
  kCmdStatDeselect = 1340,          ///< "Dé&sélectionner"
  kCmdStatDelete = 32808,           ///< "&Supprimer"
  kCmdStatModeValues = 32824,       ///< "Valeurs &X"
  kCmdStatModeFrequencies = 32825,  ///< "Valeurs X avec N &répétitions"
  kCmdStatModePairs = 32826,        ///< "Valeurs X et valeurs &Y (corrélation)"
};

class StatisticsPanel : public CalculatorPanel {
  Q_OBJECT
 public:
  explicit StatisticsPanel(CalcApp& app, QWidget* parent = nullptr);
  ~StatisticsPanel() override;

  void loadSection(const std::optional<std::string>& body) override;
  std::optional<std::string> sectionBody() const override;
  bool commitFields() override;
  void clearAll() override;
  bool memoryValue(std::string& valueText) const override;
  bool useMemory(const std::string& valueText) override;
  void fillEditMenu(QMenu* edit) override;
  void addOwnMenus(QMenuBar* bar, QMenu* before) override;
  bool command(int id) override;
  bool commandEnabled(int id) const override;
  std::unique_ptr<ReportSource> reportSource() override;
  void tick() override;
  void aboutToShowMenus() override;

  StatisticsCalculator& calculator() { return *m_calculator; }
  StatGridView* gridView() const { return m_grid; }
  StatResultsView* resultsView() const { return m_results; }
  QPushButton* calculateButton() const { return m_calculateButton; }
  QPushButton* lineButton() const { return m_lineButton; }
  QPushButton* selectButton() const { return m_selectButton; }
  QPushButton* deselectButton() const { return m_deselectButton; }
  QPushButton* clearAllButton() const { return m_clearAllButton; }
  QLabel* countLabel() const { return m_count; }
  /// The prediction fields under the results (mode 2): x typed for ŷ, y typed for x̂.
  QLineEdit* predictXEdit() const { return m_predictEdit[0]; }
  QLineEdit* predictYEdit() const { return m_predictEdit[1]; }
  QLabel* predictedYLabel() const { return m_predictResult[0]; }
  QLabel* predictedXLabel() const { return m_predictResult[1]; }
  /// The trend dialog while it is open (for tests), else null.
  TrendDialog* trendDialog() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void buildLayout();
  /// Shows the model's state: grid, count, results, buttons, menu marks.
  void showState();
  void refreshEnabling();
  void chooseMode(int mode);
  void copy();
  void paste();
  void selectRows();
  void openTrendDialog();
  void buildPredictions();
  void typePrediction(int field);
  void showPredictions();
  /// The prediction field with the focus (0 ŷ, 1 x̂), or -1.
  int focusedPrediction() const;

  CalcApp& m_app;
  std::unique_ptr<StatisticsCalculator> m_calculator;

  StatGridView* m_grid = nullptr;
  StatResultsView* m_results = nullptr;
  QLabel* m_count = nullptr;
  QPushButton* m_selectButton = nullptr;
  QPushButton* m_deselectButton = nullptr;
  QPushButton* m_clearAllButton = nullptr;
  QPushButton* m_lineButton = nullptr;
  QPushButton* m_calculateButton = nullptr;
  QWidget* m_predictions = nullptr;
  QLineEdit* m_predictEdit[2] = {nullptr, nullptr};
  QLabel* m_predictResult[2] = {nullptr, nullptr};
  QPointer<QAction> m_undoAction;
  QPointer<QAction> m_deleteAction;
  QPointer<QAction> m_modeActions[3];
  QPointer<QDialog> m_trend;
};

}  // namespace qz

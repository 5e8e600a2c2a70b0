// The scientific calculator's content in the calculator window: expression,
// angle unit, constants, x and y, the results list and their buttons, and the
// "&Edition" menu. The rules live in ScientificCalculator; the panel shows its
// texts and forwards what the user does.
#pragma once

#include <QPointer>
#include <memory>

#include "app/calculator_panel.h"

class QAction;
class QPushButton;
class QRadioButton;

namespace qz {

// The calculator's headers stay out of this one: the moc of every panel is
// compiled in one unit, where engines' names must not meet.
class CalcApp;
class ScientificCalculator;
enum class ScientificField;
struct TextSelection;
struct FieldUpdate;
class ConstantsEdit;
class FieldLineEdit;
class ResultBox;
class ResultsListView;

/// The window's own commands: its buttons and its "&Edition" items.
enum ScientificCommand : int {
  kCmdCalculate = 1010,        ///< "Calculer &y"
  kCmdCheck = 1056,            ///< "Co&ntrôler"
  kCmdClearX = 1027,           ///< "Effacer &x"
  kCmdClearListButton = 1028,  ///< "Effacer toute la &liste"
  kCmdClearLastResult = 1029,  ///< "Efface&r dernier résultat"
  kCmdClearCalculator = 1002,  ///< "Effacer &tout"
  kCmdRadians = 1293,          ///< " radians"
  kCmdDegrees = 1294,          ///< " degrés"
  kCmdClearList = 32805,       ///< "&Effacer la liste"
  kCmdCopyList = 32807,        ///< "&Copier la liste x,y"
  kCmdRefresh = 32795,         ///< shows the stored texts again
};

class ScientificPanel : public CalculatorPanel {
  Q_OBJECT
 public:
  /// Works on `calculator`, which lives for the whole run (its rnd() generator
  /// is seeded once); the panel takes the document's state into it.
  ScientificPanel(CalcApp& app, ScientificCalculator& calculator, QWidget* parent = nullptr);
  /// With a calculator of its own.
  explicit ScientificPanel(CalcApp& app, QWidget* parent = nullptr);
  ~ScientificPanel() override;

  void loadSection(const std::optional<std::string>& body) override;
  std::optional<std::string> sectionBody() const override;
  void clearAll() override;
  bool memoryValue(std::string& valueText) const override;
  bool useMemory(const std::string& valueText) override;
  void fillEditMenu(QMenu* edit) override;
  bool command(int id) override;
  bool commandEnabled(int id) const override;
  std::unique_ptr<ReportSource> reportSource() override;
  void tick() override;
  void aboutToShowMenus() override;

  ScientificCalculator& calculator() { return *m_calculator; }
  /// The field that has the keyboard focus, as the calculator tells them apart.
  ScientificField focusedField() const { return m_focus; }

  FieldLineEdit* expressionField() const { return m_expression; }
  ConstantsEdit* constantsField() const { return m_constants; }
  FieldLineEdit* xField() const { return m_x; }
  QRadioButton* radiansButton() const { return m_radians; }
  QRadioButton* degreesButton() const { return m_degrees; }
  ResultBox* resultBox() const { return m_result; }
  ResultsListView* resultsView() const { return m_list; }
  QPushButton* calculateButton() const { return m_calculateButton; }
  QPushButton* checkButton() const { return m_checkButton; }
  QPushButton* clearXButton() const { return m_clearXButton; }
  QPushButton* clearListButton() const { return m_clearListButton; }
  QPushButton* clearLastButton() const { return m_clearLastButton; }
  QPushButton* clearAllButton() const { return m_clearAllButton; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void buildLayout();
  void connectFields();
  /// Shows the calculator's texts, result, list and enabled states.
  void showState();
  void showFieldTexts();
  void refreshEnabling();

  void expressionEdited(const QString& text);
  void constantsEdited();
  void xEdited(const QString& text);
  void controlKey(char letter);
  void cancelWindow();
  void fieldEntered(ScientificField field);
  void fieldLeft(ScientificField field);

  void calculate();
  void afterXCheck();
  void copy();
  void copyList();
  void paste();
  void showUpdate(const FieldUpdate& update);
  TextSelection fieldSelection(ScientificField field) const;
  void deselectResult();
  void forwardToWindow(int id);

  CalcApp& m_app;
  std::unique_ptr<ScientificCalculator> m_ownCalculator;
  ScientificCalculator* m_calculator;
  ScientificField m_focus;  ///< ScientificField::None at first
  bool m_opened = false;
  bool m_cancelling = false;  ///< Escape is closing the window
  bool m_caretToEnd = false;  ///< the expression's first focus puts the caret at its end
  bool m_showing = false;     ///< set while the panel writes into its own fields

  FieldLineEdit* m_expression = nullptr;
  QRadioButton* m_radians = nullptr;
  QRadioButton* m_degrees = nullptr;
  QPushButton* m_checkButton = nullptr;
  ConstantsEdit* m_constants = nullptr;
  FieldLineEdit* m_x = nullptr;
  QPushButton* m_clearXButton = nullptr;
  ResultBox* m_result = nullptr;
  QPushButton* m_calculateButton = nullptr;
  ResultsListView* m_list = nullptr;
  QPushButton* m_clearListButton = nullptr;
  QPushButton* m_clearLastButton = nullptr;
  QPushButton* m_clearAllButton = nullptr;

  QPointer<QAction> m_undoAction;
  QPointer<QAction> m_copyListAction;
  QPointer<QAction> m_clearListAction;
};

}  // namespace qz

// The standard calculator's content in the calculator window: display field,
// keypad, tape with its editing buttons, memories and the "Affic&hage" menu.
#pragma once

#include <QPointer>
#include <array>

#include "app/calculator_panel.h"
#include "standard/standard_calculator.h"
#include "standard/tape_engine.h"

class QAction;
class QMenu;
class QPushButton;
class QStackedWidget;

namespace qz {

class CalcApp;
class DisplayField;
class KeypadWidget;
class MemoryBoxes;
class TapeView;

class StandardPanel : public CalculatorPanel {
  Q_OBJECT
 public:
  /// The engine starts with the application's display setting; a change made
  /// from the menu goes back to the application so that it lasts for the run.
  explicit StandardPanel(CalcApp& app, QWidget* parent = nullptr);

  void loadSection(const std::optional<std::string>& body) override;
  std::optional<std::string> sectionBody() const override;
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

  StandardCalculator& calculator() { return m_calculator; }
  const TapeEngine& engine() const { return m_engine; }
  DisplayField* display() const { return m_display; }
  KeypadWidget* keypad() const { return m_keypad; }
  TapeView* tapeView() const { return m_tape; }
  MemoryBoxes* memoryBoxes() const { return m_memories; }
  QPushButton* updateButton() const { return m_updateButton; }
  QPushButton* endEditButton() const { return m_endEditButton; }
  QPushButton* deleteLastButton() const { return m_deleteLastButton; }
  QPushButton* clearTapeButton() const { return m_clearTapeButton; }
  QPushButton* clearDisplayButton() const { return m_clearDisplayButton; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void buildLayout();
  /// Shows the calculator's state in every widget and menu item.
  void refreshAll();
  /// After something the user did: everything shown again, the display keeps the keyboard.
  void afterUserAction();
  void refreshMenuStates();
  void runButton(int id, bool needsValidEntry);
  void copyDisplay();
  void pasteDisplay();
  void forwardToWindow(int id);

  CalcApp& m_app;
  TapeEngine m_engine;
  StandardCalculator m_calculator;

  DisplayField* m_display = nullptr;
  QPushButton* m_clearDisplayButton = nullptr;
  KeypadWidget* m_keypad = nullptr;
  TapeView* m_tape = nullptr;
  MemoryBoxes* m_memories = nullptr;
  QStackedWidget* m_editButtons = nullptr;
  QPushButton* m_updateButton = nullptr;
  QPushButton* m_endEditButton = nullptr;
  QPushButton* m_deleteLastButton = nullptr;
  QPushButton* m_clearTapeButton = nullptr;

  QPointer<QAction> m_undoAction;
  std::array<QPointer<QAction>, 3> m_modeActions;
  std::array<QPointer<QAction>, 10> m_decimalActions;
  QPointer<QMenu> m_decimalsMenu;
};

}  // namespace qz

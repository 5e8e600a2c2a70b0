// The unit conversion calculator's content in the calculator window: the
// current and new units with their definition buttons, the value and its
// result, the conversions list and the "&Edition" menu. The rules live in
// UnitsModel and UnitSheetModel; the panel shows them and forwards what the
// user does.
#pragma once

#include <QPointer>
#include <memory>
#include <string>

#include "app/calculator_panel.h"

class QLineEdit;
class QPushButton;
class QAction;

namespace qz {

class CalcApp;
class UnitsModel;
class UnitSheet;
class MarkupLabel;
class ConversionsView;
class ResultBox;
struct UnitsDatabase;
struct UnitRecord;

/// The window's own commands: its buttons and its "&Edition" items.
enum UnitsCommand : int {
  kCmdDefineCurrent = 1400,     ///< "Définition de l'&unité"
  kCmdDefineNew = 1401,         ///< "Définitio&n de l'unité"
  kCmdModifyCurrent = 1402,     ///< "Mo&difier"
  kCmdModifyNew = 1403,         ///< "Mod&ifier"
  kCmdClearCurrent = 1404,      ///< "Effacer" (current unit)
  kCmdClearNew = 1405,          ///< "Effacer" (new unit)
  kCmdSwapUnits = 1140,         ///< "In&verser les unités"
  kCmdConvert = 1010,           ///< "CA&LCULER"
  kCmdClearValue = 1027,        ///< "Efface&r"
  kCmdClearConversions = 1028,  ///< "Effacer &tout"
  kCmdClearLastConversion = 1029,
  kCmdUnitsClearList = 32805,   ///< "&Effacer la liste"
  kCmdCopyConversions = 32807,  ///< "&Copier les conversions"
  kCmdUnitsRefresh = 32795,
};

/// The folder holding UNIT.SRC: the program folder when it has the file,
/// else the folder of the shipped data files.
std::string unitsDataFolder(const CalcApp& app);

class UnitsPanel : public CalculatorPanel {
  Q_OBJECT
 public:
  /// `database` lives for the whole run; it is read at the first unit definition.
  UnitsPanel(CalcApp& app, UnitsDatabase& database, QWidget* parent = nullptr);
  /// With a database of its own.
  explicit UnitsPanel(CalcApp& app, QWidget* parent = nullptr);
  ~UnitsPanel() override;

  void loadSection(const std::optional<std::string>& body) override;
  std::optional<std::string> sectionBody() const override;
  bool commitFields() override;
  void clearAll() override;
  bool memoryValue(std::string& valueText) const override;
  bool useMemory(const std::string& valueText) override;
  void fillEditMenu(QMenu* edit) override;
  bool command(int id) override;
  bool commandEnabled(int id) const override;
  std::unique_ptr<ReportSource> reportSource() override;
  void aboutToShowMenus() override;

  UnitsModel& model() { return *m_model; }
  /// Opens the definition sheet on the current unit (0) or the new unit (1),
  /// window-modal; false when the units database can't be read.
  bool editUnit(int which);
  /// The sheet while it is open.
  UnitSheet* sheet() const { return m_sheet; }

  QLineEdit* valueField() const { return m_value; }
  ResultBox* resultBox() const { return m_result; }
  ConversionsView* conversionsView() const { return m_list; }
  MarkupLabel* unitLabel(int which) const { return m_unitLabels[which ? 1 : 0]; }
  QPushButton* defineButton(int which) const { return m_define[which ? 1 : 0]; }
  QPushButton* modifyButton(int which) const { return m_modify[which ? 1 : 0]; }
  QPushButton* clearUnitButton(int which) const { return m_clearUnit[which ? 1 : 0]; }
  QPushButton* swapButton() const { return m_swap; }
  QPushButton* convertButton() const { return m_convert; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void buildLayout();
  void showState();
  void valueEdited(const QString& text);
  void convert();
  void sheetFinished(int result);
  void copy();
  void copyConversions();
  void paste();
  bool askCoherence(const UnitRecord& current, const UnitRecord& target);

  CalcApp& m_app;
  std::unique_ptr<UnitsDatabase> m_ownDatabase;
  UnitsDatabase& m_database;
  std::unique_ptr<UnitsModel> m_model;
  UnitSheet* m_sheet = nullptr;          // owned by the panel while open; deletes itself on close
  std::unique_ptr<UnitRecord> m_edited;  ///< the unit the sheet works on
  int m_editing = 0;
  bool m_showing = false;

  MarkupLabel* m_unitLabels[2] = {};
  QPushButton* m_define[2] = {};
  QPushButton* m_modify[2] = {};
  QPushButton* m_clearUnit[2] = {};
  QPushButton* m_swap = nullptr;
  QLineEdit* m_value = nullptr;
  ResultBox* m_result = nullptr;
  QPushButton* m_clearValue = nullptr;
  QPushButton* m_convert = nullptr;
  ConversionsView* m_list = nullptr;
  QPushButton* m_clearList = nullptr;
  QPushButton* m_clearLast = nullptr;
  QPointer<QAction> m_copyListAction;
  QPointer<QAction> m_clearListAction;
};

}  // namespace qz

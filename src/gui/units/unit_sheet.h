// The unit definition sheet: the "Définition" page (a unit chosen from the
// units database by system, category, quantity and unit, with its prefix and
// exponent, or composed from elementary units), the "Rechercher" page and the
// "Unités utilisées récemment" page. It edits the calculator's unit in place;
// only OK keeps the edit.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "units/unit_sheet_model.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace qz {

class ExpressionView;
class MarkupLabel;
class UnitHistory;

/// Database units whose symbol (markup removed, the Greek m written µ) or
/// whose name (lower case, accents removed) contains the query, or equals it
/// with `wholeWord`. Blanks around the query are removed and runs of blanks
/// reduced to one.
std::vector<int> searchUnits(const UnitsDatabase& database, const std::string& query, bool byName,
                             bool wholeWord);

class UnitSheet : public QDialog {
  Q_OBJECT
 public:
  /// `edited` is changed in place; `historyFolder` holds the history of recent units.
  UnitSheet(const UnitsDatabase& database, UnitRecord& edited, Messenger& messenger,
            std::string historyFolder, const QString& caption, QWidget* parent = nullptr);
  ~UnitSheet() override;

  UnitSheetModel& model() { return m_model; }
  /// Shows the model's state in the lists and texts (after a change made through the model).
  void refresh();

  QTabWidget* tabs() const { return m_tabs; }
  QComboBox* systemList() const { return m_lists[0]; }
  QComboBox* categoryList() const { return m_lists[1]; }
  QComboBox* quantityList() const { return m_lists[2]; }
  QComboBox* unitList() const { return m_lists[3]; }
  QComboBox* prefixList() const { return m_lists[4]; }
  QComboBox* exponentList() const { return m_lists[5]; }
  QCheckBox* nonStandardBox() const { return m_nonStandard; }
  QPushButton* composeButton(ComposeAction action) const;
  QPushButton* okButton() const { return m_ok; }
  ExpressionView* expressionView() const { return m_expression; }
  /// "Coefficient SI (équation aux dimensions) :" of the unit.
  MarkupLabel* coefficientLabel() const { return m_coefficient; }
  QListWidget* recentList() const { return m_recent; }
  QPushButton* useRecentButton() const { return m_useRecent; }
  QLineEdit* searchField() const { return m_query; }
  QListWidget* searchResults() const { return m_results; }
  /// The history records shown on the recent page.
  const std::vector<UnitRecord>& recentUnits() const { return m_recentUnits; }

  void done(int result) override;

 private:
  QWidget* buildDefinitionPage();
  QWidget* buildSearchPage();
  QWidget* buildRecentPage();
  void listChosen(int level);
  void loadRecent();
  void useRecent();
  void clearRecent();
  void search();
  void useFound();

  UnitSheetModel m_model;
  std::unique_ptr<UnitHistory> m_history;
  bool m_filling = false;

  QTabWidget* m_tabs = nullptr;
  QComboBox* m_lists[6] = {};
  QCheckBox* m_nonStandard = nullptr;
  std::vector<std::pair<ComposeAction, QPushButton*>> m_composeButtons;
  ExpressionView* m_expression = nullptr;
  MarkupLabel* m_coefficient = nullptr;
  QPushButton* m_ok = nullptr;

  QLineEdit* m_query = nullptr;
  QRadioButton* m_bySymbol = nullptr;
  QCheckBox* m_wholeWord = nullptr;
  QPushButton* m_searchButton = nullptr;
  QListWidget* m_results = nullptr;
  QPushButton* m_useFound = nullptr;
  std::vector<int> m_found;

  QListWidget* m_recent = nullptr;
  QPushButton* m_useRecent = nullptr;
  std::vector<UnitRecord> m_recentUnits;
};

/// The expression of the unit being defined, one box per component and per
/// gap between components; a click selects one (non-standard mode).
class ExpressionView : public QWidget {
  Q_OBJECT
 public:
  ExpressionView(UnitSheetModel& model, QWidget* parent = nullptr);
  std::function<void()> onSelection;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  struct Box {
    QRect rect;
    bool gap;
    int index;
  };
  std::vector<Box> layoutBoxes() const;
  int boxAt(const QPoint& point) const;

  UnitSheetModel& m_model;
  int m_hover = -1;
};

}  // namespace qz

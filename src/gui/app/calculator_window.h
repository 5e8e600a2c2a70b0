// The window every calculator runs in: menus, toolbar, the shared commands,
// the "&Quitter" and "Annuler" buttons, and the calculator's own panel.
#pragma once

#include <QDialog>
#include <QTimer>

#include "app/calc_app.h"
#include "report/report_service.h"

class QMenu;
class QMenuBar;
class QToolBar;
class QPushButton;
class QAction;

namespace qz {

class CalculatorPanel;

class CalculatorWindow : public QDialog {
  Q_OBJECT
 public:
  /// Opens calculator `calculator` with `panel` as its content; the window
  /// reads the document and the panel's section at once.
  CalculatorWindow(CalcApp& app, int calculator, CalculatorPanel* panel, QWidget* parent);

  int calculator() const { return m_calculator; }
  CalculatorPanel* panel() const { return m_panel; }
  QMenuBar* menuBar() const { return m_menuBar; }
  QToolBar* toolBar() const { return m_toolBar; }

  /// Runs a command of the menus, toolbar or buttons.
  void runCommand(int id);
  /// The section body of the open calculator, for the main frame's closing.
  std::optional<std::string> sectionBody() const;

 signals:
  /// The window has closed; `cancelled` when nothing was committed.
  void calculatorClosed(bool cancelled);

 public:
  /// Escape, the close box and "Annuler": the window goes without committing.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void buildToolBar();
  void refreshMenus();
  void refreshTitle();
  void refreshCalculatorChecks();
  void refreshToolBar();
  void placeWindow();

  void leaveTo(int nextCalculator);  // switch, quit this calculator, quit QZ
  void cancel();
  void finish(bool cancelled);
  void commitCurrent();

  void openDocument();
  void openDocumentPath(const std::string& path);
  void save();
  void saveAs();
  void clearAllCalculators();
  void memoryCommand(int id);
  void showFoldersDialog();
  void openManual();
  void showHelp();
  void showAbout();
  /// Print, export or PDF export of the panel's report; `parent` holds the dialogs.
  void runReport(int job, QWidget* parent);
  void exportPdf();
  bool reportAvailable() const;
  /// The panel's report source once the fields are taken, when it has
  /// something to report; otherwise a beep and nothing.
  std::unique_ptr<ReportSource> readyReportSource();

  CalcApp& m_app;
  ReportService m_reports;
  int m_calculator;
  CalculatorPanel* m_panel;
  QMenuBar* m_menuBar = nullptr;
  QMenu* m_fileMenu = nullptr;
  QToolBar* m_toolBar = nullptr;
  QPushButton* m_quitButton = nullptr;
  QTimer m_timer;
  bool m_finished = false;
  // The panel's section as it opened (or was last opened or saved): a cancel
  // that would drop something else asks first.
  std::optional<std::string> m_openedSection;
};

}  // namespace qz

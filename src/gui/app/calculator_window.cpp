#include "app/calculator_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/about_dialog.h"
#include "app/calculator_host.h"
#include "app/calculator_panel.h"
#include "app/commands.h"
#include "app/folders_dialog.h"
#include "app/help_window.h"
#include "app/launcher.h"
#include "app/memory_commands.h"
#include "app/save_new_file_dialog.h"
#include "app/toolbar_art.h"
#include "files/file_access.h"
#include "numbers/cp1252.h"
#include "numbers/messages.h"
#include "numbers/string_table.h"
#include "platform/qt_text.h"

namespace qz {

namespace {

constexpr int kClearAllCalculatorsQuestion = 92;
constexpr const char* kMemorySubmenus[] = {"&Copier dans...", "&Ajouter dans...", "&Utiliser...", "&Effacer..."};
constexpr int kMemoryCommandBases[] = {kCmdCopyToMemory, kCmdAddToMemory, kCmdUseMemory, kCmdClearMemory};

// Every calculator window has the same size: the first one shown fixes it.
constexpr QSize kWindowSize(760, 560);

QString documentFilter() { return QStringLiteral("QZ (*.qz)"); }

}  // namespace

CalculatorWindow::CalculatorWindow(CalcApp& app, int calculator, CalculatorPanel* panel, QWidget* parent)
    : QDialog(parent), m_app(app), m_reports(app), m_calculator(calculator), m_panel(panel) {
  setWindowModality(Qt::WindowModal);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 6);
  layout->setSpacing(0);
  m_menuBar = new QMenuBar(this);
  layout->setMenuBar(m_menuBar);
  m_toolBar = new QToolBar(this);
  m_toolBar->setIconSize(QSize(20, 20));
  layout->addWidget(m_toolBar);

  m_panel->setParent(this);
  layout->addWidget(m_panel, 1);

  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(10, 6, 10, 0);
  buttons->addStretch(1);
  m_quitButton = new QPushButton(QStringLiteral("&Quitter"), this);
  m_quitButton->setDefault(true);
  m_quitButton->setToolTip(QStringLiteral("Quitter cette calculette (les données sont conservées)"));
  auto* cancelButton = new QPushButton(QStringLiteral("Annuler"), this);
  cancelButton->setToolTip(QStringLiteral("Fermer sans conserver les modifications"));
  cancelButton->setAutoDefault(false);
  buttons->addWidget(m_quitButton);
  buttons->addWidget(cancelButton);
  layout->addLayout(buttons);
  connect(m_quitButton, &QPushButton::clicked, this, [this] { runCommand(kCmdQuitCalculator); });
  connect(cancelButton, &QPushButton::clicked, this, [this] { cancel(); });

  buildMenus();
  buildToolBar();
  connect(m_panel, &CalculatorPanel::stateChanged, this, [this] { refreshToolBar(); });
  connect(m_panel, &CalculatorPanel::reportRequested, this,
          [this](int job, QWidget* dialogParent) { runReport(job, dialogParent); });

  placeWindow();
  m_app.document().ReadDocumentFile(m_app.document().currentPath());
  m_panel->loadSection(m_app.document().LoadSection(m_calculator));
  m_openedSection = m_panel->sectionBody();
  refreshTitle();
  m_app.validEntry = true;
  m_timer.setInterval(100);
  connect(&m_timer, &QTimer::timeout, this, [this] {
    m_panel->tick();
    refreshToolBar();
  });
  m_timer.start();
}

void CalculatorWindow::placeWindow() {
  resize(kWindowSize);
  const Rect& r = m_app.calcWindowRect;
  if (r.isEmpty()) {
    QRect area = parentWidget() ? parentWidget()->frameGeometry() : screen()->availableGeometry();
    QPoint topLeft = area.center() - QPoint(kWindowSize.width() / 2, kWindowSize.height() / 2);
    QRect available = screen()->availableGeometry();
    topLeft.setX(std::clamp(topLeft.x(), available.left(), std::max(available.left(), available.right() - kWindowSize.width())));
    topLeft.setY(std::clamp(topLeft.y(), available.top(), std::max(available.top(), available.bottom() - kWindowSize.height())));
    move(topLeft);
  } else {
    move(r.left, r.top);
    resize(r.width(), r.height());
  }
}

void CalculatorWindow::buildMenus() {
  m_fileMenu = m_menuBar->addMenu(QStringLiteral("&Fichier"));
  addCommandAction(m_fileMenu, QStringLiteral("&Ouvrir..."), kCmdOpen, QKeySequence::Open);
  addCommandAction(m_fileMenu, QStringLiteral("&Enregistrer"), kCmdSave, QKeySequence::Save);
  addCommandAction(m_fileMenu, QStringLiteral("Enregistrer &sous..."), kCmdSaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  m_fileMenu->addSeparator();
  addCommandAction(m_fileMenu, QStringLiteral("Effacer &toutes les calculettes"), kCmdClearAllCalculators);
  m_fileMenu->addSeparator();
  addCommandAction(m_fileMenu, QStringLiteral("&Imprimer..."), kCmdPrint, QKeySequence::Print);
  addCommandAction(m_fileMenu, QStringLiteral("&Mise en page"), kCmdPageSetup);
  m_fileMenu->addSeparator();
  addCommandAction(m_fileMenu, QStringLiteral("E&xporter la note de calcul"), kCmdExport);
  addCommandAction(m_fileMenu, QStringLiteral("Exporter en P&DF..."), kCmdExportPdf);
  m_fileMenu->addSeparator();
  addCommandAction(m_fileMenu, QStringLiteral("&Quitter cette calculette"), kCmdQuitCalculator);
  addCommandAction(m_fileMenu, QStringLiteral("&Quitter QZ"), kCmdQuitProgram, QKeySequence(Qt::CTRL | Qt::Key_Q));

  QMenu* edit = m_menuBar->addMenu(QStringLiteral("&Edition"));
  m_panel->fillEditMenu(edit);

  QMenu* memories = m_menuBar->addMenu(QStringLiteral("&Mémoires"));
  for (int group = 0; group < 4; ++group) {
    if (group == 3) memories->addSeparator();
    QMenu* sub = memories->addMenu(QString::fromUtf8(kMemorySubmenus[group]));
    for (int i = 0; i < 10; ++i) addCommandAction(sub, QStringLiteral("M&%1").arg(i), kMemoryCommandBases[group] + i);
  }
  addCommandAction(memories, QStringLiteral("Effacer &toutes"), kCmdClearAllMemories);

  QMenu* calculators = m_menuBar->addMenu(QStringLiteral("&Calculette"));
  const char* names[] = {"&Standard", "S&cientifique", "S&tatistique", "&Géométrique", "&Conversion d'unité"};
  for (int c = 0; c < kCalculatorCount; ++c) {
    QAction* a = addCommandAction(calculators, QString::fromUtf8(names[c]), kCmdSwitchFirst + c,
                            QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + c)));
    a->setCheckable(true);
    a->setChecked(c == m_calculator);
  }

  QMenu* options = m_menuBar->addMenu(QStringLiteral("&Options"));
  QAction* beep = addCommandAction(options, QStringLiteral("&Messages sonores"), kCmdBeep);
  beep->setCheckable(true);
  addCommandAction(options, QStringLiteral("&Dossiers..."), kCmdFolders);

  QMenu* help = m_menuBar->addMenu(QStringLiteral("&Aide"));
  addCommandAction(help, QStringLiteral("Aide sur cette &calculette"), kCmdHelpCalculator, QKeySequence::HelpContents);
  addCommandAction(help, QStringLiteral("&Rubriques d'aide de QZ"), kCmdHelpTopics);
  addCommandAction(help, QStringLiteral("&Manuel d'utilisation de QZ"), kCmdManual);
  help->addSeparator();
  addCommandAction(help, QStringLiteral("&Utilisation de l'aide"), kCmdHelpUsage);
  help->addSeparator();
  addCommandAction(help, QStringLiteral("&A propos de QZ..."), kCmdAbout);

  // The calculator's own menus go after "&Edition".
  m_panel->addOwnMenus(m_menuBar, memories);

  for (QMenu* menu : m_menuBar->findChildren<QMenu*>())
    connect(menu, &QMenu::aboutToShow, this, [this] { refreshMenus(); });
  for (QAction* action : m_menuBar->findChildren<QAction*>()) {
    if (!action->data().isValid() || action->menu()) continue;
    connect(action, &QAction::triggered, this, [this, action] { runCommand(action->data().toInt()); });
  }
  refreshMenus();
}

void CalculatorWindow::buildToolBar() {
  const int tools[] = {kCmdOpen, kCmdSave, kCmdPrint, kCmdExport, kCmdUndo, kCmdCopy, kCmdPaste, kCmdHelpCalculator};
  for (int command : tools) {
    if (command == kCmdUndo || command == kCmdCopy || command == kCmdHelpCalculator) m_toolBar->addSeparator();
    QAction* action = m_toolBar->addAction(ToolbarArt::commandIcon(command), {});
    action->setData(command);
    action->setToolTip(cp1252ToQString(commandToolTip(command)));
    connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
  }
  m_toolBar->addSeparator();
  for (int c = 0; c < kCalculatorCount; ++c) {
    QAction* action = m_toolBar->addAction(ToolbarArt::calculatorIcon(c), {});
    action->setData(kCmdSwitchFirst + c);
    action->setToolTip(cp1252ToQString(commandToolTip(kCmdSwitchFirst + c)));
    action->setCheckable(true);
    action->setChecked(c == m_calculator);
    connect(action, &QAction::triggered, this, [this, c, action] {
      action->setChecked(c == m_calculator);
      runCommand(kCmdSwitchFirst + c);
    });
  }
  refreshToolBar();
}

void CalculatorWindow::refreshToolBar() {
  // While a report's dialogs are up the buttons keep the state they had.
  if (ReportService::busy()) return;
  const bool report = reportAvailable();
  for (QAction* action : m_toolBar->actions()) {
    if (!action->data().isValid()) continue;
    int id = action->data().toInt();
    bool shared = id == kCmdOpen || id == kCmdSave || id == kCmdHelpCalculator ||
                  (id >= kCmdSwitchFirst && id < kCmdSwitchFirst + kCalculatorCount);
    if (id == kCmdPrint || id == kCmdExport)
      action->setEnabled(report);
    else
      action->setEnabled(shared || m_panel->commandEnabled(id));
  }
}

bool CalculatorWindow::reportAvailable() const {
  const std::unique_ptr<ReportSource> source = m_panel->reportSource();
  return source && source->hasReport();
}

void CalculatorWindow::refreshMenus() {
  m_panel->aboutToShowMenus();
  for (QAction* action : m_menuBar->findChildren<QAction*>()) {
    if (!action->data().isValid()) continue;
    int id = action->data().toInt();
    if (id >= kCmdCopyToMemory && id < kCmdClearMemory + 10 && id % 100 < 10) {
      action->setText(cp1252ToQString(memoryMenuLabel(utf8ToCp1252(action->text().toStdString()),
                                                      m_app.memories[static_cast<std::size_t>(id % 100)])));
    } else if (id == kCmdBeep) {
      action->setChecked(m_app.beepEnabled());
    } else if (id >= kCmdSwitchFirst && id < kCmdSwitchFirst + kCalculatorCount && action->isCheckable()) {
      action->setChecked(id - kCmdSwitchFirst == m_calculator);
    } else if (id == kCmdPrint || id == kCmdExport || id == kCmdExportPdf) {
      action->setEnabled(reportAvailable());
    } else if (id == kCmdUndo) {
      action->setEnabled(m_panel->commandEnabled(id));
    }
  }
  // The recent files follow "&Quitter QZ".
  QList<QAction*> actions = m_fileMenu->actions();
  for (QAction* action : actions) {
    int id = action->data().isValid() ? action->data().toInt() : 0;
    if (action->property("recent").toBool() || (id >= kCmdRecentFirst && id < kCmdRecentFirst + 4)) {
      m_fileMenu->removeAction(action);
      action->deleteLater();
    }
  }
  bool first = true;
  for (const auto& item : m_app.recentFiles().menuItems()) {
    if (first) {
      QAction* separator = m_fileMenu->addSeparator();
      separator->setProperty("recent", true);
      first = false;
    }
    QAction* action = m_fileMenu->addAction(QString::fromStdString(item.text));
    action->setData(item.command);
    action->setProperty("recent", true);
    connect(action, &QAction::triggered, this, [this, id = item.command] { runCommand(id); });
  }
}

void CalculatorWindow::refreshCalculatorChecks() {
  for (QAction* action : m_menuBar->findChildren<QAction*>()) {
    if (!action->data().isValid() || !action->isCheckable()) continue;
    const int id = action->data().toInt();
    if (id >= kCmdSwitchFirst && id < kCmdSwitchFirst + kCalculatorCount)
      action->setChecked(id - kCmdSwitchFirst == m_calculator);
  }
}

void CalculatorWindow::refreshTitle() {
  setWindowTitle(cp1252ToQString(CalcTitle(true, m_calculator, m_app.document().currentPath())));
}

void CalculatorWindow::runCommand(int id) {
  if (m_finished) return;
  if (id >= kCmdSwitchFirst && id < kCmdSwitchFirst + kCalculatorCount) {
    // A checkable item unchecks itself when chosen again: the check mark
    // stays on the calculator shown, whatever was chosen.
    refreshCalculatorChecks();
    if (id - kCmdSwitchFirst != m_calculator) leaveTo(id - kCmdSwitchFirst);
    return;
  }
  if (id >= kCmdCopyToMemory && id < kCmdClearMemory + 10 && id % 100 < 10) {
    memoryCommand(id);
    return;
  }
  if (id >= kCmdRecentFirst && id < kCmdRecentFirst + 4) {
    const std::string& path = m_app.recentFiles().entry(id - kCmdRecentFirst);
    if (!path.empty()) openDocumentPath(path);
    return;
  }
  switch (id) {
    case kCmdQuitCalculator: leaveTo(kNoCalculator); return;
    case kCmdQuitProgram:
      m_panel->commitFields();
      commitCurrent();
      m_app.currentCalculator = kQuitProgram;
      finish(false);
      return;
    case kCmdOpen: openDocument(); return;
    case kCmdSave: save(); return;
    case kCmdSaveAs: saveAs(); return;
    case kCmdClearAllCalculators: clearAllCalculators(); return;
    case kCmdClearAllMemories: clearAllMemories(m_app.memories, m_app.messenger()); m_panel->update(); return;
    case kCmdBeep: m_app.setBeepEnabled(!m_app.beepEnabled()); return;
    case kCmdFolders: showFoldersDialog(); return;
    case kCmdManual: openManual(); return;
    case kCmdHelpCalculator:
    case kCmdHelpTopics:
    case kCmdHelpUsage: showHelp(); return;
    case kCmdAbout: showAbout(); return;
    case kCmdPrint: runReport(static_cast<int>(ReportJob::Print), this); return;
    case kCmdExport: runReport(static_cast<int>(ReportJob::Export), this); return;
    case kCmdExportPdf: exportPdf(); return;
    case kCmdPageSetup:
      m_reports.pageSetup(this);
      m_panel->update();
      return;
    default:
      if (!m_panel->command(id)) SoundBeep(m_app.messenger(), BeepKind::Warning);
      refreshToolBar();
      return;
  }
}

void CalculatorWindow::memoryCommand(int id) {
  const int i = id % 100;
  const int base = id - i;
  if (base == kCmdClearMemory) {
    clearMemory(m_app.memories, i);
    m_panel->update();
    return;
  }
  if (base == kCmdUseMemory) {
    if (!m_panel->useMemory(memoryText(m_app.memories, i))) SoundBeep(m_app.messenger(), BeepKind::Warning);
    return;
  }
  std::string value;
  bool done = m_panel->memoryValue(value) &&
              (base == kCmdCopyToMemory ? copyToMemory(m_app.memories, i, value) : addToMemory(m_app.memories, i, value));
  if (!done) SoundBeep(m_app.messenger(), BeepKind::Warning);
  m_panel->update();
}

void CalculatorWindow::commitCurrent() { m_app.document().CommitCurrent(m_calculator, m_panel->sectionBody()); }

std::optional<std::string> CalculatorWindow::sectionBody() const { return m_panel->sectionBody(); }

void CalculatorWindow::leaveTo(int nextCalculator) {
  // Moving the focus runs any pending check of the field being left.
  m_quitButton->setFocus();
  if (!m_app.validEntry || !m_panel->commitFields()) return;
  commitCurrent();
  m_app.currentCalculator = nextCalculator;
  finish(false);
}

void CalculatorWindow::cancel() {
  // Nothing is taken from the fields, so nothing is checked either: the focus
  // stays where it is and the window goes, once the user agrees to lose what
  // changed since it opened.
  if (m_finished || !ConfirmCancel(m_app.messenger(), m_openedSection, m_panel->sectionBody())) return;
  finish(true);
}

void CalculatorWindow::finish(bool cancelled) {
  if (m_finished) return;
  m_finished = true;
  m_timer.stop();
  QRect frame = frameGeometry();
  m_app.calcWindowRect = Rect{frame.left(), frame.top(), frame.left() + width(), frame.top() + height()};
  hide();
  emit calculatorClosed(cancelled);
  deleteLater();
}

void CalculatorWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  cancel();
}

void CalculatorWindow::reject() { cancel(); }

void CalculatorWindow::openDocument() {
  QString path = QFileDialog::getOpenFileName(this, cp1252ToQString(LoadString(133)),
                                              QString::fromStdString(m_app.defaultFolderPath(kDataFolder)),
                                              documentFilter());
  if (!path.isEmpty()) openDocumentPath(path.toStdString());
}

void CalculatorWindow::openDocumentPath(const std::string& path) {
  if (!m_panel->commitFields()) return;
  commitCurrent();
  // A document that cannot be read leaves the window and its work as they are.
  if (!m_app.document().OpenDocumentFile(path)) return;
  m_panel->loadSection(m_app.document().LoadSection(m_calculator));
  m_openedSection = m_panel->sectionBody();
  m_panel->update();
  refreshTitle();
}

void CalculatorWindow::save() {
  if (m_app.document().currentPath().empty()) {
    saveAs();
    return;
  }
  if (!m_panel->commitFields()) return;
  m_app.document().StoreSection(m_calculator, m_panel->sectionBody());
  // What is in the file is no longer lost by a cancel.
  if (m_app.document().WriteDocumentFile(m_app.document().currentPath())) m_openedSection = m_panel->sectionBody();
}

void CalculatorWindow::saveAs() {
  if (!m_panel->commitFields()) return;
  QFileDialog dialog(this, cp1252ToQString(LoadString(134)), QString::fromStdString(m_app.defaultFolderPath(kDataFolder)),
                     documentFilter());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("qz"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const std::string previousPath = m_app.document().currentPath();
  m_app.document().setCurrentPath(dialog.selectedFiles().front().toStdString());
  if (!SaveNewFileDialog::run(this, m_app.document(), m_calculator, m_panel->sectionBody()))
    m_app.document().setCurrentPath(previousPath);
  refreshTitle();
}

void CalculatorWindow::clearAllCalculators() {
  if (!Confirm(m_app.messenger(), kClearAllCalculatorsQuestion)) return;
  m_app.document().ClearAll();
  refreshTitle();
  m_panel->clearAll();
  m_panel->update();
}

void CalculatorWindow::showFoldersDialog() {
  FoldersDialog dialog(m_app, this);
  dialog.exec();
  update();
}

void CalculatorWindow::openManual() { openUserManual(m_app, this); }

void CalculatorWindow::showHelp() { HelpWindow::showFor(m_calculator, m_app, this); }

std::unique_ptr<ReportSource> CalculatorWindow::readyReportSource() {
  m_quitButton->setFocus();  // a field being left is checked first
  if (!m_app.validEntry || !m_panel->commitFields()) return nullptr;
  std::unique_ptr<ReportSource> source = m_panel->reportSource();
  if (source && source->hasReport()) return source;
  SoundBeep(m_app.messenger(), BeepKind::Warning);
  return nullptr;
}

void CalculatorWindow::runReport(int job, QWidget* parent) {
  const std::unique_ptr<ReportSource> source = readyReportSource();
  if (!source) return;
  m_reports.run(static_cast<ReportJob>(job), *source, parent ? parent : this);
  refreshToolBar();
}

void CalculatorWindow::exportPdf() {
  const std::unique_ptr<ReportSource> source = readyReportSource();
  if (source) m_reports.exportPdf(*source, this);
}

void CalculatorWindow::showAbout() {
  AboutDialog dialog(this);
  dialog.exec();
}

}  // namespace qz

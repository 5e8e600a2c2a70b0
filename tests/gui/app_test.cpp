// The program as a user drives it: start page, calculator windows, quitting.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "gui/gui_test_support.h"
#include "app/calculator_window.h"
#include "app/commands.h"
#include "app/launcher_page.h"
#include "app/main_frame.h"
#include "app/qz_application.h"
#include "app/save_new_file_dialog.h"
#include "files/file_access.h"
#include "platform/qt_settings_store.h"
#include "platform/scripted_messenger.h"

using namespace qz;

class AppTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_dir;
  MemorySettingsStore m_store;
  ScriptedMessenger m_messenger;

  FilePlaces places() const { return qz::testing::placesIn(m_dir.path()); }
  static QPoint zoneCentre(int zone) { return qz::testing::zoneCentre(zone); }

 private slots:
  void init() {
    m_store = MemorySettingsStore();
    m_messenger.clear();
  }

  void quitZoneEndsThroughSaveOnClose() {
    QzApplication app(m_store, m_messenger, places());
    app.start("");
    QVERIFY(app.frame()->isVisible());
    QCOMPARE(app.frame()->windowTitle(), QStringLiteral("  KELDORAN - QZ"));
    QCOMPARE(app.frame()->size(), QSize(588, 397));
    app.app().memories[0] = 12.5;
    app.app().memories[9] = -1.5e15;
    app.app().setBeepEnabled(false);

    QTest::mouseMove(app.page(), zoneCentre(5));
    QVERIFY(app.page()->launcher().hovered(5));
    QTest::mouseClick(app.page(), Qt::LeftButton, {}, zoneCentre(5));
    QTRY_VERIFY(!app.frame()->isVisible());
    QCOMPARE(*m_store.read("Memory", "M0"), std::string("12.5"));
    QCOMPARE(*m_store.read("Memory", "M9"), std::string("-1.5E+015"));
    QCOMPARE(*m_store.read("Memory", "M1"), std::string("0"));
    QCOMPARE(*m_store.read("Options", "Beep"), std::string("0"));
    QVERIFY(m_store.read("Files", "File0").has_value());
  }

  void startPageIsKeptForTheNextStart() {
    QzApplication first(m_store, m_messenger, places());
    first.start("");
    QDir cache(QString::fromStdString(places().cacheFolder));
    const QStringList kept = cache.entryList({QStringLiteral("start-page-*.bmp")});
    QCOMPARE(kept.size(), 1);
    const QImage painted = first.page()->grab().toImage();
    QzApplication second(m_store, m_messenger, places());
    second.start("");
    QCOMPARE(second.page()->grab().toImage(), painted);
  }

  void escapeClosesTheFrame() {
    QzApplication app(m_store, m_messenger, places());
    app.start("");
    QTest::keyClick(app.frame(), Qt::Key_Escape);
    QTRY_VERIFY(!app.frame()->isVisible());
    QCOMPARE(*m_store.read("Options", "Beep"), std::string("1"));
  }

  void eachCalculatorOpensSwitchesAndQuits() {
    QzApplication app(m_store, m_messenger, places());
    app.start("");
    for (int calculator = 0; calculator < 5; ++calculator) {
      QTest::mouseClick(app.page(), Qt::LeftButton, {}, zoneCentre(calculator));
      QTRY_VERIFY(app.calculatorWindow() != nullptr);
      CalculatorWindow* window = app.calculatorWindow();
      QCOMPARE(window->calculator(), calculator);
      QVERIFY(window->windowTitle().startsWith(QStringLiteral("  KELDORAN - QZ : ")));

      // Switching to itself does nothing; to the next one closes this window.
      window->runCommand(kCmdSwitchFirst + calculator);
      QCOMPARE(app.calculatorWindow(), window);
      const int next = (calculator + 1) % 5;
      window->runCommand(kCmdSwitchFirst + next);
      QTRY_VERIFY(app.calculatorWindow() != nullptr && app.calculatorWindow() != window);
      QCOMPARE(app.calculatorWindow()->calculator(), next);

      // Back to the start page.
      CalculatorWindow* second = app.calculatorWindow();
      second->runCommand(kCmdQuitCalculator);
      QTRY_VERIFY(app.calculatorWindow() == nullptr);
      QCOMPARE(app.app().currentCalculator, -1);
    }
    QVERIFY(app.frame()->isVisible());
  }

  void secondWindowOpensWhereTheFirstWas() {
    QzApplication app(m_store, m_messenger, places());
    app.start("");
    QTest::mouseClick(app.page(), Qt::LeftButton, {}, zoneCentre(0));
    QTRY_VERIFY(app.calculatorWindow() != nullptr);
    CalculatorWindow* first = app.calculatorWindow();
    first->move(first->pos() + QPoint(17, 23));
    const QPoint where = first->pos();
    first->runCommand(kCmdSwitchFirst + 3);
    QTRY_VERIFY(app.calculatorWindow() != nullptr && app.calculatorWindow() != first);
    QCOMPARE(app.calculatorWindow()->pos(), where);
  }

  void quitProgramFromACalculator() {
    QzApplication app(m_store, m_messenger, places());
    app.start("");
    QTest::mouseClick(app.page(), Qt::LeftButton, {}, zoneCentre(2));
    QTRY_VERIFY(app.calculatorWindow() != nullptr);
    app.app().memories[4] = 3.25;
    app.calculatorWindow()->runCommand(kCmdQuitProgram);
    QTRY_VERIFY(!app.frame()->isVisible());
    QCOMPARE(*m_store.read("Memory", "M4"), std::string("3.25"));
  }

  void cancelledCalculatorOpensAgain() {
    QzApplication app(m_store, m_messenger, places());
    app.start("");
    QTest::mouseClick(app.page(), Qt::LeftButton, {}, zoneCentre(4));
    QTRY_VERIFY(app.calculatorWindow() != nullptr);
    app.calculatorWindow()->reject();
    QTRY_VERIFY(app.calculatorWindow() == nullptr);
    QTest::mouseClick(app.page(), Qt::LeftButton, {}, zoneCentre(4));
    QTRY_VERIFY(app.calculatorWindow() != nullptr);
    QCOMPARE(app.calculatorWindow()->calculator(), 4);
  }

  void invalidEntryBlocksSwitching() {
    QzApplication app(m_store, m_messenger, places());
    app.start("");
    QTest::mouseClick(app.page(), Qt::LeftButton, {}, zoneCentre(1));
    QTRY_VERIFY(app.calculatorWindow() != nullptr);
    CalculatorWindow* window = app.calculatorWindow();
    app.app().validEntry = false;
    window->runCommand(kCmdSwitchFirst + 0);
    window->runCommand(kCmdQuitCalculator);
    QTest::qWait(250);
    QCOMPARE(app.calculatorWindow(), window);
    app.app().validEntry = true;
    window->runCommand(kCmdQuitCalculator);
    QTRY_VERIFY(app.calculatorWindow() == nullptr);
  }

  void recentFileOpensItsDocument() {
    const std::string path = (m_dir.path() + QStringLiteral("/essai.qz")).toStdString();
    {
      RecentFiles unused;
      DocumentStore document(m_messenger, unused);
      document.StoreSection(kStandard, std::string("1\n1|0|12.5|0|0|0|2\n"));
      QVERIFY(document.WriteDocumentFile(path));
    }
    QzApplication app(m_store, m_messenger, places());
    app.start("");
    app.app().recentFiles().promote(path);
    QTest::mouseClick(app.page(), Qt::LeftButton, {}, zoneCentre(0));
    QTRY_VERIFY(app.calculatorWindow() != nullptr);
    CalculatorWindow* window = app.calculatorWindow();
    window->runCommand(RecentFiles::kFirstCommand);
    QCOMPARE(app.app().document().currentPath(), path);
    QVERIFY(window->windowTitle().endsWith(QStringLiteral(" - ESSAI.QZ")));
    QCOMPARE(*window->sectionBody(), std::string("1\n1|0|12.5|0|0|0|2\n"));
    // Leaving without a change asks nothing and leaves the file as it was.
    window->runCommand(kCmdQuitCalculator);
    QTRY_VERIFY(app.calculatorWindow() == nullptr);
    QVERIFY(m_messenger.boxes().empty());
  }

  void memoryMenuShowsValues() {
    QzApplication app(m_store, m_messenger, places());
    app.start("");
    app.app().memories[3] = 12.5;
    QTest::mouseClick(app.page(), Qt::LeftButton, {}, zoneCentre(0));
    QTRY_VERIFY(app.calculatorWindow() != nullptr);
    CalculatorWindow* window = app.calculatorWindow();
    QMenu* memories = nullptr;
    for (QAction* a : window->menuBar()->actions())
      if (a->text() == QStringLiteral("&Mémoires")) memories = a->menu();
    QVERIFY(memories);
    emit memories->actions().front()->menu()->aboutToShow();
    QCOMPARE(memories->actions().front()->menu()->actions().at(3)->text(), QStringLiteral("M&3   [12.5]"));
    window->runCommand(kCmdClearMemory + 3);
    QCOMPARE(app.app().memories[3], 0.0);
  }
  void missingRecentDocumentKeepsTheWorkAndTheBackup() {
    QzApplication app(m_store, m_messenger, places());
    app.start("");
    // The work of two calculators, as the previous run left it in the backup file.
    const std::string backup = app.app().document().backupPath();
    {
      RecentFiles unused;
      DocumentStore previous(m_messenger, unused);
      previous.StoreSection(kStandard, std::string("1\n1|0|12.5|0|0|0|2\n"));
      previous.StoreSection(kStatistics, std::string("0\n1\n3\n"));
      QVERIFY(previous.WriteDocumentFile(backup));
    }
    ScriptedMessenger quiet;
    const std::string before = ReadWholeFile(backup, quiet, 0).value_or("");
    const std::string gone = (m_dir.path() + QStringLiteral("/parti.qz")).toStdString();
    app.app().recentFiles().promote(gone);

    CalculatorWindow* window = qz::testing::openFromStartPage(app, 0);
    QVERIFY(window);
    window->runCommand(RecentFiles::kFirstCommand);
    QCOMPARE(m_messenger.boxes().size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(m_messenger.lastTextUtf8()),
             QString::fromStdString("ERREUR\n\nImpossible d'ouvrir le fichier " + gone +
                                    ".\n\nCe fichier n'a pas été localisé."));
    QCOMPARE(app.app().document().currentPath(), std::string());
    QCOMPARE(*window->sectionBody(), std::string("1\n1|0|12.5|0|0|0|2\n"));  // the window keeps its work
    QVERIFY(app.app().recentFiles().entry(0) != gone);

    window->runCommand(kCmdQuitCalculator);
    QTRY_VERIFY(app.calculatorWindow() == nullptr);
    QCOMPARE(ReadWholeFile(backup, quiet, 0).value_or(""), before);
  }

  void missingCommandLineDocumentKeepsTheBackupWork() {
    QzApplication app(m_store, m_messenger, places());
    const std::string gone = (m_dir.path() + QStringLiteral("/absent.qz")).toStdString();
    app.start(gone);
    QCOMPARE(m_messenger.boxes().size(), std::size_t{1});
    QVERIFY(m_messenger.lastTextUtf8().find("Ce fichier n'a pas été localisé.") != std::string::npos);
    QCOMPARE(app.app().document().currentPath(), std::string());
  }

  void failedSaveOfANewFileKeepsEveryCalculatorsWork() {
    RecentFiles unused;
    DocumentStore document(m_messenger, unused);
    document.StoreSection(kStatistics, std::string("0\n1\n3\n"));
    document.setCurrentPath((m_dir.path() + QStringLiteral("/pas/de/dossier.qz")).toStdString());
    const std::string body = "1\n1|0|12.5|0|0|0|2\n";
    // "Only this calculator" is the dialog's default: accept it.
    QTimer accept;
    QObject::connect(&accept, &QTimer::timeout, [] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
    });
    accept.start(20);
    QVERIFY(!SaveNewFileDialog::run(nullptr, document, kStandard, body));
    QVERIFY(m_messenger.lastTextUtf8().find("Impossible d'enregistrer le fichier") != std::string::npos);
    QCOMPARE(*document.LoadSection(kStatistics), std::string("0\n1\n3\n"));
    QCOMPARE(*document.LoadSection(kStandard), body);
  }

  void calculatorShownKeepsItsCheckMark() {
    QzApplication app(m_store, m_messenger, places());
    app.start("");
    QTest::mouseClick(app.page(), Qt::LeftButton, {}, zoneCentre(1));
    QTRY_VERIFY(app.calculatorWindow() != nullptr);
    CalculatorWindow* window = app.calculatorWindow();
    QMenu* calculators = nullptr;
    for (QAction* a : window->menuBar()->actions())
      if (a->text() == QStringLiteral("&Calculette")) calculators = a->menu();
    QVERIFY(calculators);
    QAction* shown = calculators->actions().at(1);
    QCOMPARE(shown->text(), QStringLiteral("S&cientifique"));
    QVERIFY(shown->isChecked());
    shown->trigger();  // as a click on the item does
    QCOMPARE(app.calculatorWindow(), window);
    QVERIFY(shown->isChecked());
    emit calculators->aboutToShow();
    for (int i = 0; i < 5; ++i) QCOMPARE(calculators->actions().at(i)->isChecked(), i == 1);
  }

  void settingsWithACommaTypedByHand() {
    // Values written without quotes hold a comma: QSettings reads them as lists.
    const QString path = m_dir.filePath(QStringLiteral("QZ.ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Intl]\ntheApp.sDecimal=,\n"
               "[Preference]\nReportFont=-14,0,0,0,400,0,0,0,0,0,0,0,0,Courier New\n"
               "Quoted=\"-13,0,0,0,700,0,0,0,0,0,0,0,0,Arial\"\nPlain=Arial\n");
    file.close();
    QtSettingsStore store(path);
    QCOMPARE(store.read("Intl", "theApp.sDecimal").value_or("?"), std::string(","));
    QCOMPARE(store.read("Preference", "ReportFont").value_or("?"),
             std::string("-14,0,0,0,400,0,0,0,0,0,0,0,0,Courier New"));
    QCOMPARE(store.read("Preference", "Quoted").value_or("?"), std::string("-13,0,0,0,700,0,0,0,0,0,0,0,0,Arial"));
    QCOMPARE(store.read("Preference", "Plain").value_or("?"), std::string("Arial"));
    QVERIFY(!store.read("Preference", "Missing").has_value());
    // What the program writes back reads the same.
    QVERIFY(store.write("Intl", "theApp.sDecimal", ","));
    store.sync();
    QCOMPARE(QtSettingsStore(path).read("Intl", "theApp.sDecimal").value_or("?"), std::string(","));
  }
};

QTEST_MAIN(AppTest)
#include "app_test.moc"

// The statistics calculator as a user drives it: typing in the grid, pasting,
// CALCULER and the results list, the mode menu, the section kept across
// windows and the trend dialog.
#include "gui/gui_test_support.h"
#include "statistics/statistics_panel.h"

#include <algorithm>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/calculator_window.h"
#include "app/commands.h"
#include "app/launcher.h"
#include "app/launcher_page.h"
#include "app/main_frame.h"
#include "app/qz_application.h"
#include "numbers/markup.h"
#include "platform/scripted_messenger.h"
#include "statistics/select_rows_dialog.h"
#include "statistics/stat_grid_view.h"
#include "statistics/stat_results_view.h"
#include "statistics/statistics_calculator.h"
#include "statistics/trend_dialog.h"

using namespace qz;

namespace {

// Twenty (x, y) pairs around y = 2x + 1, as a spreadsheet would copy them.
QString twentyPairs() {
  QStringList lines;
  for (int i = 1; i <= 20; ++i)
    lines << QStringLiteral("%1\t%2").arg(i * 1.5).arg(2 * i * 1.5 + 1 + ((i * 7) % 5 - 2) * 0.8);
  return lines.join(QStringLiteral("\r\n"));
}

}  // namespace

class StatisticsPanelTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> m_dir;
  MemorySettingsStore m_store;
  ScriptedMessenger m_messenger;
  std::unique_ptr<QzApplication> m_app;

  FilePlaces places() const { return qz::testing::placesIn(m_dir->path()); }
  static QPoint zoneCentre(int zone) { return qz::testing::zoneCentre(zone); }
  /// Starts the program in `mode` and opens the statistics calculator.
  StatisticsPanel* open(int mode) {
    m_store.write("Statistic", "Mode", std::to_string(mode));
    m_app = std::make_unique<QzApplication>(m_store, m_messenger, places());
    m_app->start("");
    return reopen();
  }
  StatisticsPanel* reopen() {
    CalculatorWindow* window = qz::testing::openFromStartPage(*m_app, 2);
    return window ? qobject_cast<StatisticsPanel*>(window->panel()) : nullptr;
  }
  CalculatorWindow* window() const { return m_app->calculatorWindow(); }
  static void clickCell(StatisticsPanel* panel, int visibleRow, int column) {
    StatGridView* grid = panel->gridView();
    const QPoint centre = grid->cellRect(visibleRow, column).center();
    QTest::mousePress(grid, Qt::LeftButton, {}, centre);
    QTest::mouseRelease(grid, Qt::LeftButton, {}, centre);
  }
  static void type(StatisticsPanel* panel, const QString& text, Qt::Key then = Qt::Key_Tab) {
    QLineEdit* editor = panel->gridView()->editor();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, then);
  }
  static QString line(StatisticsPanel* panel, int i) {
    return QString::fromStdString(
        markupToPlainUtf8(panel->calculator().resultLines().at(static_cast<std::size_t>(i))));
  }
  static void setClipboard(const QString& text) { QApplication::clipboard()->setText(text); }
  void shot(QWidget* widget, const char* name) {
    const QString folder = qEnvironmentVariable("QZ_SHOT_DIR");
    if (folder.isEmpty()) return;
    widget->grab().save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
    // The same data as a document, for looking at the program under X.
    if (auto* panel = qobject_cast<StatisticsPanel*>(window() ? window()->panel() : nullptr)) {
      DocumentStore& document = m_app->app().document();
      document.StoreSection(2, panel->sectionBody());
      document.WriteDocumentFile(
          (folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".qz")).toStdString());
    }
  }

 private slots:
  void init() {
    // A folder of its own for each case: no backup document from the one before.
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = MemorySettingsStore();
    m_messenger.clear();
    m_messenger.setDefaultAnswer(MessageAnswer::Yes);
  }
  void cleanup() {
    if (m_app && window()) window()->runCommand(kCmdQuitProgram);
    m_app.reset();
  }

  void keyboardEntryThenCalculate() {
    StatisticsPanel* panel = open(2);
    QVERIFY(panel);
    QVERIFY(!panel->lineButton()->isHidden());
    QCOMPARE(panel->lineButton()->text(), QStringLiteral("&Régression linéaire"));
    clickCell(panel, 1, 0);
    QVERIFY(panel->gridView()->editor()->isVisible());
    type(panel, "1.5");
    // Count grows only when both cells of the new row are filled.
    QCOMPARE(panel->countLabel()->text(), QStringLiteral("0000"));
    type(panel, "4", Qt::Key_Return);
    QCOMPARE(panel->countLabel()->text(), QStringLiteral("0001"));
    QTest::keyClicks(panel->gridView()->editor(), "3");
    shot(window(), "statistics-editing");
    QTest::keyClick(panel->gridView()->editor(), Qt::Key_Tab);
    // CALCULER with one cell of the last row filled: string 21.
    m_messenger.clear();
    window()->runCommand(kCmdStatCalculate);
    QVERIFY(!panel->calculator().resultsValid());
    QVERIFY(QString::fromStdString(m_messenger.lastTextUtf8())
                .endsWith(QStringLiteral("Valeur manquante à la dernière ligne du tableau !")));
    clickCell(panel, 2, 1);
    type(panel, "7", Qt::Key_Return);
    QCOMPARE(panel->countLabel()->text(), QStringLiteral("0002"));

    // A letter is refused and taken back.
    QTest::keyClicks(panel->gridView()->editor(), "a");
    QCOMPARE(panel->gridView()->editor()->text(), QString());

    QTest::mouseClick(panel->calculateButton(), Qt::LeftButton);
    QVERIFY(panel->calculator().resultsValid());
    QCOMPARE(panel->calculator().resultLines().size(), std::size_t{18});
    QVERIFY(line(panel, 0).startsWith(QStringLiteral("n ")));
    QVERIFY(line(panel, 0).contains(QStringLiteral("2")));
    QVERIFY(line(panel, 17).contains(QStringLiteral("1")));  // r² = 1 for two points
    QVERIFY(panel->lineButton()->isEnabled());
    QVERIFY(!panel->gridView()->editor()->isVisible());

    // A click on a result line, then Copier: only its number.
    StatResultsView* results = panel->resultsView();
    const int top = results->lineTop(0);
    QTest::mouseClick(results, Qt::LeftButton, {}, QPoint(40, top + 3));
    QCOMPARE(panel->calculator().highlightedLine(), 0);
    window()->runCommand(kCmdCopy);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("2"));
    // ... and into a memory.
    window()->runCommand(kCmdCopyToMemory + 3);
    QCOMPARE(m_app->app().memories[3], 2.0);
  }

  void pastedBlocks() {
    StatisticsPanel* panel = open(2);
    QVERIFY(panel);
    // Three lines of x, y append three pairs.
    setClipboard(QStringLiteral("1\t10\r\n2\t20\r\n3\t30\r\n"));
    window()->runCommand(kCmdPaste);
    QCOMPARE(panel->calculator().table().count(), 3);
    QCOMPARE(panel->calculator().table().row(3).second, 30.0);
    // Two lines of three: the x values, then the y values, column-wise.
    setClipboard(QStringLiteral("4\t5\t6\n40\t50\t60"));
    window()->runCommand(kCmdPaste);
    QCOMPARE(panel->calculator().table().count(), 6);
    QCOMPARE(panel->calculator().table().row(5).x, 5.0);
    QCOMPARE(panel->calculator().table().row(5).second, 50.0);
    QVERIFY(panel->calculator().canUndo());
    window()->runCommand(kCmdUndo);
    QCOMPARE(panel->calculator().table().count(), 3);

    // A 2 x 2 block from elsewhere asks string 97; "Non" gives column-wise.
    m_messenger.clear();
    m_messenger.answerNext(MessageAnswer::No);
    setClipboard(QStringLiteral("7\t8\r\n70\t80"));
    window()->runCommand(kCmdPaste);
    QCOMPARE(m_messenger.boxes().size(), std::size_t{1});
    QVERIFY(QString::fromStdString(m_messenger.lastTextUtf8())
                .endsWith(QStringLiteral("Les valeurs x,y sont placées verticalement ?")));
    QCOMPARE(panel->calculator().table().row(4).x, 7.0);
    QCOMPARE(panel->calculator().table().row(4).second, 70.0);

    // Our own 2 x 2 copy goes back row-wise without the question.
    panel->calculator().grid().selectRows(4, 5, 2);
    window()->runCommand(kCmdCopy);
    QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(QString::fromLatin1(kStatCellsMimeType)));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("7\t70\r\n8\t80"));
    panel->calculator().grid().clearSelection();
    m_messenger.clear();
    window()->runCommand(kCmdPaste);
    QVERIFY(m_messenger.boxes().empty());
    QCOMPARE(panel->calculator().table().count(), 7);
    QCOMPARE(panel->calculator().table().row(6).x, 7.0);
    QCOMPARE(panel->calculator().table().row(7).second, 80.0);

    // A ragged text is refused with its message, nothing written.
    setClipboard(QStringLiteral("1\t2\r\n3"));
    window()->runCommand(kCmdPaste);
    QVERIFY(
        QString::fromStdString(m_messenger.lastTextUtf8()).contains(QStringLiteral("Disposition anormale")));
    QCOMPARE(panel->calculator().table().count(), 7);

    // Deletion asks first; undo brings the rows back.
    panel->calculator().grid().selectRows(2, 3, 2);
    m_messenger.answerNext(MessageAnswer::Yes);
    window()->runCommand(kCmdStatDelete);
    QCOMPARE(panel->calculator().table().count(), 5);
    window()->runCommand(kCmdUndo);
    QCOMPARE(panel->calculator().table().count(), 7);
  }

  void modeChangeAsksWhenDataWouldBeLost() {
    StatisticsPanel* panel = open(2);
    QVERIFY(panel);
    setClipboard(QStringLiteral("1\t10\r\n2\t20\r\n3\t30"));
    window()->runCommand(kCmdPaste);
    m_messenger.clear();
    m_messenger.answerNext(MessageAnswer::No);
    window()->runCommand(kCmdStatModeValues);
    QCOMPARE(m_messenger.boxes().size(), std::size_t{1});
    QVERIFY(
        QString::fromStdString(m_messenger.lastTextUtf8()).contains(QStringLiteral("Le changement de mode")));
    QCOMPARE(panel->calculator().mode(), StatMode::Pairs);
    QCOMPARE(panel->calculator().table().count(), 3);

    m_messenger.answerNext(MessageAnswer::Yes);
    window()->runCommand(kCmdStatModeValues);
    QCOMPARE(panel->calculator().mode(), StatMode::Values);
    QCOMPARE(panel->calculator().table().count(), 0);
    QVERIFY(panel->lineButton()->isHidden());
    QCOMPARE(m_app->app().statisticsMode, 0);
    QCOMPARE(*m_store.read("Statistic", "Mode"), std::string("0"));

    // Without data no question.
    m_messenger.clear();
    window()->runCommand(kCmdStatModeFrequencies);
    QVERIFY(m_messenger.boxes().empty());
    QCOMPARE(panel->calculator().mode(), StatMode::Frequencies);
    QCOMPARE(panel->lineButton()->text(), QStringLiteral("Droite de &Henry"));
  }

  void sectionSurvivesQuitting() {
    StatisticsPanel* panel = open(0);
    QVERIFY(panel);
    setClipboard(QStringLiteral("2\r\n4\r\n4\r\n4\r\n5\r\n5\r\n7\r\n9"));
    window()->runCommand(kCmdPaste);
    window()->runCommand(kCmdStatCalculate);
    QCOMPARE(panel->calculator().resultLines().size(), std::size_t{11});
    window()->runCommand(kCmdQuitCalculator);
    QTRY_VERIFY(window() == nullptr);
    const std::optional<std::string> body = m_app->app().document().LoadSection(2);
    QVERIFY(body.has_value());

    panel = reopen();
    QVERIFY(panel);
    QCOMPARE(panel->calculator().table().count(), 8);
    QCOMPARE(panel->calculator().table().row(8).x, 9.0);
    QVERIFY(panel->calculator().resultsValid());
    QCOMPARE(panel->countLabel()->text(), QStringLiteral("0008"));
    QCOMPARE(panel->sectionBody(), body);
  }

  void refusedCellKeepsTheWindowOpen() {
    StatisticsPanel* panel = open(0);
    QVERIFY(panel);
    setClipboard(QStringLiteral("1\r\n2"));
    window()->runCommand(kCmdPaste);
    clickCell(panel, 1, 0);
    QTest::keyClick(panel->gridView()->editor(), Qt::Key_Backspace);
    m_messenger.clear();
    window()->runCommand(kCmdQuitCalculator);
    QVERIFY(QString::fromStdString(m_messenger.lastTextUtf8())
                .endsWith(QStringLiteral("Introduire une valeur dans ce champ !")));
    QVERIFY(window() != nullptr);
    QCOMPARE(panel->calculator().table().row(1).x, 1.0);
    // The previous value is back: the next Quitter goes.
    window()->runCommand(kCmdQuitCalculator);
    QTRY_VERIFY(window() == nullptr);
  }

  void smallExponentAndDecimalCommaInTheGrid() {
    StatisticsPanel* panel = open(0);
    QVERIFY(panel);
    clickCell(panel, 1, 0);
    QLineEdit* editor = panel->gridView()->editor();
    QTest::keyClicks(editor, QStringLiteral("2,5e-3"));
    QCOMPARE(editor->text(), QStringLiteral("2.5E-3"));
    shot(window(), "statistics_typed_2,5e-3");
    QTest::keyClick(editor, Qt::Key_Tab);
    QTest::keyClicks(editor, QStringLiteral("1,5"));
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(panel->calculator().table().count(), 2);
    QCOMPARE(panel->calculator().table().row(1).x, 0.0025);
    QCOMPARE(panel->calculator().table().row(2).x, 1.5);
    shot(window(), "statistics_stored_2,5e-3");
  }

  void escapeInTheEditorClosesItOnly() {
    StatisticsPanel* panel = open(0);
    QVERIFY(panel);
    setClipboard(QStringLiteral("1\r\n2"));
    window()->runCommand(kCmdPaste);
    clickCell(panel, 2, 0);
    QLineEdit* editor = panel->gridView()->editor();
    QTest::keyClicks(editor, QStringLiteral("7"));
    m_messenger.clear();
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(window() != nullptr);
    QVERIFY(window()->isVisible());
    QVERIFY(!editor->isVisible());
    QCOMPARE(panel->calculator().table().row(2).x, 2.0);
    QVERIFY(m_messenger.boxes().empty());

    // A second Escape cancels the window, which changed since it opened: asked first.
    m_messenger.answerNext(MessageAnswer::No);
    QTest::keyClick(panel->gridView(), Qt::Key_Escape);
    QVERIFY(QString::fromStdString(m_messenger.lastTextUtf8())
                .contains(QStringLiteral("vont être perdues !")));
    QVERIFY(window() != nullptr);
    QCOMPARE(panel->calculator().table().count(), 2);
    m_messenger.answerNext(MessageAnswer::Yes);
    window()->reject();
    QTRY_VERIFY(window() == nullptr);
    // Yes: nothing of the window's work is kept.
    QCOMPARE(m_app->app().document().LoadSection(2).value_or(""), std::string());
  }

  void cancellingAnUnchangedWindowAsksNothing() {
    QVERIFY(open(0));
    m_messenger.clear();
    window()->reject();
    QTRY_VERIFY(window() == nullptr);
    QVERIFY(m_messenger.boxes().empty());
  }

  void negativeCountTypedIsRefusedWithItsRow() {
    StatisticsPanel* panel = open(1);
    QVERIFY(panel);
    clickCell(panel, 1, 0);
    type(panel, "10");
    type(panel, "-2");
    QVERIFY(QString::fromStdString(m_messenger.lastTextUtf8())
                .endsWith(QStringLiteral("Ligne 1 : une fréquence n ne peut pas être négative !")));
    QCOMPARE(panel->calculator().table().count(), 0);
  }

  void trendDialogInBothModes() {
    StatisticsPanel* panel = open(2);
    QVERIFY(panel);
    setClipboard(twentyPairs());
    window()->runCommand(kCmdPaste);
    QCOMPARE(panel->calculator().table().count(), 20);
    window()->runCommand(kCmdStatCalculate);
    QVERIFY(panel->lineButton()->isEnabled());
    shot(window(), "statistics-mode2");

    QTest::mouseClick(panel->lineButton(), Qt::LeftButton);
    QTRY_VERIFY(panel->trendDialog() && panel->trendDialog()->isVisible());
    TrendDialog* dialog = panel->trendDialog();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("  Courbe de tendance"));
    QTRY_VERIFY(!dialog->view()->picture().isNull());
    QVERIFY(!dialog->view()->interrupted());
    shot(dialog, "statistics-trend-mode2");
    dialog->accept();
    QTRY_VERIFY(!panel->trendDialog());

    // Mode 1: the Henry line on a probability scale.
    window()->runCommand(kCmdStatModeFrequencies);
    setClipboard(QStringLiteral("10\t2\r\n12\t5\r\n14\t9\r\n16\t14\r\n18\t11\r\n20\t6\r\n22\t3"));
    window()->runCommand(kCmdPaste);
    window()->runCommand(kCmdStatCalculate);
    QVERIFY(panel->calculator().resultsValid());
    QVERIFY(panel->lineButton()->isEnabled());
    shot(window(), "statistics-mode1");
    QTest::mouseClick(panel->lineButton(), Qt::LeftButton);
    QTRY_VERIFY(panel->trendDialog() && !panel->trendDialog()->view()->picture().isNull());
    shot(panel->trendDialog(), "statistics-trend-mode1");
    // Escape closes the dialog once the drawing is done.
    QTest::keyClick(panel->trendDialog(), Qt::Key_Escape);
    QTRY_VERIFY(!panel->trendDialog());
  }

  void everyFitInTheTrendDialog() {
    StatisticsPanel* panel = open(2);
    QVERIFY(panel);
    // Positive x and y, so that every fit takes them.
    setClipboard(twentyPairs());
    window()->runCommand(kCmdPaste);
    window()->runCommand(kCmdStatCalculate);
    QVERIFY(panel->predictXEdit()->isVisibleTo(panel));
    const std::size_t described = panel->calculator().resultLines().size();
    QCOMPARE(described, std::size_t{18});
    QVERIFY(panel->calculator().shownLines().size() > described);
    panel->resultsView()->scrollBar()->setValue(panel->resultsView()->scrollBar()->maximum());
    shot(window(), "statistics-mode2-extended");
    panel->resultsView()->scrollToTop();

    QTest::mouseClick(panel->lineButton(), Qt::LeftButton);
    QTRY_VERIFY(panel->trendDialog() && panel->trendDialog()->isVisible());
    TrendDialog* dialog = panel->trendDialog();
    QVERIFY(dialog->fitChoice()->isVisible());
    QCOMPARE(dialog->fitChoice()->count(), kFitKindCount);
    QVERIFY(dialog->fitResults()->text().contains(QStringLiteral("r² = ")));
    for (int kind = 0; kind < kFitKindCount; ++kind) {
      emit dialog->fitChoice()->activated(kind);
      QCOMPARE(static_cast<int>(panel->calculator().fit()), kind);
      QCOMPARE(dialog->fitChoice()->currentIndex(), kind);
      QTRY_VERIFY(!dialog->view()->picture().isNull());
      QVERIFY(m_messenger.boxes().empty());
      const QString name = QStringLiteral("statistics-fit-") + QString::fromLatin1(fitKey(static_cast<FitKind>(kind)));
      shot(dialog, name.toLatin1().constData());
    }
    QVERIFY(dialog->fitResults()->text().startsWith(QStringLiteral("a = ")));
    dialog->accept();
    QTRY_VERIFY(!panel->trendDialog());
    // The fit chosen last is the one listed, and remembered.
    QCOMPARE(m_store.readInt("Statistic", "Fit", -1), static_cast<long long>(FitKind::Logarithmic));
  }

  void aRefusedFitKeepsThePreviousOne() {
    StatisticsPanel* panel = open(2);
    QVERIFY(panel);
    setClipboard(QStringLiteral("0\t1\r\n1\t3\r\n2\t2\r\n3\t5"));
    window()->runCommand(kCmdPaste);
    window()->runCommand(kCmdStatCalculate);
    QTest::mouseClick(panel->lineButton(), Qt::LeftButton);
    QTRY_VERIFY(panel->trendDialog() && panel->trendDialog()->isVisible());
    TrendDialog* dialog = panel->trendDialog();
    emit dialog->fitChoice()->activated(static_cast<int>(FitKind::Power));
    QVERIFY(QString::fromStdString(m_messenger.lastTextUtf8()).contains(QStringLiteral("Ligne 1 : x doit être")));
    QCOMPARE(dialog->fitChoice()->currentIndex(), static_cast<int>(FitKind::Linear));
    QCOMPARE(panel->calculator().fit(), FitKind::Linear);
    dialog->accept();
    QTRY_VERIFY(!panel->trendDialog());
  }

  void predictionsUnderTheResults() {
    StatisticsPanel* panel = open(2);
    QVERIFY(panel);
    setClipboard(QStringLiteral("0\t1\r\n1\t3\r\n2\t2\r\n3\t5"));  // y = 1.1 x + 1.1
    window()->runCommand(kCmdPaste);
    window()->runCommand(kCmdStatCalculate);
    QLineEdit* x = panel->predictXEdit();
    QTest::keyClicks(x, "2,5a");
    // The comma is taken as the point, the letter refused.
    QCOMPARE(x->text(), QStringLiteral("2.5"));
    QCOMPARE(panel->predictedYLabel()->text(), QStringLiteral("3.85"));
    // "Copier dans" takes ŷ while the x field has the focus; "Utiliser" types into the y field.
    window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window()));
    x->setFocus();
    QTRY_VERIFY(x->hasFocus());
    window()->runCommand(kCmdCopyToMemory + 3);
    QCOMPARE(m_app->app().memories[3], 3.85);
    m_app->app().memories[4] = 3.3;
    panel->predictYEdit()->setFocus();
    QTRY_VERIFY(panel->predictYEdit()->hasFocus());
    window()->runCommand(kCmdUseMemory + 4);
    QCOMPARE(panel->predictYEdit()->text(), QStringLiteral("3.3"));
    QCOMPARE(panel->predictedXLabel()->text(), QStringLiteral("2"));
    shot(window(), "statistics-predictions");
    // The results go with a change of the table, and so do the predictions.
    clickCell(panel, 1, 1);
    type(panel, "9", Qt::Key_Return);
    QCOMPARE(panel->predictedYLabel()->text(), QString());
  }

  void henryLineExtendedResults() {
    StatisticsPanel* panel = open(1);
    QVERIFY(panel);
    setClipboard(QStringLiteral("10\t2\r\n12\t5\r\n14\t9\r\n16\t14\r\n18\t11\r\n20\t6\r\n22\t3"));
    window()->runCommand(kCmdPaste);
    window()->runCommand(kCmdStatCalculate);
    QVERIFY(!panel->predictXEdit()->isVisibleTo(panel));
    panel->resultsView()->scrollBar()->setValue(panel->resultsView()->scrollBar()->maximum());
    shot(window(), "statistics-mode1-extended");
    QTest::mouseClick(panel->lineButton(), Qt::LeftButton);
    QTRY_VERIFY(panel->trendDialog() && !panel->trendDialog()->view()->picture().isNull());
    QVERIFY(!panel->trendDialog()->fitChoice()->isVisible());
    QVERIFY(panel->trendDialog()->fitResults()->text().contains(QStringLiteral("moyenne = ")));
    shot(panel->trendDialog(), "statistics-henry");
    panel->trendDialog()->accept();
    QTRY_VERIFY(!panel->trendDialog());
  }

  void thousandRowsScrollAndEdit() {
    StatisticsPanel* panel = open(0);
    QVERIFY(panel);
    QStringList values;
    for (int i = 1; i <= 999; ++i) values << QString::number(i);
    setClipboard(values.join(QStringLiteral("\r\n")));
    window()->runCommand(kCmdPaste);
    QCOMPARE(panel->calculator().table().count(), 999);
    clickCell(panel, 1, 0);
    QTest::keyClick(panel->gridView()->editor(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(panel->calculator().grid().currentRow(), 1000);
    QCOMPARE(panel->gridView()->scrollBar()->value(), 990);
    type(panel, "1000", Qt::Key_Return);
    // Row 1000 filled: the table is full and no new row is shown.
    QCOMPARE(panel->calculator().table().count(), 1000);
    QCOMPARE(panel->calculator().grid().rows(), 1000);
    QTest::keyClick(panel->gridView()->editor(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(panel->calculator().grid().currentRow(), 1);
    QCOMPARE(panel->gridView()->scrollBar()->value(), 0);
  }
  void mouseSelectionAndTheSelectDialog() {
    StatisticsPanel* panel = open(2);
    QVERIFY(panel);
    QVERIFY(!panel->selectButton()->isEnabled());
    QStringList lines;
    for (int i = 1; i <= 30; ++i) lines << QStringLiteral("%1\t%2").arg(i).arg(i * 10 + 0.5);
    setClipboard(lines.join(QStringLiteral("\r\n")));
    window()->runCommand(kCmdPaste);
    QCOMPARE(panel->calculator().table().count(), 30);
    StatGridView* grid = panel->gridView();

    // The corner selects everything, a header its column, a number its row.
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(0, -1).center());
    QCOMPARE(panel->calculator().grid().selection(),
             (GridSelection{0, 1, 1, panel->calculator().grid().rows()}));
    QVERIFY(panel->deselectButton()->isEnabled());
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(0, 1).center());
    QCOMPARE(panel->calculator().grid().selection(),
             (GridSelection{1, 1, 1, panel->calculator().grid().rows()}));
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(3, -1).center());
    QCOMPARE(panel->calculator().grid().selection(), (GridSelection{0, 1, 3, 3}));
    QTest::mouseClick(panel->deselectButton(), Qt::LeftButton);
    QVERIFY(panel->calculator().grid().selection().isNone());

    // A drag below the grid scrolls it every 50 ms and selects on.
    QTest::mousePress(grid, Qt::LeftButton, {}, grid->cellRect(2, 0).center());
    QMouseEvent below(QEvent::MouseMove,
                      QPointF(grid->cellRect(10, 1).center() + QPoint(0, 3 * grid->rowHeight())),
                      grid->mapToGlobal(QPointF(0, 0)), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid, &below);
    QTRY_VERIFY(panel->calculator().grid().scrollPosition() >= 3);
    QTest::mouseRelease(grid, Qt::LeftButton, {}, grid->cellRect(10, 1).center());
    const GridSelection dragged = panel->calculator().grid().selection();
    shot(window(), "statistics-selection");
    QCOMPARE(dragged.firstRow, 2);
    QVERIFY(dragged.lastRow >= 13);
    QCOMPARE(dragged.lastColumn, 1);
    QCOMPARE(grid->scrollBar()->value(), panel->calculator().grid().scrollPosition());

    // The selection dialog: rows 5 to 7 of the y values.
    QTest::mouseClick(panel->selectButton(), Qt::LeftButton);
    SelectRowsDialog* dialog = nullptr;
    QTRY_VERIFY((dialog = panel->findChild<SelectRowsDialog*>()) != nullptr);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Sélectionner"));
    // A row number beyond the table is refused and the field keeps its text.
    m_messenger.clear();
    dialog->toField()->setText(QStringLiteral("31"));
    dialog->accept();
    QVERIFY(dialog->isVisible());
    QVERIFY(
        QString::fromStdString(m_messenger.lastTextUtf8()).contains(QStringLiteral("Valeur maximale = 30")));
    // How far the drag's auto-scroll went depends on timing: the field keeps the dragged last row.
    QCOMPARE(dialog->toField()->text(), QString::number(std::min(dragged.lastRow, 30)));
    dialog->fromField()->setText(QStringLiteral("7"));
    dialog->toField()->setText(QStringLiteral("5"));
    dialog->option(1)->setChecked(true);
    dialog->accept();
    QTRY_VERIFY(!panel->findChild<SelectRowsDialog*>());
    QCOMPARE(panel->calculator().grid().selection(), (GridSelection{1, 1, 5, 7}));
    // Copying the y values with a comma as the decimal separator.
    m_app->app().decimalSeparator = ',';
    window()->runCommand(kCmdCopy);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("50,5\r\n60,5\r\n70,5"));
  }

  void memoriesAndTheEditor() {
    StatisticsPanel* panel = open(0);
    QVERIFY(panel);
    m_app->app().memories[4] = 2.5;
    clickCell(panel, 1, 0);
    QVERIFY(panel->gridView()->editorFocused());
    window()->runCommand(kCmdUseMemory + 4);
    QCOMPARE(panel->gridView()->editor()->text(), QStringLiteral("2.5"));
    QTest::keyClick(panel->gridView()->editor(), Qt::Key_Return);
    QCOMPARE(panel->calculator().table().count(), 1);
    QCOMPARE(panel->calculator().table().row(1).x, 2.5);
    // One number pasted while the editor has the focus goes into its text.
    setClipboard(QStringLiteral("3.75\r\n"));
    window()->runCommand(kCmdPaste);
    QCOMPARE(panel->gridView()->editor()->text(), QStringLiteral("3.75"));
    QCOMPARE(panel->calculator().table().count(), 1);
    QTest::keyClick(panel->gridView()->editor(), Qt::Key_Return);
    QCOMPARE(panel->calculator().table().count(), 2);
    QCOMPARE(panel->calculator().table().row(2).x, 3.75);
    // The editor's text goes into a memory while it has the focus.
    QTest::keyClicks(panel->gridView()->editor(), "7.25");
    window()->runCommand(kCmdCopyToMemory + 5);
    QCOMPARE(m_app->app().memories[5], 7.25);
  }

  void escapeStopsTheDrawing() {
    DiagramSeries series;
    for (int i = 0; i < 1000; ++i) series.points.push_back({double(i), 2.0 * i + 1});
    series.a = 2;
    series.b = 1;
    TrendDialog dialog(series);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    DiagramView* view = dialog.view();
    view->setEventCheckInterval(0);
    QCoreApplication::postEvent(&dialog, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QVERIFY(!view->render());
    QVERIFY(view->interrupted());
    QVERIFY(dialog.isVisible());  // the Escape went to the drawing, not to the dialog
    QVERIFY(view->render());
    QVERIFY(!view->interrupted());
  }

  void clearAllAsksFirst() {
    StatisticsPanel* panel = open(1);
    QVERIFY(panel);
    setClipboard(QStringLiteral("10\t2\r\n12\t3\r\n14\t1"));
    window()->runCommand(kCmdPaste);
    window()->runCommand(kCmdStatCalculate);
    QVERIFY(panel->calculator().resultsValid());
    m_messenger.clear();
    m_messenger.answerNext(MessageAnswer::No);
    QTest::mouseClick(panel->clearAllButton(), Qt::LeftButton);
    QVERIFY(QString::fromStdString(m_messenger.lastTextUtf8())
                .contains(QStringLiteral("Toutes les valeurs affichées vont être effacées !")));
    QCOMPARE(panel->calculator().table().count(), 3);
    m_messenger.answerNext(MessageAnswer::Yes);
    QTest::mouseClick(panel->clearAllButton(), Qt::LeftButton);
    QCOMPARE(panel->calculator().table().count(), 0);
    QVERIFY(!panel->calculator().resultsValid());
    QCOMPARE(panel->countLabel()->text(), QStringLiteral("0000"));
    QVERIFY(!panel->lineButton()->isEnabled());
    QCOMPARE(panel->calculator().mode(), StatMode::Frequencies);
    // With nothing in the table there is nothing to ask.
    m_messenger.clear();
    QTest::mouseClick(panel->clearAllButton(), Qt::LeftButton);
    QVERIFY(m_messenger.boxes().empty());
  }
};

QTEST_MAIN(StatisticsPanelTest)
#include "statistics_panel_test.moc"

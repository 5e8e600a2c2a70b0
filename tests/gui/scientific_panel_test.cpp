// The scientific calculator as a user drives it: typing the expression, the
// constants and x, the results list, undo, the clipboard and the memories,
// the document section, and a refused x that keeps the window open.
#include "gui/gui_test_support.h"
#include "scientific/scientific_panel.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/calculator_window.h"
#include "app/commands.h"
#include "app/launcher.h"
#include "app/launcher_page.h"
#include "app/main_frame.h"
#include "app/qz_application.h"
#include "platform/scripted_messenger.h"
#include "scientific/field_widgets.h"
#include "scientific/result_box.h"
#include "scientific/results_list_view.h"
#include "scientific/scientific_calculator.h"

using namespace qz;

namespace {

QStringList listLines(ScientificPanel* panel) {
  QStringList lines;
  for (std::size_t i = 0; i < panel->calculator().results().size(); ++i)
    lines << QString::fromStdString(panel->calculator().resultLine(i));
  return lines;
}

}  // namespace

class ScientificPanelTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> m_dir;
  MemorySettingsStore m_store;
  ScriptedMessenger m_messenger;
  std::unique_ptr<QzApplication> m_app;

  FilePlaces places() const { return qz::testing::placesIn(m_dir->path()); }

  // Opens the scientific calculator from the start page, its window active.
  ScientificPanel* openScientific() {
    CalculatorWindow* window = qz::testing::openFromStartPage(*m_app, 1);
    if (!window || !QTest::qWaitForWindowActive(window)) return nullptr;
    auto* panel = qobject_cast<ScientificPanel*>(window->panel());
    if (panel && !QTest::qWaitFor([&] { return panel->expressionField()->hasFocus(); })) return nullptr;
    return panel;
  }

  // Replaces the expression by `text` typed key by key, then leaves the field.
  static void typeExpression(ScientificPanel* panel, const QString& text) {
    panel->expressionField()->setFocus();
    panel->expressionField()->selectAll();
    QTest::keyClicks(panel->expressionField(), text);
    panel->xField()->setFocus();
  }

  // Types `value` over the x field and presses Enter.
  static void enterX(ScientificPanel* panel, const QString& value) {
    panel->xField()->setFocus();
    panel->xField()->selectAll();
    QTest::keyClicks(panel->xField(), value);
    QTest::keyClick(panel->xField(), Qt::Key_Return);
  }

  // y = a*x^2 + b with a = 2 and b = 1, for x = 3, 0 and -1.5.
  ScientificPanel* openWithThreePairs() {
    ScientificPanel* panel = openScientific();
    if (!panel) return nullptr;
    panel->expressionField()->selectAll();
    QTest::keyClicks(panel->expressionField(), "Y = A*X^2 + B");
    panel->constantsField()->setFocus();
    QTest::keyClicks(panel->constantsField(), "a=2;b=1");
    for (const char* x : {"3", "0", "-1.5"}) enterX(panel, QString::fromLatin1(x));
    return panel;
  }

 private slots:
  void init() {
    // A folder of its own for each test: no backup file from the one before.
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = MemorySettingsStore();
    m_messenger.clear();
    m_app = std::make_unique<QzApplication>(m_store, m_messenger, places());
    m_app->start("");
  }

  void cleanup() { m_app.reset(); }

  // The constants field shows one character per CR LF of the stored text.
  void constantsPositions_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("offset");
    QTest::newRow("start") << QByteArray("a=2\r\nb=1") << 0 << 0;
    QTest::newRow("before the break") << QByteArray("a=2\r\nb=1") << 3 << 3;
    QTest::newRow("after the break") << QByteArray("a=2\r\nb=1") << 4 << 5;
    QTest::newRow("end") << QByteArray("a=2\r\nb=1") << 7 << 8;
    QTest::newRow("two breaks") << QByteArray("a=1\r\n\r\nb=2") << 5 << 7;
    QTest::newRow("past the end") << QByteArray("a=1") << 9 << 3;
    QTest::newRow("empty") << QByteArray() << 0 << 0;
  }

  void constantsPositions() {
    QFETCH(QByteArray, stored);
    QFETCH(int, view);
    QFETCH(int, offset);
    const std::string text = stored.toStdString();
    QCOMPARE(storedOffset(text, view), offset);
    QCOMPARE(viewPosition(text, offset), std::min(view, static_cast<int>(constantsForView(text).size())));
    QVERIFY(!constantsForView(text).contains(QLatin1Char('\r')));
  }

  void newDocumentShowsItsDefaults() {
    ScientificPanel* panel = openScientific();
    QVERIFY(panel);
    QCOMPARE(panel->expressionField()->text(), QStringLiteral("y=0"));
    QVERIFY(!panel->expressionField()->hasSelectedText());
    QCOMPARE(panel->expressionField()->cursorPosition(), 3);
    QVERIFY(panel->degreesButton()->isChecked());
    QCOMPARE(panel->resultBox()->text(), QStringLiteral(" ?"));
    QVERIFY(!panel->checkButton()->isEnabled());
    QVERIFY(!panel->clearAllButton()->isEnabled());
    QVERIFY(!panel->commandEnabled(kCmdUndo));
    QVERIFY(!panel->reportSource()->hasReport());
    QVERIFY(!panel->sectionBody().has_value());
  }

  void expressionConstantsAndSeveralValues() {
    ScientificPanel* panel = openWithThreePairs();
    QVERIFY(panel);
    // Letters are forced to lower case; leaving the field removed the blanks.
    QCOMPARE(panel->expressionField()->text(), QStringLiteral("y=a*x^2+b"));
    // ";" became a line break when the constants field was left.
    QCOMPARE(panel->constantsField()->toPlainText(), QStringLiteral("a=2\nb=1"));
    QCOMPARE(panel->calculator().constants(), std::string("a=2\r\nb=1"));

    QCOMPARE(listLines(panel),
             QStringList({QStringLiteral("3               19"), QStringLiteral("0               1"),
                          QStringLiteral("-1.5            5.5")}));
    QCOMPARE(panel->resultBox()->text(), QStringLiteral(" 5.5"));
    QVERIFY(panel->xField()->hasFocus());
    QVERIFY(panel->reportSource()->hasReport());
    QVERIFY(panel->clearListButton()->isEnabled());

    m_app->calculatorWindow()->runCommand(kCmdCopyList);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("3\t19\r\n0\t1\r\n-1.5\t5.5\r\n"));
    // Ctrl+C in the x field without a selection copies y.
    QTest::keyClick(panel->xField(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("5.5"));

    // "Efface&r dernier résultat" removes the last pair, the list button empties it.
    QTest::mouseClick(panel->clearLastButton(), Qt::LeftButton);
    QCOMPARE(listLines(panel).size(), 2);
    QTest::mouseClick(panel->clearListButton(), Qt::LeftButton);
    QVERIFY(panel->calculator().results().empty());
    QVERIFY(!panel->clearListButton()->isEnabled());
    QVERIFY(!panel->reportSource()->hasReport());
  }

  void refusedCharactersAndChangesEmptyTheList() {
    ScientificPanel* panel = openWithThreePairs();
    QVERIFY(panel);
    panel->expressionField()->setFocus();
    panel->expressionField()->end(false);
    m_messenger.clear();
    QTest::keyClicks(panel->expressionField(), "!");
    QCOMPARE(panel->expressionField()->text(), QStringLiteral("y=a*x^2+b"));
    QCOMPARE(panel->expressionField()->cursorPosition(), 9);
    QCOMPARE(m_messenger.sounds(), std::vector<BeepKind>{BeepKind::Warning});
    QVERIFY(m_messenger.boxes().empty());
    QCOMPARE(listLines(panel).size(), 3);  // a refused key changes nothing

    QTest::keyClicks(panel->expressionField(), "+1");
    QVERIFY(panel->calculator().results().empty());
    QCOMPARE(panel->resultBox()->text(), QStringLiteral(" ?"));

    // The constants take no "*"; the x field no letters but E, which it shows in capitals.
    panel->constantsField()->setFocus();
    QTest::keyClicks(panel->constantsField(), "*");
    QCOMPARE(panel->constantsField()->toPlainText(), QStringLiteral("a=2\nb=1"));
    panel->xField()->setFocus();
    panel->xField()->selectAll();
    QTest::keyClicks(panel->xField(), "2e3q");
    QCOMPARE(panel->xField()->text(), QStringLiteral("2E3"));
  }

  void constantsTakeLineBreaksAndKeepTheCaret() {
    ScientificPanel* panel = openScientific();
    QVERIFY(panel);
    ConstantsEdit* constants = panel->constantsField();
    constants->setFocus();
    QTest::keyClicks(constants, "A=2");
    QTest::keyClick(constants, Qt::Key_Return);
    QTest::keyClicks(constants, "b=*3");
    QCOMPARE(constants->toPlainText(), QStringLiteral("a=2\nb=3"));
    QCOMPARE(panel->calculator().constants(), std::string("a=2\r\nb=3"));
    QCOMPARE(constants->textCursor().position(), 7);
    // Leaving drops the blanks and the ";" at the ends, and turns the others into breaks.
    QTest::keyClicks(constants, "; c = 4;");
    panel->xField()->setFocus();
    QCOMPARE(constants->toPlainText(), QStringLiteral("a=2\nb=3\nc=4"));
    QVERIFY(panel->checkButton()->isEnabled());
  }

  void switchingTheAngleUnitEmptiesTheList() {
    ScientificPanel* panel = openWithThreePairs();
    QVERIFY(panel);
    QTest::mouseClick(panel->radiansButton(), Qt::LeftButton);
    QVERIFY(panel->radiansButton()->isChecked());
    QVERIFY(panel->calculator().results().empty());
    QCOMPARE(panel->resultBox()->text(), QStringLiteral(" ?"));
  }

  void undoRestoresThreeChangesBack() {
    ScientificPanel* panel = openScientific();
    QVERIFY(panel);
    for (const char* text : {"y=x+1", "y=x+2", "y=x+3"}) typeExpression(panel, QString::fromLatin1(text));
    QCOMPARE(panel->calculator().undoCount(), 3);
    QVERIFY(panel->commandEnabled(kCmdUndo));

    panel->expressionField()->setFocus();
    const QString expected[] = {QStringLiteral("y=x+2"), QStringLiteral("y=x+1"), QStringLiteral("y=0")};
    for (const QString& text : expected) {
      QTest::keyClick(panel->expressionField(), Qt::Key_Z, Qt::ControlModifier);
      QCOMPARE(panel->expressionField()->text(), text);
    }
    QVERIFY(!panel->commandEnabled(kCmdUndo));
    // Nothing left to undo: Ctrl+Z does nothing, not even the field's own undo.
    QTest::keyClick(panel->expressionField(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(panel->expressionField()->text(), QStringLiteral("y=0"));
  }

  void checkShowsTheControlMessage() {
    ScientificPanel* panel = openScientific();
    QVERIFY(panel);
    typeExpression(panel, QStringLiteral("y=2 * x"));
    QVERIFY(panel->checkButton()->isEnabled());
    m_messenger.clear();
    QTest::mouseClick(panel->checkButton(), Qt::LeftButton);
    QCOMPARE(m_messenger.boxes().size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(m_messenger.lastTextUtf8()),
             QStringLiteral("CONTRÔLE\n\nLa fonction et les constantes sont correctement définies."));
    QCOMPARE(m_messenger.boxes().front().style, MessageStyle::Information);
    QCOMPARE(panel->expressionField()->text(), QStringLiteral("y=2*x"));
  }

  void clearEverythingLeavesRadians() {
    ScientificPanel* panel = openWithThreePairs();
    QVERIFY(panel);
    QVERIFY(panel->clearAllButton()->isEnabled());
    m_messenger.answerNext(MessageAnswer::No);
    QTest::mouseClick(panel->clearAllButton(), Qt::LeftButton);
    QCOMPARE(listLines(panel).size(), 3);

    m_messenger.answerNext(MessageAnswer::Yes);
    QTest::mouseClick(panel->clearAllButton(), Qt::LeftButton);
    QVERIFY(panel->radiansButton()->isChecked());
    QCOMPARE(panel->expressionField()->text(), QStringLiteral("y=0"));
    QVERIFY(panel->constantsField()->toPlainText().isEmpty());
    QVERIFY(panel->xField()->text().isEmpty());
    QVERIFY(panel->calculator().results().empty());
    QVERIFY(!panel->clearAllButton()->isEnabled());
    QVERIFY(!panel->checkButton()->isEnabled());
  }

  void sectionIsWrittenOnQuittingAndReadOnReopening() {
    ScientificPanel* panel = openWithThreePairs();
    QVERIFY(panel);
    const std::optional<std::string> written = panel->sectionBody();
    QVERIFY(written.has_value());
    m_app->calculatorWindow()->runCommand(kCmdQuitCalculator);
    QTRY_VERIFY(m_app->calculatorWindow() == nullptr);

    const std::optional<std::string> stored = m_app->app().document().LoadSection(1);
    QVERIFY(stored.has_value());
    QCOMPARE(*stored, *written);
    QVERIFY2(stored->find("y=a*x^2+b") != std::string::npos, stored->c_str());
    QVERIFY2(stored->find("-1.5|5.5") != std::string::npos, stored->c_str());

    panel = openScientific();
    QVERIFY(panel);
    QCOMPARE(panel->expressionField()->text(), QStringLiteral("y=a*x^2+b"));
    QCOMPARE(panel->constantsField()->toPlainText(), QStringLiteral("a=2\nb=1"));
    QVERIFY(panel->degreesButton()->isChecked());
    QCOMPARE(listLines(panel).size(), 3);
    QVERIFY(panel->xField()->text().isEmpty());
    QCOMPARE(panel->resultBox()->text(), QStringLiteral(" ?"));
    QVERIFY(!panel->commandEnabled(kCmdUndo));
  }

  void dataSurviveRestartingTheProgram() {
    ScientificPanel* panel = openWithThreePairs();
    QVERIFY(panel);
    QTest::mouseClick(panel->radiansButton(), Qt::LeftButton);
    enterX(panel, QStringLiteral("2"));
    m_app->calculatorWindow()->runCommand(kCmdQuitProgram);
    QTRY_VERIFY(!m_app->frame()->isVisible());

    // A new run in the same folders reads the backup file.
    m_app = std::make_unique<QzApplication>(m_store, m_messenger, places());
    m_app->start("");
    panel = openScientific();
    QVERIFY(panel);
    QCOMPARE(panel->expressionField()->text(), QStringLiteral("y=a*x^2+b"));
    QVERIFY(panel->radiansButton()->isChecked());
    QCOMPARE(listLines(panel), QStringList({QStringLiteral("2               9")}));
  }

  void clearingEveryCalculatorClearsThisOne() {
    ScientificPanel* panel = openWithThreePairs();
    QVERIFY(panel);
    m_messenger.answerNext(MessageAnswer::Yes);
    m_app->calculatorWindow()->runCommand(kCmdClearAllCalculators);
    QCOMPARE(panel->expressionField()->text(), QStringLiteral("y=0"));
    QVERIFY(panel->radiansButton()->isChecked());
    QVERIFY(panel->calculator().results().empty());
    QVERIFY(!panel->sectionBody().has_value());
  }

  void refusedXKeepsTheWindowOpenUntilCorrected() {
    ScientificPanel* panel = openScientific();
    QVERIFY(panel);
    typeExpression(panel, QStringLiteral("y=x"));
    m_messenger.clear();
    enterX(panel, QStringLiteral("1E301"));
    QCOMPARE(QString::fromStdString(m_messenger.lastTextUtf8()),
             QStringLiteral("ERREUR\n\nValeur maximale = 1e+300 !"));
    QVERIFY(panel->calculator().results().empty());
    QVERIFY(!m_app->app().validEntry);
    QVERIFY(panel->xField()->hasFocus());

    // Switching does nothing; the value is checked again on the way and refused again.
    CalculatorWindow* window = m_app->calculatorWindow();
    m_messenger.clear();
    window->runCommand(kCmdSwitchFirst + 0);
    QTest::qWait(250);
    QCOMPARE(m_app->calculatorWindow(), window);
    QCOMPARE(m_messenger.boxes().size(), std::size_t{1});

    QTRY_VERIFY(panel->xField()->hasFocus());
    panel->xField()->selectAll();
    QTest::keyClicks(panel->xField(), "1E-301");
    QTest::keyClick(panel->xField(), Qt::Key_Return);
    QCOMPARE(QString::fromStdString(m_messenger.lastTextUtf8()),
             QStringLiteral("ERREUR\n\nPlus petite valeur = |1e-300| !"));

    panel->xField()->selectAll();
    QTest::keyClicks(panel->xField(), "5");
    window->runCommand(kCmdSwitchFirst + 0);
    QTRY_VERIFY(m_app->calculatorWindow() != nullptr && m_app->calculatorWindow() != window);
    QCOMPARE(m_app->calculatorWindow()->calculator(), 0);
    QVERIFY(m_app->app().validEntry);
  }

  void emptyingARefusedXLetsTheWindowGo() {
    ScientificPanel* panel = openScientific();
    QVERIFY(panel);
    enterX(panel, QStringLiteral("-1E301"));
    QVERIFY(!m_app->app().validEntry);
    QTest::mouseClick(panel->clearXButton(), Qt::LeftButton);
    QVERIFY(panel->xField()->text().isEmpty());
    QVERIFY(m_app->app().validEntry);
    m_app->calculatorWindow()->runCommand(kCmdQuitCalculator);
    QTRY_VERIFY(m_app->calculatorWindow() == nullptr);
  }

  void escapeWithARefusedXClosesWithoutAMessage() {
    ScientificPanel* panel = openScientific();
    QVERIFY(panel);
    enterX(panel, QStringLiteral("1E301"));
    QVERIFY(!m_app->app().validEntry);
    m_messenger.clear();
    QTest::keyClick(panel->xField(), Qt::Key_Escape);
    QTRY_VERIFY(m_app->calculatorWindow() == nullptr);
    QVERIFY(m_messenger.boxes().empty());
  }

  void memoriesTakeXOrTheSelectedResult() {
    ScientificPanel* panel = openScientific();
    QVERIFY(panel);
    typeExpression(panel, QStringLiteral("y=x^2"));
    enterX(panel, QStringLiteral("3"));
    QCOMPARE(listLines(panel), QStringList({QStringLiteral("3               9")}));
    CalculatorWindow* window = m_app->calculatorWindow();

    // With the focus in x, the memories take x.
    window->runCommand(kCmdCopyToMemory + 3);
    QCOMPARE(m_app->app().memories[3], 3.0);

    // A click selects the result box (drawn highlighted); the memories then take y.
    QTest::mouseClick(panel->resultBox(), Qt::LeftButton);
    QVERIFY(panel->resultBox()->selected());
    window->runCommand(kCmdCopyToMemory + 2);
    QCOMPARE(m_app->app().memories[2], 9.0);
    QVERIFY(!panel->resultBox()->selected());
    window->runCommand(kCmdAddToMemory + 2);  // no longer selected: nothing to add
    QCOMPARE(m_app->app().memories[2], 9.0);

    // A click elsewhere takes the selection away.
    QTest::mouseClick(panel->resultBox(), Qt::LeftButton);
    QTest::mouseClick(panel->resultsView(), Qt::LeftButton);
    QVERIFY(!panel->resultBox()->selected());

    // Using a memory in the constants field inserts it at the caret.
    m_app->app().memories[4] = 2.5;
    panel->constantsField()->setFocus();
    QTest::keyClicks(panel->constantsField(), "a=");
    window->runCommand(kCmdUseMemory + 4);
    QCOMPARE(panel->constantsField()->toPlainText(), QStringLiteral("a=2.5"));
    // Elsewhere it becomes x.
    panel->checkButton()->setFocus();
    window->runCommand(kCmdUseMemory + 4);
    QCOMPARE(panel->xField()->text(), QStringLiteral("2.5"));
  }

  void pasteGoesToTheFocusedFieldOrOverX() {
    ScientificPanel* panel = openScientific();
    QVERIFY(panel);
    typeExpression(panel, QStringLiteral("y=x"));
    panel->xField()->setFocus();
    QTest::keyClicks(panel->xField(), "12");
    panel->calculateButton()->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("4.25\n"));
    m_app->calculatorWindow()->runCommand(kCmdPaste);
    QCOMPARE(panel->xField()->text(), QStringLiteral("4.25"));

    panel->expressionField()->setFocus();
    panel->expressionField()->end(false);
    QApplication::clipboard()->setText(QStringLiteral("*2"));
    QTest::keyClick(panel->expressionField(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(panel->expressionField()->text(), QStringLiteral("y=x*2"));
    QCOMPARE(panel->expressionField()->cursorPosition(), 5);
    // With a selection in the field, copying takes the selection.
    panel->expressionField()->setSelection(2, 3);
    QTest::keyClick(panel->expressionField(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("x*2"));
    // A paste the field refuses changes nothing.
    QApplication::clipboard()->setText(QStringLiteral("#"));
    QTest::keyClick(panel->expressionField(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(panel->expressionField()->text(), QStringLiteral("y=x*2"));
  }

  void listShowsItsEndAndScrolls() {
    ScientificPanel* panel = openScientific();
    QVERIFY(panel);
    typeExpression(panel, QStringLiteral("y=2*x"));
    for (int i = 1; i <= 30; ++i) enterX(panel, QString::number(i));
    ResultsListView* list = panel->resultsView();
    QCOMPARE(listLines(panel).size(), 30);
    QVERIFY(list->visibleLines() > 3 && list->visibleLines() < 24);
    QCOMPARE(list->scrollRange(), 30 - list->visibleLines());
    QCOMPARE(list->firstVisible(), list->scrollRange());
    QCOMPARE(list->scrollBar()->maximum(), list->scrollRange());
    QCOMPARE(list->scrollBar()->value(), list->scrollRange());
    list->scrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(list->firstVisible(), list->scrollRange() - ResultsListView::kPageLines);
    list->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(list->firstVisible(), list->scrollRange() - ResultsListView::kPageLines - 1);
    enterX(panel, QStringLiteral("31"));
    QCOMPARE(list->firstVisible(), list->scrollRange());
  }
};

QTEST_MAIN(ScientificPanelTest)
#include "scientific_panel_test.moc"

// The unit conversion calculator as a user drives it: units chosen and
// composed in the definition sheet, a value converted into the list, the
// checks before a conversion, the confirmations before the list is lost, and
// the units and list kept in the document.
#include "units/units_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/calculator_window.h"
#include "app/commands.h"
#include "app/qz_application.h"
#include "gui/gui_test_support.h"
#include "numbers/cp1252.h"
#include "platform/scripted_messenger.h"
#include "scientific/result_box.h"
#include "units/conversions_view.h"
#include "units/markup_label.h"
#include "units/unit_analysis.h"
#include "units/unit_conversion.h"
#include "units/unit_history.h"
#include "units/unit_section.h"
#include "units/unit_sheet.h"
#include "units/units_database.h"
#include "units/units_model.h"

using namespace qz;

class UnitsPanelTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> m_dir;
  MemorySettingsStore m_store;
  ScriptedMessenger m_messenger;
  std::unique_ptr<QzApplication> m_app;
  UnitsDatabase m_db;

  CalculatorWindow* window() const { return m_app->calculatorWindow(); }

  UnitsPanel* open() {
    CalculatorWindow* w = qz::testing::openFromStartPage(*m_app, 4);
    return w ? qobject_cast<UnitsPanel*>(w->panel()) : nullptr;
  }

  void shot(const char* name) {
    const QString folder = qEnvironmentVariable("QZ_SHOT_DIR");
    if (folder.isEmpty() || !window()) return;
    window()->grab().save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
  }

  int unitNamed(const char* utf8Name) const {
    const std::string name = utf8ToCp1252(utf8Name);
    for (std::size_t i = 0; i < m_db.units.size(); ++i)
      if (m_db.units[i].name == name) return static_cast<int>(i);
    return -1;
  }

  /// Chooses a database unit through the four lists of the sheet, as a user does.
  void chooseInLists(UnitSheet* sheet, const char* utf8Name) {
    const int index = unitNamed(utf8Name);
    QVERIFY2(index >= 0, utf8Name);
    const UnitComponent& c = m_db.units[index].record.components[0];
    const std::pair<QComboBox*, int> steps[] = {{sheet->systemList(), c.system},
                                                {sheet->categoryList(), c.category},
                                                {sheet->quantityList(), c.quantity},
                                                {sheet->unitList(), index}};
    for (const auto& [list, data] : steps) {
      const int row = list->findData(data);
      QVERIFY2(row >= 0, utf8Name);
      list->setCurrentIndex(row);
    }
  }

  /// Opens the sheet on a unit, chooses `utf8Name` and leaves with OK.
  void defineUnit(UnitsPanel* panel, int which, const char* utf8Name) {
    QVERIFY(panel->editUnit(which));
    UnitSheet* sheet = panel->sheet();
    QVERIFY(sheet);
    chooseInLists(sheet, utf8Name);
    QTest::mouseClick(sheet->okButton(), Qt::LeftButton);
    QTRY_VERIFY(panel->sheet() == nullptr);
  }

  static void typeValue(UnitsPanel* panel, const QString& text) {
    panel->valueField()->setFocus();
    panel->valueField()->selectAll();
    QTest::keyClicks(panel->valueField(), text);
  }

  /// km/h into m/s with 36 converted: one row.
  UnitsPanel* openWithOneConversion() {
    UnitsPanel* panel = open();
    if (!panel) return nullptr;
    defineUnit(panel, 0, "kilomètre par heure");
    defineUnit(panel, 1, "mètre par seconde");
    typeValue(panel, QStringLiteral("36"));
    QTest::mouseClick(panel->convertButton(), Qt::LeftButton);
    return panel;
  }

 private slots:
  void initTestCase() {
    ScriptedMessenger quiet;
    QVERIFY(LoadUnitsDatabase(qEnvironmentVariable("QZ_DATA_DIR").toStdString(), quiet, m_db));
  }

  void init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = MemorySettingsStore();
    m_messenger.clear();
    m_messenger.setDefaultAnswer(MessageAnswer::Yes);
    m_app = std::make_unique<QzApplication>(m_store, m_messenger, qz::testing::placesIn(m_dir->path()));
    m_app->start("");
  }

  void cleanup() { m_app.reset(); }

  void convertsKilometresPerHourIntoMetresPerSecond() {
    UnitsPanel* panel = openWithOneConversion();
    QVERIFY(panel);
    QCOMPARE(panel->model().rows().size(), std::size_t(1));
    QCOMPARE(panel->model().rows()[0].value, 36.0);
    QVERIFY(std::fabs(panel->model().rows()[0].result - 10.0) < 1e-12);
    QCOMPARE(UnitsModel::rowText(panel->model().rows()[0]), std::string("36                10"));
    QVERIFY(panel->model().resultValid());
    QVERIFY(panel->resultBox()->text().contains(QStringLiteral("10")));
    QVERIFY(panel->modifyButton(0)->isVisible());
    QVERIFY(!panel->defineButton(0)->isVisible());
    QVERIFY(panel->swapButton()->isEnabled());
    QCOMPARE(QString::fromStdString(markupPlainUtf8(panel->unitLabel(0)->markup())), QStringLiteral("km/h"));
    QVERIFY(m_messenger.boxes().empty());
    shot("units-converted");

    // Each unit left with OK heads the history of recent units.
    UnitRecord recent;
    QVERIFY(UnitHistory(m_app->app().places().userDataFolder).LoadHistoryRecord(0, recent));
    QVERIFY(recent == panel->model().unit(1));
  }

  void unitsAndListKeptInTheDocument() {
    UnitsPanel* panel = openWithOneConversion();
    QVERIFY(panel);
    const UnitRecord current = panel->model().unit(0);
    const UnitRecord target = panel->model().unit(1);
    QPushButton* quit = nullptr;
    for (QPushButton* button : window()->findChildren<QPushButton*>())
      if (button->text() == QStringLiteral("&Quitter")) quit = button;
    QVERIFY(quit);
    QTest::mouseClick(quit, Qt::LeftButton);
    QTRY_VERIFY(window() == nullptr);

    const std::optional<std::string> body = m_app->app().document().LoadSection(4);
    QVERIFY(body.has_value());
    UnitRecord readCurrent, readTarget;
    std::vector<ConversionRow> rows;
    readUnitSection(*body, readCurrent, readTarget, rows);
    // The reals go through the twelve-digit exchange text.
    QCOMPARE(UnitText(readCurrent), UnitText(current));
    QCOMPARE(UnitText(readTarget), UnitText(target));
    QVERIFY(std::fabs(UnitFactor(readCurrent).coefficient - UnitFactor(current).coefficient) < 1e-12);
    QCOMPARE(rows.size(), std::size_t(1));
    QCOMPARE(rows[0].value, 36.0);
    QVERIFY(std::fabs(rows[0].result - 10.0) < 1e-9);

    panel = open();
    QVERIFY(panel);
    QCOMPARE(UnitText(panel->model().unit(0)), UnitText(current));
    QCOMPARE(panel->model().rows().size(), std::size_t(1));
    QCOMPARE(markupPlainUtf8(panel->unitLabel(1)->markup()), std::string("m/s"));
  }

  void convertingWithoutNewUnitShowsMessage24() {
    UnitsPanel* panel = open();
    QVERIFY(panel);
    defineUnit(panel, 0, "mètre");
    typeValue(panel, QStringLiteral("5"));
    QTest::mouseClick(panel->convertButton(), Qt::LeftButton);
    QCOMPARE(m_messenger.lastTextUtf8(),
             std::string("ERREUR\n\nLes unités de conversion ne sont pas définies !"));
    QVERIFY(panel->model().rows().empty());
    QVERIFY(!panel->model().resultValid());
  }

  void valueChecks_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("message");
    QTest::newRow("zero converts") << QStringLiteral("0") << 1 << QString();
    QTest::newRow("negative") << QStringLiteral("-7.2") << 1 << QString();
    QTest::newRow("above 1e300") << QStringLiteral("2e300") << 0 << QStringLiteral("Valeur maximale");
    QTest::newRow("below -1e300") << QStringLiteral("-2e300") << 0 << QStringLiteral("Valeur minimale");
    QTest::newRow("tiny") << QStringLiteral("1e-301") << 0 << QStringLiteral("Plus petite valeur");
  }

  void valueChecks() {
    QFETCH(QString, typed);
    QFETCH(int, rows);
    QFETCH(QString, message);
    UnitsPanel* panel = open();
    QVERIFY(panel);
    defineUnit(panel, 0, "mètre");
    defineUnit(panel, 1, "kilomètre");
    typeValue(panel, typed);
    QCOMPARE(panel->valueField()->text(), typed.toUpper());
    m_messenger.clear();
    QTest::mouseClick(panel->convertButton(), Qt::LeftButton);
    QCOMPARE(static_cast<int>(panel->model().rows().size()), rows);
    if (message.isEmpty()) {
      QVERIFY(m_messenger.boxes().empty());
      QVERIFY(m_app->app().validEntry);
    } else {
      QVERIFY(QString::fromStdString(m_messenger.lastTextUtf8()).contains(message));
      QVERIFY(!m_app->app().validEntry);
    }
  }

  void aCorrectedValueLetsTheWindowClose() {
    UnitsPanel* panel = open();
    QVERIFY(panel);
    defineUnit(panel, 0, "mètre");
    defineUnit(panel, 1, "kilomètre");
    typeValue(panel, QStringLiteral("5E400"));
    QTest::mouseClick(panel->convertButton(), Qt::LeftButton);
    QVERIFY(!m_app->app().validEntry);
    window()->runCommand(kCmdQuitCalculator);
    QVERIFY(window() != nullptr);
    typeValue(panel, QStringLiteral("5E2"));
    window()->runCommand(kCmdQuitCalculator);
    QTRY_VERIFY(window() == nullptr);
  }

  void listKeptOnNoAndRecomputedOnYes_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<double>("result");
    QTest::newRow("No keeps the old results") << false << 10.0;
    QTest::newRow("Yes recomputes them") << true << 36.0;
  }

  void listKeptOnNoAndRecomputedOnYes() {
    QFETCH(bool, yes);
    QFETCH(double, result);
    UnitsPanel* panel = openWithOneConversion();
    QVERIFY(panel);
    m_messenger.clear();
    m_messenger.answerNext(yes ? MessageAnswer::Yes : MessageAnswer::No);
    defineUnit(panel, 0, "mètre par seconde");
    QCOMPARE(m_messenger.boxes().size(), std::size_t(1));
    QVERIFY(m_messenger.lastTextUtf8().find("Mise à jour de la liste") != std::string::npos);
    QCOMPARE(panel->model().rows().size(), std::size_t(1));
    QVERIFY(std::fabs(panel->model().rows()[0].result - result) < 1e-9);
  }

  void clipboardAndClearAll() {
    UnitsPanel* panel = openWithOneConversion();
    QVERIFY(panel);
    QTest::mouseClick(panel->resultBox(), Qt::LeftButton);
    panel->command(kCmdCopy);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("10"));
    panel->command(kCmdCopyConversions);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("36\t10\r\n"));
    QApplication::clipboard()->setText(QStringLiteral(" 1.5e3 "));
    panel->command(kCmdPaste);
    QCOMPARE(panel->valueField()->text(), QStringLiteral("1.5E3"));
    QApplication::clipboard()->setText(QStringLiteral("douze"));
    panel->command(kCmdPaste);
    QCOMPARE(panel->valueField()->text(), QStringLiteral("1.5E3"));

    panel->clearAll();
    QVERIFY(panel->model().unit(0).empty());
    QVERIFY(panel->model().unit(1).empty());
    QVERIFY(panel->model().rows().empty());
    QVERIFY(!panel->sectionBody().has_value());
  }

  void typingALetterBeepsAndKeepsTheText() {
    UnitsPanel* panel = open();
    QVERIFY(panel);
    typeValue(panel, QStringLiteral("12"));
    m_messenger.clear();
    QTest::keyClicks(panel->valueField(), QStringLiteral("a"));
    QCOMPARE(panel->valueField()->text(), QStringLiteral("12"));
    QCOMPARE(panel->model().valueText(), std::string("12"));
    QCOMPARE(m_messenger.sounds().size(), std::size_t(1));
    QCOMPARE(panel->valueField()->cursorPosition(), 2);
  }

  void emptyingAUnitAsksBeforeTheListGoes() {
    UnitsPanel* panel = openWithOneConversion();
    QVERIFY(panel);
    m_messenger.clear();
    m_messenger.answerNext(MessageAnswer::No);
    QTest::mouseClick(panel->clearUnitButton(1), Qt::LeftButton);
    QCOMPARE(m_messenger.boxes().size(), std::size_t(1));
    QVERIFY(m_messenger.lastTextUtf8().find("Toutes les conversions vont") != std::string::npos);
    QVERIFY(!panel->model().unit(1).empty());
    QCOMPARE(panel->model().rows().size(), std::size_t(1));

    m_messenger.answerNext(MessageAnswer::Yes);
    QTest::mouseClick(panel->clearUnitButton(1), Qt::LeftButton);
    QVERIFY(panel->model().unit(1).empty());
    QVERIFY(panel->model().rows().empty());
    QVERIFY(panel->defineButton(1)->isVisible());
    QVERIFY(!panel->swapButton()->isEnabled());
  }

  void swappingEmptiesTheListAndChecksAgain() {
    UnitsPanel* panel = openWithOneConversion();
    QVERIFY(panel);
    const UnitRecord current = panel->model().unit(0);
    QTest::mouseClick(panel->swapButton(), Qt::LeftButton);
    QVERIFY(panel->model().unit(1) == current);
    QVERIFY(panel->model().rows().empty());
    QVERIFY(!panel->model().unitsValidated());
    typeValue(panel, QStringLiteral("10"));
    QTest::mouseClick(panel->convertButton(), Qt::LeftButton);
    QVERIFY(panel->model().unitsValidated());
    QVERIFY(std::fabs(panel->model().rows().at(0).result - 36.0) < 1e-9);
  }

  void listRowsAndClearing() {
    UnitsPanel* panel = openWithOneConversion();
    QVERIFY(panel);
    typeValue(panel, QStringLiteral("72"));
    QTest::keyClick(panel->valueField(), Qt::Key_Return);
    QCOMPARE(panel->model().rows().size(), std::size_t(2));
    QCOMPARE(panel->model().conversionsText(), std::string("36\t10\r\n72\t20\r\n"));
    panel->command(kCmdClearLastConversion);
    QCOMPARE(panel->model().rows().size(), std::size_t(1));
    panel->command(kCmdClearConversions);
    QVERIFY(panel->model().rows().empty());
    QVERIFY(panel->model().valueText().empty());
    QVERIFY(!panel->reportSource()->hasReport());
  }

  void resultGoesToAMemoryAndAMemoryToTheValue() {
    UnitsPanel* panel = openWithOneConversion();
    QVERIFY(panel);
    QTest::mouseClick(panel->resultBox(), Qt::LeftButton);
    QVERIFY(panel->model().resultSelected());
    std::string text;
    QVERIFY(panel->memoryValue(text));
    double value = 0.0;
    QVERIFY(parseReal(text, value));
    QVERIFY(std::fabs(value - 10.0) < 1e-9);
    QVERIFY(panel->useMemory("2.5"));
    QCOMPARE(panel->valueField()->text(), QStringLiteral("2.5"));
  }

  void thousandthConversionIsTheLast() {
    UnitsPanel* panel = openWithOneConversion();
    QVERIFY(panel);
    UnitsModel& model = panel->model();
    QVERIFY(model.editValue("3"));
    for (int i = 1; i < kMaxConversionRows; ++i) QVERIFY(model.convert());
    QCOMPARE(model.rows().size(), std::size_t(kMaxConversionRows));
    m_messenger.clear();
    QVERIFY(!model.convert());
    QVERIFY(m_messenger.lastTextUtf8().find("Le nombre maximum") != std::string::npos);
    QCOMPARE(model.rows().size(), std::size_t(kMaxConversionRows));
  }

  void composedUnitThroughTheSheet() {
    UnitsPanel* panel = open();
    QVERIFY(panel);
    QVERIFY(panel->editUnit(0));
    UnitSheet* sheet = panel->sheet();
    sheet->nonStandardBox()->setChecked(true);
    QVERIFY(sheet->model().nonStandard());
    QVERIFY(sheet->composeButton(ComposeAction::One)->isEnabled());
    chooseInLists(sheet, "mètre");
    QCOMPARE(markupPlainUtf8(UnitText(sheet->model().unit())), std::string("m"));
    // A click right of m selects the gap after it; then s, divided.
    QVERIFY(!sheet->composeButton(ComposeAction::AppendDivide)->isEnabled());
    sheet->show();
    QTest::mouseClick(sheet->expressionView(), Qt::LeftButton, {},
                      QPoint(sheet->expressionView()->width() - 20, sheet->expressionView()->height() / 2));
    QCOMPARE(sheet->model().selectedGap(), 1);
    chooseInLists(sheet, "seconde");
    QVERIFY(sheet->composeButton(ComposeAction::AppendDivide)->isEnabled());
    QTest::mouseClick(sheet->composeButton(ComposeAction::AppendDivide), Qt::LeftButton);
    QCOMPARE(markupPlainUtf8(UnitText(sheet->model().unit())), std::string("m/s"));
    // s a second time: the quantity time twice is refused at OK.
    sheet->model().selectGap(2);
    sheet->refresh();
    chooseInLists(sheet, "seconde");
    QTest::mouseClick(sheet->composeButton(ComposeAction::AppendDivide), Qt::LeftButton);
    QCOMPARE(markupPlainUtf8(UnitText(sheet->model().unit())), std::string("m/s/s"));
    if (const QString folder = qEnvironmentVariable("QZ_SHOT_DIR"); !folder.isEmpty())
      sheet->grab().save(folder + QStringLiteral("/units-sheet.png"));
    m_messenger.clear();
    QTest::mouseClick(sheet->okButton(), Qt::LeftButton);
    QVERIFY(m_messenger.lastTextUtf8().find("plusieurs") != std::string::npos);
    QVERIFY(panel->sheet() != nullptr);
    sheet->model().selectComponent(2);
    sheet->refresh();
    QTest::mouseClick(sheet->composeButton(ComposeAction::Remove), Qt::LeftButton);
    QTest::mouseClick(sheet->okButton(), Qt::LeftButton);
    QTRY_VERIFY(panel->sheet() == nullptr);
    QCOMPARE(markupPlainUtf8(panel->unitLabel(0)->markup()), std::string("m/s"));

    defineUnit(panel, 1, "kilomètre par heure");
    typeValue(panel, QStringLiteral("10"));
    QTest::mouseClick(panel->convertButton(), Qt::LeftButton);
    QVERIFY(std::fabs(panel->model().rows().at(0).result - 36.0) < 1e-9);
  }

  void nonStandardRebuildsFromElementaryUnits() {
    UnitsPanel* panel = open();
    QVERIFY(panel);
    defineUnit(panel, 0, "kilomètre par heure");
    const double before = UnitFactor(panel->model().unit(0)).coefficient;
    QVERIFY(panel->editUnit(0));
    UnitSheet* sheet = panel->sheet();
    QVERIFY(!sheet->nonStandardBox()->isChecked());
    QCOMPARE(sheet->unitList()->currentText(), QStringLiteral("kilomètre par heure"));
    sheet->nonStandardBox()->setChecked(true);
    const UnitRecord& unit = sheet->model().unit();
    QCOMPARE(unit.count, 2);
    QCOMPARE(unit.components[1].unitKey, m_db.units[unitNamed("heure")].record.components[0].unitKey);
    QCOMPARE(markupPlainUtf8(UnitText(unit)), std::string("km/h"));
    QVERIFY(std::fabs(UnitFactor(unit).coefficient - before) < 1e-15);
    QTest::mouseClick(sheet->okButton(), Qt::LeftButton);
    QTRY_VERIFY(panel->sheet() == nullptr);
    // Unchecking the box empties the unit.
    QVERIFY(panel->editUnit(0));
    QVERIFY(panel->sheet()->nonStandardBox()->isChecked());
    panel->sheet()->nonStandardBox()->setChecked(false);
    QVERIFY(panel->sheet()->model().unit().empty());
    panel->sheet()->reject();
    QTRY_VERIFY(panel->sheet() == nullptr);
    QCOMPARE(markupPlainUtf8(UnitText(panel->model().unit(0))), std::string("km/h"));
  }

  void enterInTheValueFieldConvertsAndNothingElse() {
    UnitsPanel* panel = openWithOneConversion();
    QVERIFY(panel);
    window()->show();
    QVERIFY(QTest::qWaitForWindowExposed(window()));
    typeValue(panel, QStringLiteral("72"));
    QTest::keyClick(panel->valueField(), Qt::Key_Return);
    QCOMPARE(panel->model().rows().size(), std::size_t(2));
    QVERIFY(std::fabs(panel->model().rows()[1].result - 20.0) < 1e-12);
    QTest::keyClick(panel->valueField(), Qt::Key_Enter);
    QCOMPARE(panel->model().rows().size(), std::size_t(3));  // one conversion per Enter
    QVERIFY(window()->isVisible());
    QVERIFY(m_app->calculatorWindow() == window());
    QCOMPARE(panel->valueField()->text(), QStringLiteral("72"));
  }

  void zeroCelsiusConvertsIntoFahrenheit() {
    UnitsPanel* panel = open();
    QVERIFY(panel);
    defineUnit(panel, 0, "degré Celsius");
    defineUnit(panel, 1, "degré Fahrenheit");
    typeValue(panel, QStringLiteral("0"));
    QTest::mouseClick(panel->convertButton(), Qt::LeftButton);
    QCOMPARE(panel->model().rows().size(), std::size_t(1));
    QVERIFY(std::fabs(panel->model().rows()[0].result - 32.0) < 1e-12);
    QVERIFY(panel->resultBox()->text().contains(QStringLiteral("32")));
  }

  void invertTurnsMetresPerSecondIntoSecondsPerMetre() {
    UnitsPanel* panel = open();
    QVERIFY(panel);
    QVERIFY(panel->editUnit(0));
    UnitSheet* sheet = panel->sheet();
    sheet->nonStandardBox()->setChecked(true);
    chooseInLists(sheet, "mètre");
    sheet->model().selectGap(1);
    sheet->refresh();
    chooseInLists(sheet, "seconde");
    QTest::mouseClick(sheet->composeButton(ComposeAction::AppendDivide), Qt::LeftButton);
    QCOMPARE(markupPlainUtf8(UnitText(sheet->model().unit())), std::string("m/s"));
    QVERIFY(sheet->composeButton(ComposeAction::Invert)->isEnabled());
    QTest::mouseClick(sheet->composeButton(ComposeAction::Invert), Qt::LeftButton);
    QCOMPARE(markupPlainUtf8(UnitText(sheet->model().unit())), std::string("s/m"));
    QCOMPARE(QString::fromStdString(markupPlainUtf8(sheet->coefficientLabel()->markup())),
             QStringLiteral("x 1 (L^-1T)"));
    sheet->reject();
    QTRY_VERIFY(panel->sheet() == nullptr);
  }

  void prefixChosenAfterTheUnitAppliesInNonStandardMode() {
    UnitsPanel* panel = open();
    QVERIFY(panel);
    QVERIFY(panel->editUnit(0));
    UnitSheet* sheet = panel->sheet();
    sheet->nonStandardBox()->setChecked(true);
    chooseInLists(sheet, "watt");
    QVERIFY(sheet->prefixList()->isEnabled());
    sheet->prefixList()->setCurrentIndex(sheet->prefixList()->findData(3));
    QCOMPARE(markupPlainUtf8(UnitText(sheet->model().unit())), std::string("kW"));
    QVERIFY(QString::fromStdString(markupPlainUtf8(sheet->coefficientLabel()->markup()))
                .startsWith(QStringLiteral("x 1000 (")));
    QTest::mouseClick(sheet->okButton(), Qt::LeftButton);
    QTRY_VERIFY(panel->sheet() == nullptr);
    QCOMPARE(UnitFactor(panel->model().unit(0)).coefficient, 1000.0);
  }

  void nonStandardKeepsTheValueOfAUnitInPieces() {
    UnitsPanel* panel = open();
    QVERIFY(panel);
    defineUnit(panel, 0, "kilocalorie par heure");
    QVERIFY(panel->editUnit(0));
    UnitSheet* sheet = panel->sheet();
    sheet->nonStandardBox()->setChecked(true);
    const UnitRecord& unit = sheet->model().unit();
    QCOMPARE(markupPlainUtf8(UnitText(unit)), std::string("kcal/h"));
    QVERIFY(std::fabs(UnitFactor(unit).coefficient - 1.163) < 1e-12);
    QCOMPARE(QString::fromStdString(markupPlainUtf8(sheet->coefficientLabel()->markup())),
             QStringLiteral("x 1.163 (L^2MT^-3)"));
    if (const QString folder = qEnvironmentVariable("QZ_SHOT_DIR"); !folder.isEmpty()) {
      sheet->show();
      sheet->grab().save(folder + QStringLiteral("/units-sheet-composed.png"));
    }
    sheet->reject();
    QTRY_VERIFY(panel->sheet() == nullptr);
  }

  void anEmptyUnitShowsNoCoefficient() {
    UnitsPanel* panel = open();
    QVERIFY(panel);
    QVERIFY(panel->editUnit(0));
    QCOMPARE(panel->sheet()->coefficientLabel()->markup(), std::string());
    chooseInLists(panel->sheet(), "mètre");
    QCOMPARE(QString::fromStdString(markupPlainUtf8(panel->sheet()->coefficientLabel()->markup())),
             QStringLiteral("x 1 (L)"));
    QTest::mouseClick(panel->sheet()->composeButton(ComposeAction::ClearAll), Qt::LeftButton);
    QCOMPARE(panel->sheet()->coefficientLabel()->markup(), std::string());
    panel->sheet()->reject();
    QTRY_VERIFY(panel->sheet() == nullptr);
  }

  void coherenceWindowGivesTheFocusToAbandon() {
    UnitsPanel* panel = open();
    QVERIFY(panel);
    window()->show();
    defineUnit(panel, 0, "kilowattheure");
    QString focused;
    bool answered = false;
    int tries = 0;
    // The window is modal: look at it once it is up, then type Enter as a hurried user would.
    std::function<void()> answer = [&] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QDialog*>(w);
        if (!box || !box->isVisible() ||
            box->windowTitle() != QStringLiteral("Validation du changement d'unité"))
          continue;
        if (auto* button = qobject_cast<QPushButton*>(box->focusWidget())) focused = button->text();
        if (const QString folder = qEnvironmentVariable("QZ_SHOT_DIR"); !folder.isEmpty())
          box->grab().save(folder + QStringLiteral("/units-coherence.png"));
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
        answered = true;
        return;
      }
      if (++tries < 250) QTimer::singleShot(20, answer);
    };
    QTimer::singleShot(0, answer);
    defineUnit(panel, 1, "mètre");
    QTRY_VERIFY(answered);
    QCOMPARE(focused, QStringLiteral("Abando&nner"));
    QVERIFY2(panel->model().unit(1).empty(), "Enter refused the incoherent unit");
  }

  void conversionsListHasColumnHeadings() {
    UnitsPanel* panel = openWithOneConversion();
    QVERIFY(panel);
    QCOMPARE(ConversionsView::heading(0), QStringLiteral("Unité courante"));
    QCOMPARE(ConversionsView::heading(1), QStringLiteral("Nouvelle unité"));
    window()->resize(900, 560);
    window()->show();
    QVERIFY(QTest::qWaitForWindowExposed(window()));
    // The headings are drawn above the first row, in the list's own area.
    const QImage image = panel->conversionsView()->grab().toImage();
    const int band = QFontMetrics(panel->conversionsView()->font()).height();
    int dark = 0;
    for (int y = 4; y < band; ++y)
      for (int x = 8; x < image.width() / 2; ++x) dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    QVERIFY2(dark > 20, "no heading drawn over the list");
    shot("units-list-headings");
  }

  void invertAndRemoveKeepTheDenominator() {
    UnitRecord unit;
    UnitSheetModel sheet(m_db, unit, m_messenger);
    sheet.setNonStandard(true);
    sheet.chooseSystem(1);
    sheet.chooseCategory(1);
    sheet.chooseQuantity(1);
    sheet.chooseUnit(unitNamed("mètre"));
    sheet.compose(ComposeAction::Invert);
    QCOMPARE(markupPlainUtf8(UnitText(unit)), std::string("1/m"));
    sheet.selectComponent(0);
    sheet.compose(ComposeAction::Remove);
    QCOMPARE(unit.count, 1);
    QCOMPARE(DimensionOf(unit)[0], -1.0);
  }

  void cancellingTheSheetLeavesTheUnit() {
    UnitsPanel* panel = open();
    QVERIFY(panel);
    defineUnit(panel, 0, "mètre");
    const UnitRecord before = panel->model().unit(0);
    QVERIFY(panel->editUnit(0));
    chooseInLists(panel->sheet(), "seconde");
    QVERIFY(!(panel->sheet()->model().unit() == before));
    panel->sheet()->reject();
    QTRY_VERIFY(panel->sheet() == nullptr);
    QVERIFY(panel->model().unit(0) == before);
  }

  void recentUnitsPage() {
    UnitsPanel* panel = openWithOneConversion();
    QVERIFY(panel);
    QVERIFY(panel->editUnit(0));
    UnitSheet* sheet = panel->sheet();
    sheet->tabs()->setCurrentIndex(2);
    QCOMPARE(sheet->recentList()->count(), 2);
    QVERIFY(!sheet->okButton()->isVisible());
    sheet->recentList()->setCurrentRow(0);  // m/s, the most recent
    QTest::mouseClick(sheet->useRecentButton(), Qt::LeftButton);
    QCOMPARE(sheet->tabs()->currentIndex(), 0);
    QCOMPARE(markupPlainUtf8(UnitText(sheet->model().unit())), std::string("m/s"));
    QTest::mouseClick(sheet->okButton(), Qt::LeftButton);
    QTRY_VERIFY(panel->sheet() == nullptr);
    // The list made with km/h is recomputed on Yes (the default answer): 36 m/s stays 36 m/s.
    QVERIFY(std::fabs(panel->model().rows().at(0).result - 36.0) < 1e-9);
  }

  void clearingTheRecentUnits() {
    UnitsPanel* panel = openWithOneConversion();
    QVERIFY(panel);
    const UnitHistory history(m_app->app().places().userDataFolder);
    QVERIFY(QFileInfo::exists(QString::fromStdString(history.path())));
    QVERIFY(panel->editUnit(1));
    UnitSheet* sheet = panel->sheet();
    sheet->tabs()->setCurrentIndex(2);
    QVERIFY(!sheet->useRecentButton()->isEnabled());
    sheet->recentList()->setCurrentRow(1);
    QVERIFY(sheet->useRecentButton()->isEnabled());
    QPushButton* clear = nullptr;
    for (QPushButton* button : sheet->tabs()->widget(2)->findChildren<QPushButton*>())
      if (button->text() == QStringLiteral("&Effacer tout")) clear = button;
    QVERIFY(clear);
    QTest::mouseClick(clear, Qt::LeftButton);
    QCOMPARE(sheet->recentList()->count(), 0);
    QVERIFY(!sheet->useRecentButton()->isEnabled());
    QVERIFY(!QFileInfo::exists(QString::fromStdString(history.path())));
    sheet->reject();
    QTRY_VERIFY(panel->sheet() == nullptr);
  }

  void search_data() {
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("byName");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<QString>("expected");
    QTest::newRow("name without accent")
        << QStringLiteral("metre") << true << true << QStringLiteral("mètre");
    QTest::newRow("name upper case") << QStringLiteral("  KILOMETRE   par heure ") << true << false
                                     << QStringLiteral("kilomètre par heure");
    QTest::newRow("symbol whole") << QStringLiteral("km/h") << false << true
                                  << QStringLiteral("kilomètre par heure");
  }

  void search() {
    QFETCH(QString, query);
    QFETCH(bool, byName);
    QFETCH(bool, whole);
    QFETCH(QString, expected);
    const std::vector<int> found = searchUnits(m_db, utf8ToCp1252(query.toStdString()), byName, whole);
    QVERIFY(!found.empty());
    bool seen = false;
    for (int i : found) seen = seen || cp1252ToUtf8(m_db.units[i].name) == expected.toStdString();
    QVERIFY(seen);
  }

  void symbolWholeWordFindsOnlyThatSymbol() {
    const std::vector<int> found = searchUnits(m_db, "m", false, true);
    QVERIFY(!found.empty());
    for (int i : found) QCOMPARE(markupPlainUtf8(UnitText(m_db.units[i].record)), std::string("m"));
  }
};

QTEST_MAIN(UnitsPanelTest)
#include "units_panel_test.moc"

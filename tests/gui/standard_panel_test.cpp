// The standard calculator as a user drives it: keyboard and keypad, tape,
// document section, editing, refused input, memories and the display menu.
#include "gui/gui_test_support.h"
#include "standard/standard_panel.h"

#include <QApplication>
#include <QClipboard>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/calculator_window.h"
#include "app/commands.h"
#include "app/launcher.h"
#include "app/launcher_page.h"
#include "app/qz_application.h"
#include "platform/scripted_messenger.h"
#include "standard/display_field.h"
#include "standard/keypad_widget.h"
#include "standard/memory_boxes.h"
#include "standard/tape_view.h"

using namespace qz;

namespace {

// Keypad keys by their place in the table.
constexpr int kKeyFour = 4;
constexpr int kKeyTimes = 11;
constexpr int kKeyTotal = 19;
constexpr int kKeySquareRoot = 20;

std::vector<std::string> tapeText(StandardPanel* panel) {
  std::vector<std::string> lines;
  for (int i = 0; i < panel->engine().tape().count(); ++i)
    lines.push_back(panel->calculator().line(i).plainUtf8());
  return lines;
}

QString joined(const std::vector<std::string>& lines) {
  QStringList out;
  for (const std::string& line : lines) out << QString::fromStdString(line);
  return out.join(QLatin1Char('|'));
}

}  // namespace

class StandardPanelTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> m_dir;
  MemorySettingsStore m_store;
  ScriptedMessenger m_messenger;
  std::unique_ptr<QzApplication> m_app;

  FilePlaces places() const { return qz::testing::placesIn(m_dir->path()); }

  // Opens the standard calculator from the start page, its window active.
  StandardPanel* openStandard() {
    CalculatorWindow* window = qz::testing::openFromStartPage(*m_app, 0);
    if (!window || !QTest::qWaitForWindowActive(window)) return nullptr;
    auto* panel = qobject_cast<StandardPanel*>(window->panel());
    if (!panel || !QTest::qWaitFor([&] { return panel->display()->hasFocus(); })) return nullptr;
    return panel;
  }

  void clickKey(StandardPanel* panel, int key) {
    QTest::mouseClick(panel->keypad(), Qt::LeftButton, {}, KeypadWidget::keyRect(key).center());
  }

  QAction* menuAction(const QString& menuText, const QString& itemText) {
    for (QAction* top : m_app->calculatorWindow()->menuBar()->actions()) {
      if (top->text() != menuText || !top->menu()) continue;
      emit top->menu()->aboutToShow();
      for (QAction* a : top->menu()->findChildren<QAction*>())
        if (a->text() == itemText) return a;
    }
    return nullptr;
  }

 private slots:
  void init() {
    // A folder of its own for each test: the backup file carries the tape.
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = MemorySettingsStore();
    m_messenger.clear();
    m_app = std::make_unique<QzApplication>(m_store, m_messenger, places());
    m_app->start("");
  }

  void cleanup() {
    m_app.reset();
    m_dir.reset();
  }

  void keyboardAndKeypadBuildTheTape() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    QTest::keyClicks(panel->display(), "2+3");
    QTest::keyClick(panel->display(), Qt::Key_Return);
    QCOMPARE(joined(tapeText(panel)), QStringLiteral(" 2| +| 3| =| 5"));
    QVERIFY(panel->display()->text().isEmpty());

    // Times, 4 and Total from the keypad continue from the total.
    clickKey(panel, kKeyTimes);
    clickKey(panel, kKeyFour);
    QCOMPARE(panel->display()->text(), QStringLiteral("4"));
    clickKey(panel, kKeyTotal);
    QCOMPARE(joined(tapeText(panel)), QStringLiteral(" 2| +| 3| =| 5| *| 4| =| 20"));
    QCOMPARE(panel->engine().tape()[8].value, 20.0);
    QVERIFY(panel->display()->hasFocus());

    // A key shows pressed while the button is held, not after.
    QTest::mousePress(panel->keypad(), Qt::LeftButton, {}, KeypadWidget::keyRect(kKeySquareRoot).center());
    QCOMPARE(panel->calculator().pressedKey(), kKeySquareRoot);
    QTest::mouseRelease(panel->keypad(), Qt::LeftButton, {}, KeypadWidget::keyRect(kKeySquareRoot).center());
    QCOMPARE(panel->calculator().pressedKey(), -1);
  }

  void sectionSurvivesQuittingAndReopening() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    QTest::keyClicks(panel->display(), "2+3=*4=");
    QCOMPARE(panel->engine().tape().count(), 9);
    m_app->calculatorWindow()->runCommand(kCmdQuitCalculator);
    QTRY_VERIFY(m_app->calculatorWindow() == nullptr);

    const std::optional<std::string> body = m_app->app().document().LoadSection(0);
    QVERIFY(body.has_value());
    QVERIFY2(body->rfind("9\n", 0) == 0, body->c_str());
    QVERIFY(body->find("13|0|20|0|0|0|2") != std::string::npos);

    panel = openStandard();
    QVERIFY(panel);
    QCOMPARE(joined(tapeText(panel)), QStringLiteral(" 2| +| 3| =| 5| *| 4| =| 20"));
    // The tape shows its end and the display is empty, ready for typing.
    QCOMPARE(panel->calculator().firstVisible(), panel->calculator().scrollRange());
    QVERIFY(panel->display()->text().isEmpty());
  }

  void emptyTapeWritesNoSection() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    QVERIFY(!panel->sectionBody().has_value());
    QTest::keyClicks(panel->display(), "7");
    m_app->calculatorWindow()->runCommand(kCmdQuitCalculator);
    QTRY_VERIFY(m_app->calculatorWindow() == nullptr);
    QVERIFY(!m_app->app().document().LoadSection(0).has_value());
  }

  void ctrlZDeletesTheLastEntry() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    // With an empty tape Ctrl+Z does nothing, not even the field's own undo.
    QTest::keyClicks(panel->display(), "42");
    QTest::keyClick(panel->display(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(panel->display()->text(), QStringLiteral("42"));
    QVERIFY(!panel->commandEnabled(kCmdUndo));
    QVERIFY(!panel->reportSource()->hasReport());

    QTest::keyClicks(panel->display(), "+3=");
    QCOMPARE(panel->engine().tape().count(), 5);
    QVERIFY(panel->commandEnabled(kCmdUndo));
    QVERIFY(panel->reportSource()->hasReport());
    QTest::keyClick(panel->display(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(joined(tapeText(panel)), QStringLiteral(" 42| +| 3"));
    // The button in the same place does the same.
    QVERIFY(panel->deleteLastButton()->isVisible());
    QTest::mouseClick(panel->deleteLastButton(), Qt::LeftButton);
    QCOMPARE(joined(tapeText(panel)), QStringLiteral(" 42| +"));
  }

  void refusedKeystrokeBeepsAndKeepsTheText() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    QTest::keyClicks(panel->display(), "1.2");
    m_messenger.clear();
    QTest::keyClicks(panel->display(), ".3");
    QCOMPARE(panel->display()->text(), QStringLiteral("1.23"));
    QCOMPARE(m_messenger.sounds().size(), std::size_t{1});
    QVERIFY(m_messenger.boxes().empty());

    // Letters typed with Shift reach the field and are checked there too.
    QTest::keyClick(panel->display(), Qt::Key_Q, Qt::ShiftModifier);
    QCOMPARE(panel->display()->text(), QStringLiteral("1.23"));
    // The keypad's decimal key types a point even where it carries a comma.
    for (int i = 0; i < 3; ++i) QTest::keyClick(panel->display(), Qt::Key_Backspace);
    QCOMPARE(panel->display()->text(), QStringLiteral("1"));
    QTest::keyClick(panel->display(), ',', Qt::KeypadModifier);
    QCOMPARE(panel->display()->text(), QStringLiteral("1."));
    QTest::keyClicks(panel->display(), "23");
    // "e" becomes the exponent key: upper case in the field.
    QTest::keyClicks(panel->display(), "e5");
    QCOMPARE(panel->display()->text(), QStringLiteral("1.23E5"));
  }

  void leavingTheFieldWithABadNumberIsRefused() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    QTest::keyClicks(panel->display(), "7");
    // The text kept when the field takes the focus again is what comes back.
    panel->clearDisplayButton()->setFocus();
    panel->display()->setFocus();
    QTest::keyClicks(panel->display(), "2E");
    QCOMPARE(panel->display()->text(), QStringLiteral("72E"));
    m_messenger.clear();
    QTest::mouseClick(panel->memoryBoxes()->button(0), Qt::LeftButton);
    QCOMPARE(m_messenger.boxes().size(), std::size_t{1});
    QVERIFY(m_messenger.lastTextUtf8().find("Valeur incorrecte !") != std::string::npos);
    QCOMPARE(panel->display()->text(), QStringLiteral("7"));
    QVERIFY(!m_app->app().validEntry);
    QTRY_VERIFY(panel->display()->hasFocus());

    // Quitting waits for an accepted number: the focus check runs again and passes.
    m_app->calculatorWindow()->runCommand(kCmdQuitCalculator);
    QTRY_VERIFY(m_app->calculatorWindow() == nullptr);
    QVERIFY(m_app->app().validEntry);
  }

  void escapeCancelsWithoutChecking() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    QTest::keyClicks(panel->display(), "2+3=12E");
    m_messenger.clear();
    QTest::keyClick(panel->display(), Qt::Key_Escape);
    QTRY_VERIFY(m_app->calculatorWindow() == nullptr);
    // The one question is whether the tape may go; the display is not checked.
    QCOMPARE(m_messenger.boxes().size(), std::size_t{1});
    QVERIFY(m_messenger.lastTextUtf8().find("vont être perdues !") != std::string::npos);
    // Nothing of this run reached the document.
    QVERIFY(!m_app->app().document().LoadSection(0).has_value());
  }

  void signTypedAfterTheExponentAndADecimalComma() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    QTest::keyClicks(panel->display(), "1e+5");
    QCOMPARE(panel->display()->text(), QStringLiteral("1E+5"));
    QTest::keyClicks(panel->display(), "*2,5=");
    const Tape& tape = panel->calculator().engine().tape();
    QCOMPARE(tape[tape.count() - 1].kind, EntryKind::Total);
    QCOMPARE(tape[tape.count() - 1].value, 250000.0);
  }

  void clearAndEditionHaveTheirOwnMnemonics() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    CalculatorWindow* window = m_app->calculatorWindow();
    // No button's Alt key is taken by a menu: Alt+E once went to "&Effacer",
    // never to "&Edition".
    QMap<int, QString> menus;
    for (QAction* top : window->menuBar()->actions()) {
      const QKeySequence key = QKeySequence::mnemonic(top->text());
      if (!key.isEmpty()) menus.insert(key[0].toCombined(), top->text());
    }
    QVERIFY(menus.contains(QKeySequence::mnemonic(QStringLiteral("&Edition"))[0].toCombined()));
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
      if (!button->isVisibleTo(window)) continue;
      const QKeySequence key = QKeySequence::mnemonic(button->text());
      if (key.isEmpty()) continue;
      QVERIFY2(!menus.contains(key[0].toCombined()),
               qPrintable(button->text() + QStringLiteral(" and ") + menus.value(key[0].toCombined())));
    }
    QCOMPARE(panel->clearDisplayButton()->text(), QStringLiteral("Efface&r"));
  }

  void clearButtonDoesNotCheck() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    QTest::keyClicks(panel->display(), "12E");
    m_messenger.clear();
    QTest::mouseClick(panel->clearDisplayButton(), Qt::LeftButton);
    QVERIFY(m_messenger.boxes().empty());
    QVERIFY(panel->display()->text().isEmpty());
    QVERIFY(m_app->app().validEntry);
    QTRY_VERIFY(panel->display()->hasFocus());
  }

  void selectingAndUpdatingATapeNumber() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    QTest::keyClicks(panel->display(), "2+3=");
    TapeView* tape = panel->tapeView();
    const QRect paper = tape->paperRect();
    auto lineCentre = [&](int index) {
      const int row = index - panel->calculator().firstVisible();
      return QPoint(paper.left() + 30, paper.top() + 4 + row * tape->lineHeight() + tape->lineHeight() / 2);
    };
    QTest::mouseClick(tape, Qt::LeftButton, {}, lineCentre(2));
    QVERIFY(panel->calculator().line(2).selected);
    QCOMPARE(panel->display()->text(), QStringLiteral("3"));
    QVERIFY(panel->updateButton()->isVisible());
    QVERIFY(panel->endEditButton()->isVisible());
    QVERIFY(!panel->deleteLastButton()->isVisible());

    QTest::keyClicks(panel->display(), "4");
    QTest::mouseClick(panel->updateButton(), Qt::LeftButton);
    QCOMPARE(joined(tapeText(panel)), QStringLiteral(" 2| +| 4| =| 6"));

    QTest::mouseClick(panel->endEditButton(), Qt::LeftButton);
    QVERIFY(panel->deleteLastButton()->isVisible());
    QVERIFY(panel->display()->text().isEmpty());

    // A click below the lines while typing keeps the number being typed.
    QTest::keyClicks(panel->display(), "8");
    QTest::mouseClick(tape, Qt::LeftButton, {}, QPoint(paper.left() + 30, paper.bottom() - 3));
    QCOMPARE(panel->display()->text(), QStringLiteral("8"));

    // An operator selected: the display is disabled and "+" becomes "*".
    QTest::mouseClick(tape, Qt::LeftButton, {}, lineCentre(1));
    QVERIFY(!panel->display()->isEnabled());
    clickKey(panel, kKeyTimes);
    QCOMPARE(joined(tapeText(panel)), QStringLiteral(" 2| *| 4| =| 8"));
  }

  void tapeIsDrawnWithItsColours() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    QTest::keyClicks(panel->display(), "2+3=");
    TapeView* tape = panel->tapeView();
    const QRect paper = tape->paperRect();
    const int lh = tape->lineHeight();
    auto row = [&](int index) {
      return QRect(paper.left() + 1, paper.top() + 4 + index * lh, paper.width() - 2, lh);
    };
    auto hasInk = [](const QImage& image, const QRect& r, auto test) {
      for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
          if (test(image.pixelColor(x, y))) return true;
      return false;
    };
    auto darkRed = [](const QColor& c) { return c.red() > 90 && c.green() < 50 && c.blue() < 50; };
    auto navy = [](const QColor& c) { return c.blue() > 90 && c.red() < 50 && c.green() < 50; };

    QImage image = tape->grab().toImage();
    QVERIFY(hasInk(image, row(4), darkRed));  // the total
    QVERIFY(!hasInk(image, row(0), darkRed));
    QVERIFY(hasInk(image, row(1), navy));                                                  // "+"
    QVERIFY(!hasInk(image, row(5), [](const QColor& c) { return c.lightness() < 200; }));  // below the end

    // The selected line is filled; its dark red turns to the inverse.
    panel->calculator().clickEntry(4);
    panel->tapeView()->refresh();
    image = tape->grab().toImage();
    QCOMPARE(image.pixelColor(row(4).right() - 2, row(4).center().y()), QColor(10, 36, 106));
    QVERIFY(!hasInk(image, row(4), darkRed));
    QVERIFY(hasInk(image, row(4),
                   [](const QColor& c) { return c.red() < 160 && c.green() > 200 && c.blue() > 200; }));
  }

  void pressedKeyShowsItsOwnPicture() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    KeypadWidget* keypad = panel->keypad();
    const QImage rest = keypad->grab().toImage();
    const QRect cell = KeypadWidget::keyRect(kKeyFour);
    QTest::mousePress(keypad, Qt::LeftButton, {}, cell.center());
    const QImage pressed = keypad->grab().toImage();
    QTest::mouseRelease(keypad, Qt::LeftButton, {}, cell.center());
    const qreal ratio = rest.devicePixelRatio();
    auto part = [&](const QImage& image, const QRect& r) {
      return image.copy(QRect((QPointF(r.topLeft()) * ratio).toPoint(), (QSizeF(r.size()) * ratio).toSize()));
    };
    QVERIFY(part(rest, cell) != part(pressed, cell));
    const QRect other = KeypadWidget::keyRect(kKeyTotal);
    QCOMPARE(part(rest, other), part(pressed, other));
    QCOMPARE(panel->display()->text(), QStringLiteral("4"));
  }

  void clearTapeAsksFirst() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    QTest::keyClicks(panel->display(), "1+1=");
    m_messenger.answerNext(MessageAnswer::No);
    QTest::mouseClick(panel->clearTapeButton(), Qt::LeftButton);
    QCOMPARE(panel->engine().tape().count(), 5);
    QVERIFY(m_messenger.lastTextUtf8().find("Toutes les valeurs affichées vont être effacées") !=
            std::string::npos);
    m_messenger.answerNext(MessageAnswer::Yes);
    QTest::mouseClick(panel->clearTapeButton(), Qt::LeftButton);
    QCOMPARE(panel->engine().tape().count(), 0);
    QVERIFY(!panel->clearTapeButton()->isEnabled());
  }

  void displayMenuChangesTheSettingForTheRun() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    QAction* fixed = menuAction(QStringLiteral("Affic&hage"), QStringLiteral("&Fixe"));
    QAction* free = menuAction(QStringLiteral("Affic&hage"), QStringLiteral("&Libre"));
    QAction* three = menuAction(QStringLiteral("Affic&hage"), QStringLiteral("3"));
    QVERIFY(fixed && free && three);
    QVERIFY(free->isChecked());
    QVERIFY(!three->isEnabled());

    fixed->trigger();
    QCOMPARE(m_app->app().displaySetting.mode, 1);
    QVERIFY(three->isEnabled());
    QVERIFY(fixed->isChecked() && !free->isChecked());
    three->trigger();
    QCOMPARE(m_app->app().displaySetting.decimals, 3);
    QTest::keyClicks(panel->display(), "2+3=");
    QCOMPARE(joined(tapeText(panel)), QStringLiteral(" 2.000| +| 3.000| =| 5.000"));

    // The next window starts with the setting the user chose.
    m_app->calculatorWindow()->runCommand(kCmdQuitCalculator);
    QTRY_VERIFY(m_app->calculatorWindow() == nullptr);
    panel = openStandard();
    QVERIFY(panel);
    QCOMPARE(panel->engine().displaySetting().mode, 1);
    QCOMPARE(panel->engine().displaySetting().decimals, 3);
  }

  void editMenuHoldsUndoCopyAndPaste() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    QMenu* edit = nullptr;
    for (QAction* top : m_app->calculatorWindow()->menuBar()->actions())
      if (top->text() == QStringLiteral("&Edition")) edit = top->menu();
    QVERIFY(edit);
    QStringList texts;
    for (QAction* a : edit->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(texts, (QStringList{QStringLiteral("&Annuler"), QStringLiteral("-"), QStringLiteral("&Copier"),
                                 QStringLiteral("C&oller")}));
    QCOMPARE(edit->actions().front()->shortcut(), QKeySequence(QKeySequence::Undo));
  }

  void copyAndPasteGoThroughTheDisplay() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    // "-" is the minus key; the sign comes from the change-sign key.
    QTest::keyClicks(panel->display(), "1.5E3");
    panel->display()->setCursorPosition(0);
    m_app->calculatorWindow()->runCommand(static_cast<int>(StandardCommand::ChangeSign));
    m_app->calculatorWindow()->runCommand(kCmdCopy);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("-1.5E3"));

    QApplication::clipboard()->setText(QStringLiteral("abc"));
    m_messenger.clear();
    m_app->calculatorWindow()->runCommand(kCmdPaste);
    QCOMPARE(panel->display()->text(), QStringLiteral("-1.5E3"));
    QCOMPARE(m_messenger.sounds().size(), std::size_t{1});

    QApplication::clipboard()->setText(QStringLiteral("2.5e-3\n"));
    QTest::keyClick(panel->display(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(panel->display()->text(), QStringLiteral("2.5E-3"));
  }

  void memoriesShowAndFillTheDisplay() {
    m_app->app().memories[3] = 123456789012.0;
    m_app->app().memories[7] = -1.0 / 3.0;
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    MemoryBox* box = panel->memoryBoxes()->box(3);
    const QSize shown = box->size();
    box->resize(200, shown.height());
    QCOMPARE(box->valueText(), QStringLiteral("123456789012"));
    // Narrowed, the box keeps the largest precision that still fits.
    box->resize(80, shown.height());
    const QString narrow = box->valueText();
    QVERIFY2(narrow.startsWith(QStringLiteral("1.23")) && narrow.endsWith(QStringLiteral("E+011")),
             qPrintable(narrow));
    box->resize(10, shown.height());
    QVERIFY(box->valueText().isEmpty());
    box->resize(shown);

    QTest::mouseClick(panel->memoryBoxes()->button(7), Qt::LeftButton);
    QCOMPARE(panel->display()->text(), QStringLiteral("-0.333333333333"));
    QTRY_VERIFY(panel->display()->hasFocus());

    // Copying the display into a memory goes through the shared menu command.
    m_app->calculatorWindow()->runCommand(kCmdCopyToMemory + 1);
    QCOMPARE(m_app->app().memories[1], -0.333333333333);
  }

  void scrollBarPagesByFiveLines() {
    StandardPanel* panel = openStandard();
    QVERIFY(panel);
    for (int i = 0; i < 20; ++i) QTest::keyClicks(panel->display(), "1+");
    StandardCalculator& calc = panel->calculator();
    QCOMPARE(calc.firstVisible(), calc.scrollRange());
    QVERIFY(calc.scrollRange() > 10);
    QScrollBar* bar = panel->tapeView()->scrollBar();
    QCOMPARE(bar->value(), calc.scrollRange());
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(calc.firstVisible(), calc.scrollRange() - 5);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(calc.firstVisible(), calc.scrollRange() - 6);
    bar->setValue(0);
    QCOMPARE(calc.firstVisible(), 0);
    // A new entry shows the end again.
    QTest::keyClicks(panel->display(), "2=");
    QCOMPARE(calc.firstVisible(), calc.scrollRange());
    QCOMPARE(bar->value(), calc.scrollRange());
  }
};

QTEST_MAIN(StandardPanelTest)
#include "standard_panel_test.moc"

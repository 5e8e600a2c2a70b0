// The geometric calculator as a user drives it: choosing a figure, typing a
// known value, computing, reading a value off the picture, and the data kept
// in the document across windows.
#include "gui/gui_test_support.h"
#include "geometry/geometry_panel.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/calculator_window.h"
#include "app/commands.h"
#include "app/launcher.h"
#include "app/launcher_page.h"
#include "app/main_frame.h"
#include "app/qz_application.h"
#include "geometry/figure_view.h"
#include "geometry/geometry_model.h"
#include "geometry/known_data_view.h"
#include "geometry/result_view.h"
#include "platform/scripted_messenger.h"

using namespace qz;

class GeometryPanelTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> m_dir;
  MemorySettingsStore m_store;
  ScriptedMessenger m_messenger;
  std::unique_ptr<QzApplication> m_app;

  FilePlaces places() const { return qz::testing::placesIn(m_dir->path()); }
  static QPoint zoneCentre(int zone) { return qz::testing::zoneCentre(zone); }
  GeometryPanel* open() {
    m_app = std::make_unique<QzApplication>(m_store, m_messenger, places());
    m_app->start("");
    return reopen();
  }
  GeometryPanel* reopen() {
    CalculatorWindow* window = qz::testing::openFromStartPage(*m_app, 3);
    return window ? qobject_cast<GeometryPanel*>(window->panel()) : nullptr;
  }
  CalculatorWindow* window() const { return m_app->calculatorWindow(); }

  /// With QZ_SHOT_DIR set, saves a picture of the window (for looking at it).
  void shot(const char* name) {
    const QString folder = qEnvironmentVariable("QZ_SHOT_DIR");
    if (folder.isEmpty() || !window()) return;
    window()->grab().save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
  }
  static void chooseFigure(GeometryPanel* panel, const QString& name) {
    const int index = panel->figureList()->findText(name);
    QVERIFY2(index >= 0, qPrintable(name));
    panel->figureList()->setCurrentIndex(index);
  }
  static int variable(GeometryPanel* panel, const char* name) {
    return panel->model().table().lookupVariable(name, true);
  }
  static double valueOf(GeometryPanel* panel, const char* name) {
    return panel->model().table().at(variable(panel, name)).value;
  }
  static int stateOf(GeometryPanel* panel, const char* name) {
    return panel->model().table().at(variable(panel, name)).state;
  }
  /// Clicks row `r` of the known-data grid and types `text` over its value.
  static void typeInRow(GeometryPanel* panel, int r, const QString& text) {
    KnownDataView* grid = panel->knownData();
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->valueCell(r).center());
    QVERIFY(grid->editorOpen());
    QCOMPARE(grid->editorRow(), r);
    QTest::keyClicks(grid->editor(), text);
  }
  /// Opens `widget`'s context menu at `at` and triggers its item `text`
  /// from inside the menu's loop; false when no menu showed that item
  /// enabled (the menu is closed all the same).
  static bool chooseFromMenu(QWidget* widget, QPoint at, const QString& text) {
    auto found = std::make_shared<bool>(false);
    QTimer::singleShot(0, widget, [found, text] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      for (QAction* action : menu->actions()) {
        if (action->text() == text && action->isEnabled()) {
          *found = true;
          action->trigger();
        }
      }
      menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    return *found;
  }
  /// Centre of the label of `name` in the picture (drawn first).
  static QPoint labelCentre(GeometryPanel* panel, const char* name) {
    panel->figureView()->grab();
    const Rect label = panel->model().table().at(variable(panel, name)).labelRect;
    return QPoint((label.left + label.right) / 2, (label.top + label.bottom) / 2);
  }
  static int rowOf(GeometryPanel* panel, const char* name) {
    for (int r = 0; r < panel->model().rows(); ++r)
      if (panel->model().rowName(r) == name) return r;
    return -1;
  }

 private slots:
  void init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = MemorySettingsStore();
    m_messenger.clear();
    m_messenger.setDefaultAnswer(MessageAnswer::Yes);
  }
  void cleanup() {
    if (m_app && window()) window()->runCommand(kCmdQuitProgram);
    m_app.reset();
  }

  void squareFromItsSide() {
    GeometryPanel* panel = open();
    QVERIFY(panel);
    QVERIFY(panel->planeButton()->isChecked());
    chooseFigure(panel, QStringLiteral("Carré"));
    QVERIFY(panel->model().loaded());
    QVERIFY(!panel->subFigureList()->isVisible());
    const int row = rowOf(panel, "L");
    QVERIFY(row >= 0);
    typeInRow(panel, row, QStringLiteral("2,5"));
    QTest::mouseClick(panel->calculateButton(), Qt::LeftButton);
    QVERIFY(!panel->knownData()->editorOpen());
    QCOMPARE(panel->model().rowValue(row), 2.5);
    QCOMPARE(stateOf(panel, "S"), static_cast<int>(kKnown));
    QCOMPARE(valueOf(panel, "S"), 6.25);
    QCOMPARE(valueOf(panel, "P"), 10.0);
    QVERIFY(m_app->app().validEntry);

    // The surface picked off the picture is the shown result, then copied.
    panel->clickVariable(variable(panel, "S"));
    QCOMPARE(panel->model().resultText(), std::string("S=6.25"));
    QTest::mouseClick(panel->resultView(), Qt::LeftButton);
    QVERIFY(panel->model().resultSelected());
    shot("geometry-square");
    window()->runCommand(kCmdCopy);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("6.25"));
    // ...and put in memory 2, then into the side's row.
    window()->runCommand(kCmdCopyToMemory + 2);
    QCOMPARE(m_app->app().memories[2], 6.25);
    QTest::mouseClick(panel->knownData(), Qt::LeftButton, {}, panel->knownData()->valueCell(row).center());
    window()->runCommand(kCmdUseMemory + 2);
    QCOMPARE(panel->knownData()->editor()->text(), QStringLiteral("6.25"));
    QTest::mouseClick(panel->calculateButton(), Qt::LeftButton);
    QCOMPARE(valueOf(panel, "P"), 25.0);

    // A number pasted into the open row is taken at once; text is refused.
    QTest::mouseClick(panel->knownData(), Qt::LeftButton, {}, panel->knownData()->valueCell(row).center());
    QApplication::clipboard()->setText(QStringLiteral(" 4 "));
    window()->runCommand(kCmdPaste);
    QCOMPARE(panel->model().rowValue(row), 4.0);
    QCOMPARE(valueOf(panel, "P"), 16.0);
    m_messenger.clear();
    QApplication::clipboard()->setText(QStringLiteral("quatre"));
    window()->runCommand(kCmdPaste);
    QVERIFY(m_messenger.lastTextUtf8().find("Valeur incorrecte") != std::string::npos);
    QCOMPARE(panel->model().rowValue(row), 4.0);
  }

  void refusedEntriesKeepTheRow() {
    GeometryPanel* panel = open();
    QVERIFY(panel);
    chooseFigure(panel, QStringLiteral("Carré"));
    const int row = rowOf(panel, "L");
    const double before = panel->model().rowValue(row);
    // The side: minimum 0, no maximum below 1E300, 0 forbidden.
    struct Case {
      const char* name;
      QString typed;
      const char* message;
    } cases[] = {
        {"empty", QString(), "Introduire une valeur dans ce champ !"},
        {"forbidden value", QStringLiteral("0"), "Valeur (0) interdite !"},
        {"above the maximum", QStringLiteral("2E300"), "Valeur maximale = "},
    };
    for (const Case& c : cases) {
      m_messenger.clear();
      typeInRow(panel, row, c.typed.isEmpty() ? QStringLiteral("1") : c.typed);
      if (c.typed.isEmpty()) panel->knownData()->editor()->clear();
      QTest::mouseClick(panel->calculateButton(), Qt::LeftButton);
      QVERIFY2(m_messenger.lastTextUtf8().find(c.message) != std::string::npos, c.name);
      QCOMPARE(panel->model().rowValue(row), before);
    }
    // While a refused value waits in the editor, leaving is refused too.
    m_messenger.clear();
    typeInRow(panel, row, QStringLiteral("0"));
    window()->runCommand(kCmdQuitCalculator);
    QVERIFY(m_messenger.lastTextUtf8().find("interdite") != std::string::npos);
    QVERIFY(window() != nullptr);
    QVERIFY(!m_app->app().validEntry);
    QCOMPARE(panel->knownData()->editor()->text(), QStringLiteral("10"));
    // A minus sign is refused as it is typed: the side is never negative.
    m_messenger.clear();
    typeInRow(panel, row, QStringLiteral("-"));
    QCOMPARE(panel->knownData()->editor()->text(), QStringLiteral("10"));
    QVERIFY(!m_messenger.sounds().empty());
    // A letter is refused as it is typed.
    m_messenger.clear();
    typeInRow(panel, row, QStringLiteral("x"));
    QVERIFY(!panel->knownData()->editor()->text().contains(QLatin1Char('x')));
    QVERIFY(!m_messenger.sounds().empty());
  }

  void dimensionsRememberTheirFigure() {
    GeometryPanel* panel = open();
    QVERIFY(panel);
    chooseFigure(panel, QStringLiteral("Carré"));
    const int plane = panel->model().figure();
    QTest::mouseClick(panel->solidButton(), Qt::LeftButton);
    QCOMPARE(panel->model().dimension(), 1);
    QCOMPARE(panel->model().figure(), 27);
    QVERIFY(panel->model().loaded());
    // Figure 31 has no perimeter in its legend.
    panel->figureList()->setCurrentIndex(31 - 24);
    QCOMPARE(panel->model().figure(), 31);
    QVERIFY(panel->legendWithoutPerimeter()->isVisible());
    QVERIFY(!panel->legend()->isVisible());
    panel->clickVariable(variable(panel, "V"));
    shot("geometry-solid");
    QTest::mouseClick(panel->planeButton(), Qt::LeftButton);
    QCOMPARE(panel->model().figure(), plane);
    QVERIFY(panel->legend()->isVisible());
  }

  void knownDataKeptInTheDocument() {
    GeometryPanel* panel = open();
    QVERIFY(panel);
    chooseFigure(panel, QStringLiteral("Carré"));
    const int figure = panel->model().figure();
    const int row = rowOf(panel, "L");
    typeInRow(panel, row, QStringLiteral("7"));
    window()->runCommand(kCmdQuitCalculator);
    QTRY_VERIFY(window() == nullptr);
    const std::optional<std::string> body = m_app->app().document().LoadSection(3);
    QVERIFY(body.has_value());
    QCOMPARE(body->substr(0, 2), std::string("0\n"));
    QVERIFY(body->find("|7|") != std::string::npos);

    panel = reopen();
    QVERIFY(panel);
    QCOMPARE(panel->model().figure(), figure);
    QCOMPARE(panel->figureList()->currentText(), QStringLiteral("Carré"));
    QCOMPARE(panel->model().rowValue(rowOf(panel, "L")), 7.0);
    QCOMPARE(valueOf(panel, "P"), 28.0);
  }

  void clickOnTheLabelInThePicture() {
    GeometryPanel* panel = open();
    QVERIFY(panel);
    chooseFigure(panel, QStringLiteral("Carré"));
    panel->figureView()->grab();  // the drawing places the labels
    const Rect label = panel->model().table().at(variable(panel, "P")).labelRect;
    QVERIFY(!label.isEmpty());
    QTest::mouseClick(panel->figureView(), Qt::LeftButton, {},
                      QPoint((label.left + label.right) / 2, (label.top + label.bottom) / 2));
    QCOMPARE(panel->model().resultText(), std::string("P=40"));
    QVERIFY(!panel->model().resultSelected());
    // "Efface&r" gives the figure its first datum back; the shown value goes.
    typeInRow(panel, rowOf(panel, "L"), QStringLiteral("3"));
    QTest::mouseClick(panel->calculateButton(), Qt::LeftButton);
    QCOMPARE(panel->model().resultText(), std::string("P=12"));
    QTest::mouseClick(panel->clearButton(), Qt::LeftButton);
    QCOMPARE(panel->model().rows(), 1);
    QCOMPARE(panel->model().rowValue(0), 10.0);
    QCOMPARE(panel->model().resultText(), std::string("?"));
  }

  void clickingAnUnknownMakesItADatum() {
    GeometryPanel* panel = open();
    QVERIFY(panel);
    // A rectangle left with one side: its other dimensions are unknown.
    chooseFigure(panel, QStringLiteral("Rectangle"));
    QCOMPARE(panel->model().rows(), 2);
    panel->model().removeRow(1);
    panel->update();
    int unknown = -1;
    VariableTable& table = panel->model().table();
    for (int v = table.predefinedCount(); v < table.size() && unknown < 0; ++v) {
      const GeoVariable& g = table.at(v);
      if (g.shown && g.kind != 'V' && g.kind != 'R' && g.kind != 'C' && g.state == kUnknown &&
          table.lookupVariable(g.name, true) == v)
        unknown = v;
    }
    QVERIFY(unknown >= 0);
    const int rows = panel->model().rows();
    panel->clickVariable(unknown);
    QCOMPARE(panel->model().rows(), rows + 1);
    QCOMPARE(panel->model().rowName(rows), panel->model().table().at(unknown).name);
    QVERIFY(panel->knownData()->editorOpen());
    QCOMPARE(panel->knownData()->editorRow(), rows);
    QVERIFY(panel->model().table().at(unknown).given);
  }

  void dataTakenFromThePictureAndRemovedFromTheGrid() {
    GeometryPanel* panel = open();
    QVERIFY(panel);
    chooseFigure(panel, QStringLiteral("Rectangle"));
    QCOMPARE(panel->model().rows(), 2);
    QCOMPARE(stateOf(panel, "D"), static_cast<int>(kKnown));
    const double diagonal = valueOf(panel, "D");
    // The computed diagonal becomes a datum holding its value.
    QVERIFY(chooseFromMenu(panel->figureView(), labelCentre(panel, "D"), FigureView::takeText()));
    QCOMPARE(panel->model().rows(), 3);
    QCOMPARE(panel->model().rowName(2), std::string("D"));
    QCOMPARE(panel->model().rowValue(2), diagonal);
    QCOMPARE(panel->knownData()->editorRow(), 2);
    // On a given one, the menu only selects its row.
    QVERIFY(chooseFromMenu(panel->figureView(), labelCentre(panel, "L1"), FigureView::takeText()));
    QCOMPARE(panel->model().rows(), 3);
    QCOMPARE(panel->knownData()->editorRow(), 0);
    shot("geometry-taken");

    // Échap leaves the editor for the grid, where Suppr removes the row.
    window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window()));
    QTest::keyClick(panel->knownData()->editor(), Qt::Key_Escape);
    QVERIFY(!panel->knownData()->editorOpen());
    QVERIFY(panel->knownData()->hasFocus());
    QCOMPARE(panel->model().selectedRow(), 0);
    shot("geometry-row-selected");
    QTest::keyClick(panel->knownData(), Qt::Key_Delete);
    QCOMPARE(panel->model().rows(), 2);
    QCOMPARE(panel->model().rowName(0), std::string("L2"));
    QCOMPARE(panel->model().rowName(1), std::string("D"));
    QVERIFY(!panel->model().table().at(variable(panel, "L1")).given);
    // The first side now follows from the other one and the diagonal.
    QCOMPARE(stateOf(panel, "L1"), static_cast<int>(kKnown));
    QCOMPARE(panel->model().selectedRow(), 0);

    // The row's context menu removes it, even while it is being edited.
    typeInRow(panel, 1, QStringLiteral("0"));
    m_messenger.clear();
    QVERIFY(chooseFromMenu(panel->knownData(), panel->knownData()->nameCell(1).center(),
                           KnownDataView::removeText()));
    // The value being typed into it is dropped, not refused.
    QVERIFY(m_messenger.boxes().empty());
    QVERIFY(!panel->knownData()->editorOpen());
    QCOMPARE(panel->model().rows(), 1);
    QCOMPARE(panel->model().rowName(0), std::string("L2"));
    QCOMPARE(stateOf(panel, "D"), static_cast<int>(kUnknown));
    QVERIFY(m_app->app().validEntry);
    // No menu under an empty row.
    QVERIFY(!chooseFromMenu(panel->knownData(), panel->knownData()->nameCell(5).center(),
                            KnownDataView::removeText()));
    QCOMPARE(panel->model().rows(), 1);
    // "Efface&r" still gives the figure its first data back.
    QTest::mouseClick(panel->clearButton(), Qt::LeftButton);
    QCOMPARE(panel->model().rows(), 2);
  }

  void subFigureListFollowsTheFigure() {
    GeometryPanel* panel = open();
    QVERIFY(panel);
    chooseFigure(panel, QStringLiteral("Carré"));
    QVERIFY(!panel->subFigureList()->isVisible());
    int several = -1;
    for (int i = 0; i < panel->figureList()->count() && several < 0; ++i) {
      panel->figureList()->setCurrentIndex(i);
      if (panel->model().layout().subFigures.size() >= 2) several = i;
    }
    QVERIFY(several >= 0);
    QVERIFY(panel->subFigureList()->isVisible());
    QCOMPARE(panel->subFigureList()->count(), static_cast<int>(panel->model().layout().subFigures.size()));
    panel->subFigureList()->setCurrentIndex(1);
    QCOMPARE(panel->model().subFigure(), 1);
    QCOMPARE(panel->model().document().figures[static_cast<size_t>(panel->model().figure())].subFigure, 1);
    shot("geometry-subfigure");
  }

  void impossibleTriangleShowsNoValue() {
    GeometryPanel* panel = open();
    QVERIFY(panel);
    chooseFigure(panel, QStringLiteral("Triangle quelconque"));
    const struct {
      const char* side;
      const char* value;
    } sides[] = {{"L1", "1"}, {"L2", "1"}, {"L3", "5"}};
    for (const auto& side : sides) {
      const int row = rowOf(panel, side.side);
      QVERIFY2(row >= 0, side.side);
      typeInRow(panel, row, QString::fromLatin1(side.value));
    }
    QTest::mouseClick(panel->calculateButton(), Qt::LeftButton);
    QCOMPARE(stateOf(panel, "S"), static_cast<int>(kIncalculable));
    m_messenger.clear();
    panel->clickVariable(variable(panel, "S"));
    QVERIFY(m_messenger.lastTextUtf8().find("Valeur incalculable avec les données introduites") !=
            std::string::npos);
    QVERIFY(!panel->model().resultShown());
  }

  void withoutItsCatalogueTheCalculatorCloses() {
    const QByteArray shipped = qgetenv("QZ_DATA_DIR");
    QTemporaryDir empty;
    qputenv("QZ_DATA_DIR", empty.path().toLocal8Bit());
    m_app = std::make_unique<QzApplication>(m_store, m_messenger, places());
    m_app->start("");
    QTest::mouseClick(m_app->page(), Qt::LeftButton, {}, zoneCentre(3));
    qputenv("QZ_DATA_DIR", shipped);
    QTRY_VERIFY(!m_messenger.boxes().empty());
    QTRY_VERIFY(window() == nullptr);
    QVERIFY(!m_app->app().document().LoadSection(3).has_value());
  }
};

QTEST_MAIN(GeometryPanelTest)
#include "geometry_panel_test.moc"

// The calculation report from each calculator window as a user gets it:
// printed (to a PDF printer, or without any printer), exported as RTF and as
// PDF, the statistics options, the trend dialog's diagram page, the commands
// enabled only with something to report, and the message of a report too long.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>

#include "app/calculator_window.h"
#include "app/commands.h"
#include "app/qz_application.h"
#include "geometry/geometry_model.h"
#include "geometry/geometry_panel.h"
#include "geometry/known_data_view.h"
#include "gui/gui_test_support.h"
#include "numbers/cp1252.h"
#include "platform/scripted_messenger.h"
#include "report/export_dialog.h"
#include "report/print_dialog.h"
#include "report/report_options_dialog.h"
#include "report/report_service.h"
#include "scientific/field_widgets.h"
#include "scientific/scientific_calculator.h"
#include "scientific/scientific_panel.h"
#include "standard/display_field.h"
#include "standard/standard_panel.h"
#include "statistics/statistics_calculator.h"
#include "statistics/statistics_panel.h"
#include "statistics/trend_dialog.h"
#include "files/recent_files.h"
#include "units/unit_section.h"
#include "units/units_panel.h"
#include "units/units_database.h"

using namespace qz;

namespace {

/// Owns the watches of the running test: a dialog that never showed must not
/// answer the next test's.
std::unique_ptr<QObject> s_watches;

/// Runs `act` on the next modal dialog of type T once it shows (the dialogs
/// run their own loop; the timer fires inside it).
template <typename T>
void whenShown(std::function<void(T*)> act) {
  auto* timer = new QTimer(s_watches.get());
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!dialog) return;
    timer->stop();
    timer->deleteLater();
    act(dialog);
  });
  timer->start();
}

/// Saves a picture of `widget` in $QZ_SHOT_DIR when it is set (to look at the dialogs).
void shot(QWidget* widget, const char* name) {
  const QString folder = qEnvironmentVariable("QZ_SHOT_DIR");
  if (!folder.isEmpty()) widget->grab().save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

/// Keeps a copy of an output file in $QZ_SHOT_DIR when it is set.
void keep(const QString& path, const char* name) {
  const QString folder = qEnvironmentVariable("QZ_SHOT_DIR");
  if (folder.isEmpty()) return;
  const QString copy = folder + QLatin1Char('/') + QLatin1String(name);
  QFile::remove(copy);
  QFile::copy(path, copy);
}

void printAll() {
  whenShown<PrintDialog>([](PrintDialog* d) {
    shot(d, "print-dialog");
    d->printButton()->click();
  });
}

QString run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return QStringLiteral("<%1 failed>").arg(program);
  return QString::fromUtf8(process.readAllStandardOutput());
}

/// The text of a PDF file, by poppler's pdftotext with the layout kept.
QString pdfText(const QString& path) { return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")}); }

int pdfPages(const QString& path) {
  const QString info = run(QStringLiteral("pdfinfo"), {path});
  for (const QString& line : info.split(QLatin1Char('\n')))
    if (line.startsWith(QStringLiteral("Pages:"))) return line.mid(6).trimmed().toInt();
  return -1;
}

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ReportTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> m_dir;
  MemorySettingsStore m_store;
  ScriptedMessenger m_messenger;
  std::unique_ptr<QzApplication> m_app;

  CalculatorWindow* window() const { return m_app->calculatorWindow(); }
  QString printed() const { return m_dir->filePath(QStringLiteral("printed.pdf")); }
  QString exportFolder() const { return QString::fromStdString(m_app->app().defaultFolderPath(kExportFolder)); }

  void start(const std::string& document = "") {
    m_app = std::make_unique<QzApplication>(m_store, m_messenger, qz::testing::placesIn(m_dir->path()));
    m_app->start(document);
  }
  template <typename Panel>
  Panel* open(int calculator) {
    CalculatorWindow* w = qz::testing::openFromStartPage(*m_app, calculator);
    if (!w || !QTest::qWaitForWindowActive(w)) return nullptr;
    return qobject_cast<Panel*>(w->panel());
  }
  QAction* fileAction(int command) const {
    for (QAction* action : window()->menuBar()->findChildren<QAction*>())
      if (action->data().isValid() && action->data().toInt() == command) return action;
    return nullptr;
  }
  QAction* toolAction(int command) const {
    for (QAction* action : window()->toolBar()->actions())
      if (action->data().isValid() && action->data().toInt() == command) return action;
    return nullptr;
  }
  /// Menus refresh their enabled states as they open.
  bool menuEnabled(int command) {
    QMenu* file = window()->menuBar()->findChildren<QMenu*>().front();
    emit file->aboutToShow();
    return fileAction(command)->isEnabled();
  }

  /// 12 + 30 = on the standard calculator.
  StandardPanel* standardWithASum() {
    auto* panel = open<StandardPanel>(0);
    if (panel) QTest::keyClicks(panel->display(), "12+30=");
    return panel;
  }

  /// y = 2*x + 1 for x = 1, 2, 3.
  ScientificPanel* scientificWithThreePairs() {
    auto* panel = open<ScientificPanel>(1);
    if (!panel || !QTest::qWaitFor([&] { return panel->expressionField()->hasFocus(); })) return nullptr;
    panel->expressionField()->setFocus();
    panel->expressionField()->selectAll();
    QTest::keyClicks(panel->expressionField(), "y=2*x+1");
    for (const char* x : {"1", "2", "3"}) {
      panel->xField()->setFocus();
      panel->xField()->selectAll();
      QTest::keyClicks(panel->xField(), x);
      QTest::keyClick(panel->xField(), Qt::Key_Return);
    }
    return panel->calculator().state().results.size() == 3 ? panel : nullptr;
  }

  /// Five x,y pairs on a line, computed.
  StatisticsPanel* statisticsWithPairs() {
    m_store.write("Statistic", "Mode", "2");
    start();
    auto* panel = open<StatisticsPanel>(2);
    if (!panel) return nullptr;
    QApplication::clipboard()->setText(QStringLiteral("1\t2.1\r\n2\t3.9\r\n3\t6.2\r\n4\t7.8\r\n5\t10.1\r\n"));
    window()->runCommand(kCmdPaste);
    QTest::mouseClick(panel->calculateButton(), Qt::LeftButton);
    return panel->calculator().resultsValid() ? panel : nullptr;
  }

  /// A triangle from its three sides.
  GeometryPanel* triangleFromThreeSides() {
    auto* panel = open<GeometryPanel>(3);
    if (!panel) return nullptr;
    GeometryModel& model = panel->model();
    const std::vector<std::string> names = model.figureNames();
    int triangle = -1;
    for (std::size_t i = 0; i < names.size(); ++i)
      if (names[i].find("Triangle quelconque") != std::string::npos) triangle = static_cast<int>(i);
    if (triangle < 0) return nullptr;
    panel->figureList()->setCurrentIndex(triangle);
    const char* sides[] = {"L1", "L2", "L3"};
    const char* values[] = {"5", "6", "7"};
    for (int s = 0; s < 3; ++s) {
      int row = -1;
      for (int r = 0; r < model.rows(); ++r)
        if (model.rowName(r) == sides[s]) row = r;
      if (row < 0) return nullptr;
      KnownDataView* grid = panel->knownData();
      QTest::mouseClick(grid, Qt::LeftButton, {}, grid->valueCell(row).center());
      QTest::keyClicks(grid->editor(), values[s]);
      QTest::mouseClick(panel->calculateButton(), Qt::LeftButton);
    }
    return model.hasResults() ? panel : nullptr;
  }

  /// A document whose unit section converts km/h into m/s for `count` values.
  std::string unitsDocument(int count) {
    UnitsDatabase db;
    ScriptedMessenger quiet;
    if (!LoadUnitsDatabase(qEnvironmentVariable("QZ_DATA_DIR").toStdString(), quiet, db)) return {};
    const UnitRecord* kmh = nullptr;
    const UnitRecord* ms = nullptr;
    for (const auto& unit : db.units) {
      if (unit.name == utf8ToCp1252("kilomètre par heure")) kmh = &unit.record;
      if (unit.name == utf8ToCp1252("mètre par seconde")) ms = &unit.record;
    }
    if (!kmh || !ms) return {};
    std::vector<ConversionRow> rows;
    for (int i = 1; i <= count; ++i) rows.push_back({i * 3.6, static_cast<double>(i)});
    const std::string path = m_dir->filePath(QStringLiteral("vitesses.qz")).toStdString();
    RecentFiles recent;
    DocumentStore store(m_messenger, recent);
    store.StoreSection(4, writeUnitSection(*kmh, *ms, rows));
    return store.WriteDocumentFile(path) ? path : std::string();
  }

 private slots:
  void init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = MemorySettingsStore();
    m_messenger.clear();
    m_messenger.setDefaultAnswer(MessageAnswer::Yes);
    ReportService::overridePrinters(printed());
    s_watches = std::make_unique<QObject>();
  }

  void cleanup() {
    if (m_app && window()) window()->runCommand(kCmdQuitProgram);
    m_app.reset();
    ReportService::overridePrinters(std::nullopt);
    s_watches.reset();
  }

  void commandsWaitForSomethingToReport() {
    start();
    auto* panel = open<StandardPanel>(0);
    QVERIFY(panel);
    QVERIFY(!menuEnabled(kCmdPrint));
    QVERIFY(!menuEnabled(kCmdExport));
    QVERIFY(!menuEnabled(kCmdExportPdf));
    QVERIFY(menuEnabled(kCmdPageSetup));
    QTest::keyClicks(panel->display(), "5+");
    QVERIFY(menuEnabled(kCmdPrint));
    QVERIFY(menuEnabled(kCmdExport));
    QTRY_VERIFY(toolAction(kCmdPrint)->isEnabled());
  }

  void standardTapePrintedOnThePrinter() {
    start();
    QVERIFY(standardWithASum());
    printAll();
    window()->runCommand(kCmdPrint);
    QCOMPARE(pdfPages(printed()), 1);
    const QString text = pdfText(printed());
    QVERIFY2(text.contains(QStringLiteral("12")) && text.contains(QStringLiteral("42")), qPrintable(text));
    QVERIFY(m_messenger.boxes().empty());
  }

  void withoutAPrinterThePagesGoToAPdfInTheExportFolder() {
    ReportService::overridePrinters(QString());
    start();
    QVERIFY(standardWithASum());
    bool copies = true, change = true;
    QString printer;
    whenShown<PrintDialog>([&](PrintDialog* d) {
      copies = d->copiesBox()->isEnabled();
      change = d->changeButton()->isEnabled();
      printer = d->printerLabel()->text();
      shot(d, "print-dialog-no-printer");
      d->printButton()->click();
    });
    window()->runCommand(kCmdPrint);
    QVERIFY(!copies);
    QVERIFY(!change);
    QCOMPARE(printer, QStringLiteral("Fichier PDF"));
    const QString pdf = exportFolder() + QStringLiteral("/QZ.pdf");
    QCOMPARE(pdfPages(pdf), 1);
    QVERIFY(pdfText(pdf).contains(QStringLiteral("42")));
    QVERIFY(QString::fromStdString(m_messenger.lastTextUtf8()).startsWith(QStringLiteral("NOTA :")));
    QVERIFY(QString::fromStdString(m_messenger.lastTextUtf8()).contains(pdf));
  }

  void scientificTableOverSeveralPagesAndAPageRange() {
    start();
    auto* panel = scientificWithThreePairs();
    QVERIFY(panel);
    // Tall margins leave a few rows a page: the pairs' table runs onto
    // further pages, its header repeated.
    m_app->app().pageSetup.topMargin = 24.0;
    int pages = 0;
    QString pagesText;
    whenShown<PrintDialog>([&](PrintDialog* d) {
      pages = d->pageCount();
      pagesText = d->pagesText()->text();
      d->fromBox()->setValue(2);
      d->toBox()->setValue(2);
      d->printButton()->click();
    });
    window()->runCommand(kCmdPrint);
    QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
    QCOMPARE(pagesText, QStringLiteral("- le document imprimé contient un total de %1 pages -").arg(pages));
    QCOMPARE(pdfPages(printed()), 1);
    const QString text = pdfText(printed());
    QVERIFY2(text.contains(QLatin1Char('x')) && text.contains(QLatin1Char('y')), qPrintable(text));
  }

  void scientificExportedAsRtfThroughTheMask() {
    start();
    QVERIFY(scientificWithThreePairs());
    QString shownPath;
    whenShown<ExportDialog>([&shownPath](ExportDialog* d) {
      shownPath = d->pathLabel()->text().trimmed();
      shot(d, "export-dialog");
      d->accept();
    });
    window()->runCommand(kCmdExport);
    const QString rtf = exportFolder() + QStringLiteral("/QZ.RTF");
    QCOMPARE(shownPath, rtf);
    const QByteArray bytes = fileBytes(rtf);
    QVERIFY(bytes.startsWith("{\\rtf1\\ansi"));
    // The sheet is the printer's (A4 or Letter as the locale has it); the margins are ours.
    QVERIFY(bytes.contains("\\paperw11905\\paperh16837") || bytes.contains("\\paperw12240\\paperh15840"));
    QVERIFY(bytes.contains("\\margl1417\\margr850\\margt1417\\margb1134"));
    QVERIFY(bytes.contains("{\\f0\\fs20 y=2*x+1}"));
    QVERIFY(bytes.endsWith("}"));
    QCOMPARE(QString::fromStdString(m_messenger.lastTextUtf8()),
             QStringLiteral("NOTA :\n\nEnregistrement du fichier d'exportation terminé."));
  }

  void statisticsOptionsChangeTheReport() {
    auto* panel = statisticsWithPairs();
    QVERIFY(panel);
    QVERIFY(panel->calculator().resultsValid());
    // Printing: the data option only.
    bool lineOffered = true, dataChecked = true;
    whenShown<ReportOptionsDialog>([&](ReportOptionsDialog* d) {
      lineOffered = d->lineBox()->isVisibleTo(d);
      dataChecked = d->dataBox()->isChecked();
      d->dataBox()->setChecked(true);
      d->accept();
    });
    printAll();
    window()->runCommand(kCmdPrint);
    QVERIFY2(!lineOffered, "the line option is for exporting only");
    QVERIFY2(!dataChecked, "the options start unchecked");
    QString text = pdfText(printed());
    QVERIFY2(text.contains(QStringLiteral("10.1")), qPrintable(text));

    // Without the data option the table is left out.
    QFile::remove(printed());
    whenShown<ReportOptionsDialog>([](ReportOptionsDialog* d) { d->accept(); });
    printAll();
    window()->runCommand(kCmdPrint);
    text = pdfText(printed());
    QVERIFY2(!text.contains(QStringLiteral("10.1")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("cov(x,y)")));

    // Exporting with the regression line: the diagram as a picture.
    QString lineText;
    whenShown<ReportOptionsDialog>([&lineText](ReportOptionsDialog* d) {
      lineText = d->lineBox()->isVisibleTo(d) ? d->lineBox()->text() : QString();
      shot(d, "report-options-export");
      d->lineBox()->setChecked(true);
      d->accept();
    });
    whenShown<ExportDialog>([](ExportDialog* d) { d->accept(); });
    window()->runCommand(kCmdExport);
    QCOMPARE(lineText, QStringLiteral(" Exporter aussi la courbe de régression."));
    const QByteArray rtf = fileBytes(exportFolder() + QStringLiteral("/QZ.RTF"));
    keep(exportFolder() + QStringLiteral("/QZ.RTF"), "statistics.rtf");
    QVERIFY(rtf.contains("\\page \\pard \\pard \\qc\\sb"));
    QVERIFY(rtf.contains("{\\pict\\pngblip\\picscalex100\\picscaley100"));
    QVERIFY2(rtf.size() < 1000000, qPrintable(QString::number(rtf.size())));

    // "Annuler" in the options ends the job.
    QFile::remove(printed());
    whenShown<ReportOptionsDialog>([](ReportOptionsDialog* d) { d->reject(); });
    window()->runCommand(kCmdPrint);
    QVERIFY(!QFile::exists(printed()));
  }

  void statisticsReportGivesTheExtendedResultsAndTheFit() {
    auto* panel = statisticsWithPairs();
    QVERIFY(panel);
    QVERIFY(panel->calculator().chooseFit(FitKind::Poly2));
    whenShown<ReportOptionsDialog>([](ReportOptionsDialog* d) { d->accept(); });
    printAll();
    window()->runCommand(kCmdPrint);
    const QString text = pdfText(printed());
    keep(printed(), "statistics-fit.pdf");
    // The described results first, then the uncertainty and the fit.
    const qsizetype described = text.indexOf(QStringLiteral("coefficient de corrélation"));
    QVERIFY2(described >= 0, qPrintable(text));
    QVERIFY(text.indexOf(QStringLiteral("IC 95 %")) > described);
    QVERIFY(text.indexOf(QStringLiteral("Ajustement : Polynôme de degré 2")) > described);
  }

  void trendDialogPrintsTheDiagramOnOnePage() {
    auto* panel = statisticsWithPairs();
    QVERIFY(panel);
    QTest::mouseClick(panel->lineButton(), Qt::LeftButton);
    QTRY_VERIFY(panel->trendDialog() != nullptr);
    TrendDialog* trend = panel->trendDialog();
    bool titled = false;
    int pages = 0;
    whenShown<PrintDialog>([&](PrintDialog* d) {
      titled = d->windowTitle() == QStringLiteral(" Imprimer le diagramme");
      pages = d->pageCount();
      shot(d, "print-diagram-dialog");
      d->printButton()->click();
    });
    QTest::mouseClick(trend->printButton(), Qt::LeftButton);
    QVERIFY(titled);
    QCOMPARE(pages, 1);
    QCOMPARE(pdfPages(printed()), 1);
    QVERIFY2(trend->isVisible(), "the dialog stays open");

    // Without a printer the diagram gets a file of its own beside the report's.
    ReportService::overridePrinters(QString());
    printAll();
    QTest::mouseClick(trend->printButton(), Qt::LeftButton);
    QCOMPARE(pdfPages(exportFolder() + QStringLiteral("/QZ-diagramme.pdf")), 1);
    QVERIFY(!QFile::exists(exportFolder() + QStringLiteral("/QZ.pdf")));
    trend->accept();
  }

  void geometricFigureInTheRtfAndThePdf() {
    start();
    QVERIFY(triangleFromThreeSides());
    whenShown<ExportDialog>([](ExportDialog* d) { d->accept(); });
    window()->runCommand(kCmdExport);
    const QByteArray rtf = fileBytes(exportFolder() + QStringLiteral("/QZ.RTF"));
    keep(exportFolder() + QStringLiteral("/QZ.RTF"), "geometry.rtf");
    const int picture = rtf.indexOf("{\\pict\\pngblip\\picscalex100\\picscaley100");
    QVERIFY2(picture > 0, (rtf.left(3000) + QByteArray::fromStdString(m_messenger.lastTextUtf8())).constData());
    // Half the 17 cm text width, 1.4 times as high, in twips.
    QVERIFY2(rtf.indexOf("\\picwgoal4819\\pichgoal674", picture) > 0, rtf.mid(picture, 200).constData());
    QVERIFY(rtf.size() < 1000000);

    const QString pdf = m_dir->filePath(QStringLiteral("triangle.pdf"));
    whenShown<QFileDialog>([pdf](QFileDialog* d) {
      d->selectFile(pdf);
      static_cast<QDialog*>(d)->accept();
    });
    window()->runCommand(kCmdExportPdf);
    keep(pdf, "geometry.pdf");
    QCOMPARE(pdfPages(pdf), 1);
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains(QStringLiteral("Figure :")) && text.contains(QStringLiteral("Valeurs calculées")),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("L1")));
  }

  void unitsReportTooLongShowsMessage121() {
    const std::string document = unitsDocument(300);
    QVERIFY(!document.empty());
    start(document);
    QVERIFY(open<UnitsPanel>(4));
    bool dialogShown = false;
    whenShown<PrintDialog>([&dialogShown](PrintDialog* d) {
      dialogShown = true;
      d->reject();
    });
    window()->runCommand(kCmdPrint);
    QCOMPARE(QString::fromStdString(m_messenger.lastTextUtf8()),
             QStringLiteral("ERREUR\n\nImpossible de créer la note de calcul !"));
    QVERIFY(!dialogShown);
    QVERIFY(!QFile::exists(printed()));
    QApplication::processEvents();
  }

  void unitsConversionsPrintedWithTheDocumentHeader() {
    const std::string document = unitsDocument(20);
    QVERIFY(!document.empty());
    start(document);
    QVERIFY(open<UnitsPanel>(4));
    printAll();
    window()->runCommand(kCmdPrint);
    const QString text = pdfText(printed()) + QString::fromStdString(m_messenger.lastTextUtf8());
    QVERIFY2(text.contains(QStringLiteral("Fichier ... : ")) && text.contains(QStringLiteral("vitesses.qz")),
             qPrintable(text));
    keep(printed(), "units.pdf");
    QVERIFY(text.contains(QStringLiteral("km/h")));
    QVERIFY(text.contains(QStringLiteral("72")));
  }
};

QTEST_MAIN(ReportTest)
#include "report_test.moc"

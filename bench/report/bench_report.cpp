// Speed and size of the calculation report. For each calculator the largest
// report its builder accepts (242 lines, "<END>" included; the geometric
// report is a triangle from its three sides with its figure) is built,
// paginated and written as the PDF file (A4 portrait at 600 dpi, default
// margins, Courier New -14) and as the RTF export (the same page, pictures as
// PNG at their box size). The statistics report is mode 2 with the data
// table; its export also has the regression line's page.
// Goals: each case under 200 ms; a report with a figure or a diagram under 1 MB.
//
// Measured on 2 cores at 2.1 GHz, RelWithDebInfo, offscreen platform, an idle
// machine (median of 3 runs; `bytes` is the file's size, `items` the tape
// entries, results, rows or data given, `pages` the report's pages):
//
//   report                  items lines pages   PDF ms  PDF KB   RTF ms  RTF file ms  RTF KB
//   standard (tape)           232   242     5     19.6    21.8     0.21      0.75        9.2
//   scientific (x, y)         219   242     5     27.8    31.9     0.43      1.04       10.5
//   statistics, mode 2        203   242     5     34.6    39.5       -         -          -
//     export + diagram page   201   242     6       -       -      32.8     34.4        119
//   geometric (triangle)        3    36     1      9.9    19.5     11.7     12.8         47.5
//   units (km/h -> m/s)       224   242     5     31.7    33.0     0.26      0.66       11.2
//
// Every case is under 200 ms and every file far under 1 MB. The pictures are
// painted at 300 dpi at most (2008 x 2008 pixels for the diagram, 4 ms to
// paint), turned into 8-bit indexed colours (7 ms) and saved as PNG at a
// middle zlib level: the highest level took 270 ms for the diagram alone.
// Warm Qt glyph caches: the first export of a run costs a little more.
//
// Rtf times the body and its pictures in memory; RtfFile one whole
// exportRtfReport (mask read, file written atomically) into a temporary folder.
// QZ_REPORT_BENCH_OUT=<folder> also writes every file made there, to look at.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/calc_app.h"
#include "app/font_setting.h"
#include "geometry/geometry_model.h"
#include "platform/report_painter.h"
#include "platform/scripted_messenger.h"
#include "platform/settings_store.h"
#include "report/report_job.h"
#include "report/report_source.h"
#include "report/rtf_export.h"
#include "scientific/scientific_state.h"
#include "standard/tape.h"
#include "statistics/stat_section.h"
#include "statistics/stat_table.h"
#include "statistics/statistics_calculator.h"
#include "units/unit_conversion.h"
#include "units/unit_expression.h"
#include "units/unit_section.h"
#include "units/units_database.h"
#include "units/units_model.h"

namespace {

constexpr const char* kDataFolder = QZ_REPORT_DATA_FOLDER;
// A document with a name: the report then has its header and trailer.
constexpr const char* kDocumentPath = "/home/u/essai.qz";

qz::PageSetup pageSetup() {
  qz::PageSetup setup;
  const qz::MemorySettingsStore nothingStored;
  setup.reportFont = qz::ReadFontSetting(nothingStored, "Fonts", "Report", "");
  return setup;
}

struct Output {
  QPageLayout layout = qz::pdfPageLayout(0);
  qz::PrinterPage page = qz::printerPageOf(layout, qz::kReportPdfDpi);
  qz::PageSetup setup = pageSetup();

  qz::ReportSetup reportSetup(qz::ReportOptions options) const {
    return qz::makeReportSetup(setup, page, kDocumentPath, options);
  }
};

const Output& output() {
  static const Output o;
  return o;
}

// Grows what `fill` puts in the calculator until the report no longer builds
// and leaves it at the largest count that does (the count is monotone: one
// more item is at least one more line).
int fillToLargest(const qz::ReportSource& source, qz::ReportJob job, qz::ReportOptions options, int most,
                  const std::function<void(int)>& fill) {
  qz::ScriptedMessenger quiet;
  const qz::ReportSetup setup = output().reportSetup(options);
  auto builds = [&](int n) {
    fill(n);
    return qz::prepareReport(source, job, setup, quiet).has_value();
  };
  int low = 1, high = most;  // builds(low); the answer lies in [low, high]
  if (!builds(low)) return 0;
  while (low < high) {
    const int mid = (low + high + 1) / 2;
    if (builds(mid))
      low = mid;
    else
      high = mid - 1;
  }
  fill(low);
  return low;
}

// ---- The five calculators, each filled once for the whole run --------------

struct StandardCase {
  qz::Tape tape;
  std::unique_ptr<qz::ReportSource> source = qz::standardReportSource(tape);
  int items = 0;
  StandardCase() {
    // Calculations as the "=" key leaves them: a, +, b, =, the total, then the separator.
    items = fillToLargest(*source, qz::ReportJob::Print, {}, qz::Tape::kAddLimit, [this](int n) {
      tape.clear();
      const qz::DisplaySetting stamp{0, 2};
      double a = 1234.5;
      for (int i = 0; i < n; ++i) {
        switch (i % 6) {
          case 0: tape.append(qz::EntryKind::Number, a, stamp); break;
          case 1: tape.append(qz::EntryKind::Plus, 0, stamp); break;
          case 2: tape.append(qz::EntryKind::Number, a / 7, stamp); break;
          case 3: tape.append(qz::EntryKind::Equals, 0, stamp); break;
          case 4: tape.append(qz::EntryKind::Total, a + a / 7, stamp); break;
          default: tape.append(qz::EntryKind::Separator, 0, stamp); a *= 1.37; break;
        }
      }
    });
  }
};

struct ScientificCase {
  qz::ScientificState state;
  std::unique_ptr<qz::ReportSource> source = qz::scientificReportSource(state);
  int items = 0;
  ScientificCase() {
    state.expression = "y=a*x^2+b*x+c";
    state.constants = "a=1.5\r\nb=-2\r\nc=0.25";
    items = fillToLargest(*source, qz::ReportJob::Print, {}, static_cast<int>(qz::kMaxResults), [this](int n) {
      state.results.clear();
      for (int i = 0; i < n; ++i) {
        const double x = -10.0 + 0.125 * i;
        state.results.push_back({x, 1.5 * x * x - 2 * x + 0.25});
      }
    });
  }
};

// Mode 2 pairs around a line; the section loader computes them as opening
// the window does.
struct StatisticsCase {
  qz::MemorySettingsStore settings;
  qz::ScriptedMessenger messenger;
  qz::StatisticsCalculator calculator{settings, messenger};
  std::unique_ptr<qz::ReportSource> source = qz::statisticsReportSource(calculator);
  int items = 0;
  explicit StatisticsCase(qz::ReportJob job, qz::ReportOptions options) {
    items = fillToLargest(*source, job, options, qz::StatTable::kCapacity, [this](int n) {
      qz::StatTable table;
      for (int i = 0; i < n; ++i) {
        const double x = 0.5 * i;
        table.append({x, 3.2 * x + 10.0 + 4.0 * std::sin(1.7 * i)});
      }
      calculator.loadSection(qz::writeStatisticsSection(qz::StatMode::Pairs, qz::StatResults{}, table));
    });
  }
};

struct GeometricCase {
  qz::ScriptedMessenger messenger;
  qz::GeometryModel model{kDataFolder, messenger};
  std::unique_ptr<qz::ReportSource> source = qz::geometricReportSource(model);
  int items = 0;  // the data given
  bool ready = false;
  GeometricCase() {
    model.readSection(std::nullopt);
    if (!model.load()) return;
    const std::vector<std::string> names = model.figureNames();
    for (std::size_t i = 0; i < names.size(); ++i)
      if (names[i].find("Triangle quelconque") != std::string::npos) model.chooseFigure(static_cast<int>(i));
    int given = 0;
    const std::pair<const char*, const char*> sides[] = {{"L1", "5"}, {"L2", "6"}, {"L3", "7"}};
    for (const auto& [name, value] : sides)
      for (int r = 0; r < model.rows(); ++r) {
        double shown = 0;
        if (model.rowName(r) == name && model.commitRow(r, value, shown) == 0) ++given;
      }
    items = given;
    ready = given == 3 && source->hasReport();
  }
};

struct UnitsCase {
  qz::ScriptedMessenger messenger;
  qz::UnitsModel model{messenger};
  std::unique_ptr<qz::ReportSource> source = qz::unitsReportSource(model);
  int items = 0;
  bool ready = false;
  UnitsCase() {
    qz::UnitsDatabase database;
    if (!qz::LoadUnitsDatabase(kDataFolder, messenger, database)) return;
    qz::UnitConversion conversion;
    conversion.unit(qz::UnitConversion::kCurrent) = qz::parseUnitExpression("km/h", database).record;
    conversion.unit(qz::UnitConversion::kNew) = qz::parseUnitExpression("m/s", database).record;
    items = fillToLargest(*source, qz::ReportJob::Print, {}, qz::kMaxConversionRows, [&](int n) {
      std::vector<qz::ConversionRow> list;
      for (int i = 0; i < n; ++i) {
        const double value = 2.5 * (i + 1);
        list.push_back({value, conversion.Convert(value)});
      }
      model.loadSection(writeUnitSection(conversion.unit(qz::UnitConversion::kCurrent),
                                         conversion.unit(qz::UnitConversion::kNew), list));
    });
    ready = items > 0;
  }
};

// A filled calculator's report and how many items (tape entries, results,
// rows, data) it holds; no source when the calculator could not be filled.
struct Filled {
  const qz::ReportSource* source = nullptr;
  int items = 0;
};

template <typename Case>
Filled filled(const Case& c) {
  return {c.items > 0 ? c.source.get() : nullptr, c.items};
}

Filled sourceOf(int calculator, qz::ReportJob job) {
  switch (calculator) {
    case 0: {
      static StandardCase c;
      return filled(c);
    }
    case 1: {
      static ScientificCase c;
      return filled(c);
    }
    case 2: {
      // The export table is two rows shorter: "<PAGE>" and "<DIAGRAM>" take two lines.
      static StatisticsCase printed(qz::ReportJob::Print, {true, false});
      static StatisticsCase exported(qz::ReportJob::Export, {true, true});
      return filled(job == qz::ReportJob::Export ? exported : printed);
    }
    case 3: {
      static GeometricCase c;
      return c.ready ? filled(c) : Filled{};
    }
    default: {
      static UnitsCase c;
      return c.ready ? filled(c) : Filled{};
    }
  }
}

qz::ReportOptions optionsOf(int calculator, qz::ReportJob job) {
  if (calculator != 2) return {};
  return {true, job == qz::ReportJob::Export};
}

const char* const kNames[] = {"standard", "scientific", "statistics", "geometric", "units"};

void saveForLooking(const std::string& name, const std::string& bytes) {
  const char* folder = std::getenv("QZ_REPORT_BENCH_OUT");
  if (!folder || !*folder) return;
  std::ofstream(std::filesystem::path(folder) / name, std::ios::binary) << bytes;
}

void countReport(benchmark::State& state, const Filled& filled, const qz::PreparedReport& report,
                 std::size_t bytes) {
  state.counters["bytes"] = static_cast<double>(bytes);
  state.counters["items"] = filled.items;
  state.counters["lines"] = report.lines.size();
  state.counters["pages"] = report.pages.pageCount();
}

// ---- The benchmarks ---------------------------------------------------------

void BM_ReportPdf(benchmark::State& state) {
  const int calculator = static_cast<int>(state.range(0));
  const Filled filled = sourceOf(calculator, qz::ReportJob::Print);
  if (!filled.source) return state.SkipWithError("the calculator could not be filled");
  const qz::ReportSource& source = *filled.source;
  const qz::ReportSetup setup = output().reportSetup(optionsOf(calculator, qz::ReportJob::Print));
  qz::ScriptedMessenger messenger;
  std::optional<qz::PreparedReport> report;
  std::optional<std::string> pdf;
  for (auto _ : state) {
    report = qz::prepareReport(source, qz::ReportJob::Print, setup, messenger);
    if (!report) return state.SkipWithError("the report did not build");
    pdf = qz::reportPdfBytes(*report, output().layout);
    if (!pdf) return state.SkipWithError("Qt painted no PDF");
  }
  countReport(state, filled, *report, pdf->size());
  state.SetLabel(kNames[calculator]);
  saveForLooking(std::string(kNames[calculator]) + ".pdf", *pdf);
}
BENCHMARK(BM_ReportPdf)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_ReportRtf(benchmark::State& state) {
  const int calculator = static_cast<int>(state.range(0));
  const Filled filled = sourceOf(calculator, qz::ReportJob::Export);
  if (!filled.source) return state.SkipWithError("the calculator could not be filled");
  const qz::ReportSource& source = *filled.source;
  const qz::ReportSetup setup = output().reportSetup(optionsOf(calculator, qz::ReportJob::Export));
  qz::ScriptedMessenger messenger;
  const std::optional<qz::RtfMask> mask = qz::loadRtfMask(kDataFolder, messenger);
  if (!mask) return state.SkipWithError("no mask QZ_REPORT.SRC");
  std::optional<qz::PreparedReport> report;
  std::string text;
  for (auto _ : state) {
    report = qz::prepareReport(source, qz::ReportJob::Export, setup, messenger);
    if (!report) return state.SkipWithError("the report did not build");
    // What exportRtfReport does between reading the mask and writing the file.
    qz::RtfExportJob job = qz::makeRtfExportJob(*report, output().setup, kDataFolder, "");
    job.body.fonts.textFont = qz::findMaskFont(mask->head, job.reportFace);
    job.body.fonts.symbolFont = qz::findMaskFont(mask->head, "Symbol");
    job.body.fonts.sizeHalfPoints = qz::reportFontHalfPoints(job.reportFontHeight, job.body.screenDpi);
    text = qz::setPageKeywords(mask->head, qz::pageTwips(job.body.page, job.body.margins)) +
           qz::rtfReportBody(report->pages, job.body) + mask->tail;
  }
  countReport(state, filled, *report, text.size());
  state.SetLabel(kNames[calculator]);
  saveForLooking(std::string(kNames[calculator]) + ".rtf", text);
}
BENCHMARK(BM_ReportRtf)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_ReportRtfFile(benchmark::State& state) {
  const int calculator = static_cast<int>(state.range(0));
  const Filled filled = sourceOf(calculator, qz::ReportJob::Export);
  if (!filled.source) return state.SkipWithError("the calculator could not be filled");
  const qz::ReportSource& source = *filled.source;
  const qz::ReportSetup setup = output().reportSetup(optionsOf(calculator, qz::ReportJob::Export));
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "qz_bench_report";
  std::filesystem::create_directories(folder);
  const std::string path = qz::rtfExportPath(folder.string(), kDocumentPath);
  qz::ScriptedMessenger messenger;
  std::optional<qz::PreparedReport> report;
  for (auto _ : state) {
    messenger.clear();
    report = qz::prepareReport(source, qz::ReportJob::Export, setup, messenger);
    if (!report) return state.SkipWithError("the report did not build");
    if (!qz::exportRtfReport(report->pages, qz::makeRtfExportJob(*report, output().setup, kDataFolder, path),
                             messenger))
      return state.SkipWithError("the export failed");
  }
  countReport(state, filled, *report, static_cast<std::size_t>(std::filesystem::file_size(path)));
  state.SetLabel(kNames[calculator]);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReportRtfFile)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Painting needs a QGuiApplication; the benchmark shows no window anywhere.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

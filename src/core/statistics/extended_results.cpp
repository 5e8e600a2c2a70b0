#include "statistics/extended_results.h"

#include <cmath>

#include "numbers/markup.h"
#include "numbers/real_format.h"
#include "statistics/student_t.h"

namespace qz {

ExtendedResults computeExtendedResults(std::span<const StatRow> rows, StatMode mode, const StatResults& results,
                                       FitKind fit) {
  ExtendedResults out;
  out.fitKind = fit;
  if (mode != StatMode::Pairs) {
    out.descriptive = computeDescriptive(rows, mode);
    if (mode == StatMode::Frequencies && results.hasLine()) out.henry = henryEstimates(results.a, results.b);
    return out;
  }
  if (rows.empty()) return out;
  out.xMin = out.xMax = rows.front().x;
  for (const StatRow& row : rows) {
    out.xMin = std::min(out.xMin, row.x);
    out.xMax = std::max(out.xMax, row.x);
  }
  if (!results.hasLine()) return out;
  FitOutcome line = fitCurve(rows, FitKind::Linear);
  out.line = line.fit;
  if (line.fit && line.fit->degreesOfFreedom > 0) {
    const FitResult& f = *line.fit;
    LineUncertainty u;
    u.r = std::copysign(std::sqrt(results.r2), results.a);
    u.seA = *f[0].se;
    u.seB = *f[1].se;
    u.residualSd = *f.residualSd;
    const double dof = f.degreesOfFreedom;
    // Exact data leave rounding residue in s(a); a t of 1e13 and more says nothing.
    if (u.seA > 1e-13 * std::fabs(f[0].value)) {
      u.tA = f[0].value / u.seA;
      u.pA = studentTwoSidedP(*u.tA, dof);
    }
    const double t = studentQuantile(0.975, dof);
    u.ciA[0] = f[0].value - t * u.seA;
    u.ciA[1] = f[0].value + t * u.seA;
    u.ciB[0] = f[1].value - t * u.seB;
    u.ciB[1] = f[1].value + t * u.seB;
    out.uncertainty = u;
  }
  out.fit = fit == FitKind::Linear ? line : fitCurve(rows, fit);
  return out;
}

namespace {

void add(std::vector<ResultItem>& items, std::string key, int part, std::string label, double value,
         std::string note = {}) {
  items.push_back({std::move(key), part, std::move(label), value, std::move(note)});
}

void addOptional(std::vector<ResultItem>& items, std::string key, std::string label, const std::optional<double>& v,
                 std::string note = {}) {
  if (v) add(items, std::move(key), -1, std::move(label), *v, std::move(note));
}

// "médiane" padded with dots to `width` shown characters, as the described labels.
std::string dotted(const std::string& label, int width) {
  const int shown = static_cast<int>(stripMarkup(convertMarkup(label)).size());
  if (shown >= width - 1) return label;
  return label + " " + std::string(static_cast<std::size_t>(width - 1 - shown), '.');
}

}  // namespace

std::vector<ResultItem> extendedItems(const ExtendedResults& e, StatMode mode) {
  std::vector<ResultItem> items;
  if (mode != StatMode::Pairs && e.descriptive) {
    const DescriptiveStats& d = *e.descriptive;
    add(items, "min", -1, "min", d.minimum);
    add(items, "max", -1, "max", d.maximum);
    add(items, "range", -1, "\xE9tendue", d.range);
    add(items, "median", -1, "m\xE9" "diane", d.median);
    add(items, "q1", -1, "Q\\s1\\s", d.q1, "\\G(inclusifs)");
    add(items, "q3", -1, "Q\\s3\\s", d.q3);
    for (std::size_t i = 0; i < d.modes.size() && i < kModesListed; ++i)
      add(items, "modes", static_cast<int>(i), "mode", d.modes[i],
          i == 0 ? "\\G(" + formatDouble("%.12G", d.modeCount) + " fois)" : std::string());
    addOptional(items, "cv", "CV", d.cv, "\\G(s\\sx\\s / \\ox\\o)");
    addOptional(items, "se_mean", "s(\\ox\\o)", d.seMean, "\\G(erreur type)");
    addOptional(items, "skewness", "G\\s1\\s", d.skewness, "\\G(asym\xE9trie)");
    addOptional(items, "kurtosis", "G\\s2\\s", d.kurtosis, "\\G(aplatissement)");
    if (d.ciLow && d.ciHigh) {
      add(items, "ci95_mean", 0, "\\ox\\o min", *d.ciLow, "\\G(IC 95 %)");
      add(items, "ci95_mean", 1, "\\ox\\o max", *d.ciHigh);
    }
    if (e.henry) {
      add(items, "henry_mean", -1, "\\ox\\o Henry", e.henry->mean, "\\G(loi normale)");
      add(items, "henry_sd", -1, "s Henry", e.henry->sd);
    }
  }
  if (mode == StatMode::Pairs && e.uncertainty) {
    const LineUncertainty& u = *e.uncertainty;
    add(items, "r", -1, "r", u.r, "\\G(coef. de corr.)");
    add(items, "se_a", -1, "s(a)", u.seA, "\\G(erreur type)");
    add(items, "se_b", -1, "s(b)", u.seB, "\\G(erreur type)");
    add(items, "s_residual", -1, "s\\sr\\s", u.residualSd, "\\G(r\xE9siduel)");
    addOptional(items, "t_a", "t(a)", u.tA, "\\G(Student)");
    addOptional(items, "p_a", "p(a)", u.pA, "\\G(bilat\xE9ral)");
    add(items, "ci95_a", 0, "a min", u.ciA[0], "\\G(IC 95 %)");
    add(items, "ci95_a", 1, "a max", u.ciA[1]);
    add(items, "ci95_b", 0, "b min", u.ciB[0]);
    add(items, "ci95_b", 1, "b max", u.ciB[1]);
  }
  // The chosen fit, when it is not the line the described results already give.
  if (mode == StatMode::Pairs && e.fit.fit && e.fitKind != FitKind::Linear) {
    const FitResult& f = *e.fit.fit;
    for (std::size_t i = 0; i < f.coefficients.size(); ++i) {
      const FitCoefficient& c = f.coefficients[i];
      add(items, "fit_coefficients", static_cast<int>(i), c.name, c.value,
          i == 0 ? "\\G(" + fitShortLabel(f.kind) + ")" : std::string());
    }
    for (std::size_t i = 0; i < f.coefficients.size(); ++i) {
      const FitCoefficient& c = f.coefficients[i];
      if (c.se) add(items, "fit_se", static_cast<int>(i), "s(" + c.name + ")", *c.se);
    }
    add(items, "fit_r2", -1, "r\\e2\\e", f.r2,
        f.kind == FitKind::Exponential || f.kind == FitKind::Power ? "\\G(sur ln y)" : "");
  }
  return items;
}

std::vector<std::string> extendedResultLines(const std::vector<ResultItem>& items) {
  std::vector<std::string> lines;
  if (items.empty()) return lines;
  lines.emplace_back();
  for (const ResultItem& item : items) {
    std::string text = "\\B" + dotted(item.label, 8) + " =\\B \\/" + formatDouble("%.9G", item.value) + "\\/";
    if (!item.note.empty()) text += " " + item.note;
    lines.push_back(convertMarkup(text));
  }
  return lines;
}

namespace {
std::optional<double> withinLimits(std::optional<double> v) {
  if (v && (!std::isfinite(*v) || std::fabs(*v) > 1e300)) return std::nullopt;
  return v;
}
}  // namespace

std::optional<double> predictedY(const ExtendedResults& extended, double x) {
  if (!extended.fit.fit) return std::nullopt;
  return withinLimits(extended.fit.fit->evaluate(x));
}

std::optional<double> predictedX(const ExtendedResults& extended, double y) {
  if (!extended.fit.fit) return std::nullopt;
  return withinLimits(inverseOf(*extended.fit.fit, y, extended.xMin, extended.xMax));
}

std::vector<std::string> extendedReportLines(const ExtendedResults& e, StatMode mode) {
  const std::vector<ResultItem> items = extendedItems(e, mode);
  std::vector<std::string> lines;
  if (items.empty()) return lines;
  for (const ResultItem& item : items) {
    std::string text = "\\B" + dotted(item.label, 10) + " =\\B " + exchangeText(item.value);
    if (!item.note.empty()) text += " " + item.note;
    lines.push_back(text);
  }
  if (mode == StatMode::Pairs && e.fit.fit) {
    lines.emplace_back();
    lines.push_back("\\B\\bAjustement :\\b\\B " + fitLabel(e.fitKind));
    lines.push_back(e.fit.fit->equation(12));
  }
  return lines;
}

}  // namespace qz

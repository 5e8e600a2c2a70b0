#include "statistics/descriptive_stats.h"

#include <algorithm>
#include <cmath>

#include "statistics/double_double.h"
#include "statistics/student_t.h"

namespace qz {

namespace {

struct Weighted {
  double x;
  double count;
};

// The value at 0-based position k of the sorted series, the rows being
// sorted distinct values with their cumulative counts.
double valueAt(const std::vector<Weighted>& distinct, const std::vector<double>& cumulated, double k) {
  auto it = std::upper_bound(cumulated.begin(), cumulated.end(), k);
  if (it == cumulated.end()) return distinct.back().x;
  return distinct[static_cast<std::size_t>(it - cumulated.begin())].x;
}

double quartile(const std::vector<Weighted>& distinct, const std::vector<double>& cumulated, double n, double p) {
  const double h = (n - 1.0) * p;
  const double below = std::floor(h);
  const double low = valueAt(distinct, cumulated, below);
  if (h == below) return low;
  const double high = valueAt(distinct, cumulated, below + 1.0);
  return low + (h - below) * (high - low);
}

}  // namespace

std::optional<DescriptiveStats> computeDescriptive(std::span<const StatRow> rows, StatMode mode) {
  const bool weighted = mode == StatMode::Frequencies;
  std::vector<Weighted> distinct;
  distinct.reserve(rows.size());
  for (const StatRow& row : rows) {
    const double count = weighted ? row.second : 1.0;
    if (count > 0.0) distinct.push_back({row.x, count});
  }
  if (distinct.empty()) return std::nullopt;
  std::sort(distinct.begin(), distinct.end(), [](const Weighted& a, const Weighted& b) { return a.x < b.x; });
  std::size_t kept = 0;
  for (std::size_t k = 1; k < distinct.size(); ++k) {
    if (distinct[k].x == distinct[kept].x)
      distinct[kept].count += distinct[k].count;
    else
      distinct[++kept] = distinct[k];
  }
  distinct.resize(kept + 1);

  DescriptiveStats d;
  std::vector<double> cumulated;
  cumulated.reserve(distinct.size());
  double n = 0.0;
  for (const Weighted& w : distinct) cumulated.push_back(n += w.count);
  d.minimum = distinct.front().x;
  d.maximum = distinct.back().x;
  d.range = d.maximum - d.minimum;
  d.q1 = quartile(distinct, cumulated, n, 0.25);
  d.median = quartile(distinct, cumulated, n, 0.5);
  d.q3 = quartile(distinct, cumulated, n, 0.75);

  double most = 0.0;
  bool allAsOften = true;
  for (const Weighted& w : distinct) most = std::max(most, w.count);
  for (const Weighted& w : distinct) allAsOften = allAsOften && w.count == most;
  if (most > 1.0 && !allAsOften) {
    d.modeCount = most;
    for (const Weighted& w : distinct)
      if (w.count == most) d.modes.push_back(w.x);
  }

  // Centred sums of powers, accumulated without loss as the engine's moments.
  DoubleDouble sum;
  for (const Weighted& w : distinct) sum += DoubleDouble::twoProduct(w.x, w.count);
  const DoubleDouble mean = distinct.size() == 1 ? DoubleDouble(distinct.front().x) : sum / n;
  DoubleDouble s2, s3, s4;
  for (const Weighted& w : distinct) {
    const DoubleDouble dx = DoubleDouble(w.x) - mean;
    const DoubleDouble dx2 = dx * dx;
    s2 += dx2 * w.count;
    s3 += dx2 * dx * w.count;
    s4 += dx2 * dx2 * w.count;
  }
  if (!mean.isFinite() || !s2.isFinite() || !s3.isFinite() || !s4.isFinite()) return std::nullopt;
  if (n < 2.0) return d;

  const double meanValue = mean.value();
  const double variance = std::max(0.0, (s2 / (n - 1.0)).value());
  const double s = std::sqrt(variance);
  if (meanValue != 0.0) d.cv = s / meanValue;
  d.seMean = s / std::sqrt(n);
  const double t = studentQuantile(0.975, n - 1.0);
  d.ciLow = meanValue - t * *d.seMean;
  d.ciHigh = meanValue + t * *d.seMean;
  if (s > 0.0 && n >= 3.0) {
    // SKEW: n / ((n-1)(n-2)) Σ((x - x̄)/s)³
    d.skewness = n / ((n - 1.0) * (n - 2.0)) * (s3.value() / (variance * s));
  }
  if (s > 0.0 && n >= 4.0) {
    // KURT: n(n+1) / ((n-1)(n-2)(n-3)) Σ((x - x̄)/s)⁴ - 3(n-1)² / ((n-2)(n-3))
    d.kurtosis = n * (n + 1.0) / ((n - 1.0) * (n - 2.0) * (n - 3.0)) * (s4.value() / (variance * variance)) -
                 3.0 * (n - 1.0) * (n - 1.0) / ((n - 2.0) * (n - 3.0));
  }
  return d;
}

std::optional<HenryEstimates> henryEstimates(double a, double b) {
  if (!(a > 0.0) || !std::isfinite(b)) return std::nullopt;
  return HenryEstimates{-b / a, 1.0 / a};
}

}  // namespace qz

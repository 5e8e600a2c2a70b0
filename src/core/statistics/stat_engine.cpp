#include "statistics/stat_engine.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "numbers/messages.h"
#include "statistics/double_double.h"

namespace qz {

namespace {

constexpr double kMaxValues = 2147483647.0;

// Code for a sum or result that is no longer a finite number. The inputs are
// finite and every division is guarded, so only an overflow gets here (its
// infinity may already have turned into a NaN inside the error terms).
int faultOf(const DoubleDouble&) { return kOverflow; }

}  // namespace

// Means and centred sums of squares and products of one computation.
struct StatEngine::CentredMoments {
  DoubleDouble meanX, meanY, cxx, cyy, cxy;
  bool allXEqual, allYEqual;
};

void StatEngine::clearResults(StatMode mode) {
  m_results = StatResults{};
  m_results.mode = mode;
  m_henry.clear();
}

bool StatEngine::computeStatistics(const StatTable& table, StatMode mode, Messenger* reportTo) {
  return computeStatistics(std::span<const StatRow>(&table.row(1), static_cast<std::size_t>(table.count())), mode,
                           reportTo);
}

bool StatEngine::computeStatistics(std::span<const StatRow> rows, StatMode mode, Messenger* reportTo) {
  m_guard.reset();
  if (rows.size() < 2) return false;
  if (compute(rows, mode)) return true;
  if (reportTo) ShowMessage(*reportTo, kCaptionError, kStatComputationFailedText, {}, MessageStyle::Error);
  return false;
}

bool StatEngine::compute(std::span<const StatRow> rows, StatMode mode) {
  StatResults& r = m_results;
  const std::size_t count = rows.size();
  const bool weighted = mode == StatMode::Frequencies;
  const bool pairs = mode == StatMode::Pairs;

  // Number of values: the counts' sum in mode 1, the rows otherwise.
  double total = static_cast<double>(count);
  if (weighted) {
    DoubleDouble sum;
    for (const StatRow& row : rows) sum += row.second;
    total = sum.value();
    if (total > kMaxValues) {
      m_guard.setCode(kFrequencyOverflow);
      return false;
    }
    if (total == 0.0) {  // 0/0 for every mean
      m_guard.setCode(kMathError);
      return false;
    }
  }
  r.n = total < static_cast<double>(INT_MIN) ? INT_MIN : static_cast<int>(std::trunc(total));

  const double firstX = rows.front().x;
  const double firstSecond = rows.front().second;
  bool allXEqual = true, allSecondEqual = true;
  for (const StatRow& row : rows.subspan(1)) {
    allXEqual = allXEqual && row.x == firstX;
    allSecondEqual = allSecondEqual && row.second == firstSecond;
  }

  // First pass: the displayed sums, accumulated without loss.
  DoubleDouble sx, sx2, sy, sy2, sxy;
  for (const StatRow& row : rows) {
    if (weighted) {
      sx += DoubleDouble::twoProduct(row.second, row.x);
      sx2 += DoubleDouble::twoProduct(row.x, row.x) * row.second;
    } else {
      sx += row.x;
      sx2 += DoubleDouble::twoProduct(row.x, row.x);
    }
    if (pairs) {
      sy += row.second;
      sy2 += DoubleDouble::twoProduct(row.second, row.second);
      sxy += DoubleDouble::twoProduct(row.x, row.second);
    }
    for (const DoubleDouble* s : {&sx, &sx2, &sy, &sy2, &sxy}) {
      if (!s->isFinite()) {
        m_guard.setCode(faultOf(*s));
        return false;
      }
    }
  }
  r.sumX = sx.value();
  r.sumX2 = sx2.value();
  r.sumY = sy.value();
  r.sumY2 = sy2.value();
  r.sumXY = sxy.value();

  // Means; equal data give their own value, without a rounding residue.
  const DoubleDouble meanX = allXEqual ? DoubleDouble(firstX) : sx / total;
  const DoubleDouble meanY = !pairs           ? DoubleDouble(0.0)
                             : allSecondEqual ? DoubleDouble(firstSecond)
                                              : sy / total;
  if (!meanX.isFinite() || !meanY.isFinite()) {
    m_guard.setCode(faultOf(meanX.isFinite() ? meanY : meanX));
    return false;
  }
  r.meanX = meanX.value();
  if (mode != StatMode::Values) r.meanY = meanY.value();

  // Second pass over centred values.
  DoubleDouble cxx, cyy, cxy;
  for (const StatRow& row : rows) {
    DoubleDouble dx = DoubleDouble(row.x) - meanX;
    DoubleDouble wdx = weighted ? dx * row.second : dx;
    cxx += wdx * dx;
    if (pairs) {
      DoubleDouble dy = DoubleDouble(row.second) - meanY;
      cyy += dy * dy;
      cxy += dx * dy;
    }
  }
  for (const DoubleDouble* c : {&cxx, &cyy, &cxy}) {
    if (!c->isFinite()) {
      m_guard.setCode(faultOf(*c));
      return false;
    }
  }

  auto positive = [](double v) { return v > 0.0 ? v : 0.0; };
  r.varX = allXEqual ? 0.0 : positive((cxx / total).value());
  r.varY = pairs && !allSecondEqual ? positive((cyy / total).value()) : 0.0;
  r.covXY = pairs ? (cxy / total).value() : 0.0;
  r.sigmaX = std::sqrt(r.varX);
  r.sigmaY = pairs ? std::sqrt(r.varY) : 0.0;
  if (r.n >= 2) {
    r.sX = allXEqual ? 0.0 : std::sqrt(positive((cxx / (total - 1.0)).value()));
    if (mode == StatMode::Values)
      r.sY = -1.0;
    else
      r.sY = pairs && !allSecondEqual ? std::sqrt(positive((cyy / (total - 1.0)).value())) : 0.0;
  } else {
    r.sX = -1.0;
    r.sY = -1.0;
  }
  for (double v : {r.meanX, r.meanY, r.varX, r.varY, r.covXY, r.sX, r.sY}) {
    if (!std::isfinite(v)) {
      m_guard.setCode(std::isinf(v) ? kOverflow : kMathError);
      return false;
    }
  }

  if (weighted) {
    m_henry.clear();
    if (count > 2) {
      m_henry.assign(rows.begin(), rows.end());
      std::sort(m_henry.begin(), m_henry.end(), [](const StatRow& a, const StatRow& b) { return a.x < b.x; });
      // Equal x make one point with the counts added.
      std::size_t kept = 0;
      for (std::size_t k = 1; k < m_henry.size(); ++k) {
        if (m_henry[k].x == m_henry[kept].x)
          m_henry[kept].second += m_henry[k].second;
        else
          m_henry[++kept] = m_henry[k];
      }
      m_henry.resize(kept + 1);
      if (m_henry.size() > 2) {
        // Cumulative frequencies: counts added first and divided once, so
        // the last one is exactly 1 and none drifts by the rounding of the others.
        DoubleDouble cumulated;
        for (StatRow& row : m_henry) {
          cumulated += row.second;
          row.second = (cumulated / total).value();
        }
      }
    }
    m_axes = {AxisScale::Linear, AxisScale::Probit};
    if (!fitHenryLine()) return false;
  } else if (pairs) {
    m_axes = {AxisScale::Linear, AxisScale::Linear};
    if (!fitRegression({meanX, meanY, cxx, cyy, cxy, allXEqual, allSecondEqual}, count)) return false;
  }
  return m_guard.code() == kNumericOk;
}

bool StatEngine::fitHenryLine() {
  StatResults& r = m_results;
  // The last point (frequency 1) has no quantile; it is left out of the fit.
  const int q = static_cast<int>(m_henry.size()) - 1;
  if (q <= 1) {
    r.r2 = -1.0;
    return true;
  }
  std::vector<double> u(static_cast<std::size_t>(q));
  DoubleDouble sx, su;
  bool allUEqual = true;
  for (int k = 0; k < q; ++k) {
    std::size_t i = static_cast<std::size_t>(k);
    u[i] = scaleForward(m_henry[i].second, m_axes[1], m_guard);
    if (m_guard.code() != kNumericOk) return false;
    allUEqual = allUEqual && u[i] == u[0];
    sx += m_henry[i].x;
    su += u[i];
  }
  const DoubleDouble meanX = sx / q;
  const DoubleDouble meanU = allUEqual ? DoubleDouble(u[0]) : su / q;
  DoubleDouble cxx, cuu, cxu;
  for (int k = 0; k < q; ++k) {
    std::size_t i = static_cast<std::size_t>(k);
    DoubleDouble dx = DoubleDouble(m_henry[i].x) - meanX;
    DoubleDouble du = DoubleDouble(u[i]) - meanU;
    cxx += dx * dx;
    cuu += du * du;
    cxu += dx * du;
  }
  if (!cxx.isFinite() || !cuu.isFinite() || !cxu.isFinite()) {
    m_guard.setCode(faultOf(!cxx.isFinite() ? cxx : !cuu.isFinite() ? cuu : cxu));
    return false;
  }
  if (allUEqual || cxx.value() == 0.0 || cuu.value() == 0.0) {
    r.r2 = -1.0;
    return true;
  }
  const DoubleDouble a = cxu / cxx;
  const DoubleDouble b = meanU - a * meanX;
  const DoubleDouble r2 = a * (cxu / cuu);
  if (!a.isFinite() || !b.isFinite() || !r2.isFinite()) {
    m_guard.setCode(faultOf(!a.isFinite() ? a : !b.isFinite() ? b : r2));
    return false;
  }
  r.a = a.value();
  r.b = b.value();
  r.r2 = r2.value();
  return true;
}

bool StatEngine::fitRegression(const CentredMoments& m, std::size_t count) {
  StatResults& r = m_results;
  // No line through points that share one x, or one y, or spread below the
  // smallest double.
  if (count < 2 || m.allXEqual || m.allYEqual || m.cxx.value() == 0.0 || m.cyy.value() == 0.0) {
    r.r2 = -1.0;
    return true;
  }
  const DoubleDouble a = m.cxy / m.cxx;
  const DoubleDouble b = m.meanY - a * m.meanX;
  const DoubleDouble r2 = count == 2 ? DoubleDouble(1.0) : a * (m.cxy / m.cyy);
  if (!a.isFinite() || !b.isFinite() || !r2.isFinite()) {
    m_guard.setCode(faultOf(!a.isFinite() ? a : !b.isFinite() ? b : r2));
    return false;
  }
  r.a = a.value();
  r.b = b.value();
  r.r2 = r2.value();
  return true;
}

}  // namespace qz

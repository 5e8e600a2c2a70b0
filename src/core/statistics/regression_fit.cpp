#include "statistics/regression_fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "numbers/messages.h"
#include "numbers/real_format.h"

namespace qz {

namespace {

// The solver works in extended precision: the back-transformation from the
// centred variable to powers of x cancels digits (Wampler's degree-5 sets
// lose about five), which the extra bits of long double give back.
using Real = long double;
using Column = std::vector<Real>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct KindInfo {
  FitKind kind;
  std::string_view key;
  const char* label;  // code page 1252
  const char* shortLabel;
};

constexpr std::array<KindInfo, kFitKindCount> kKinds = {{
    {FitKind::Linear, "linear", "Lin\xE9" "aire : y = a.x + b", "droite"},
    {FitKind::Origin, "origin", "Par l'origine : y = a.x", "par l'origine"},
    {FitKind::Poly2, "poly2", "Polyn\xF4me de degr\xE9 2", "degr\xE9 2"},
    {FitKind::Poly3, "poly3", "Polyn\xF4me de degr\xE9 3", "degr\xE9 3"},
    {FitKind::Poly4, "poly4", "Polyn\xF4me de degr\xE9 4", "degr\xE9 4"},
    {FitKind::Poly5, "poly5", "Polyn\xF4me de degr\xE9 5", "degr\xE9 5"},
    {FitKind::Exponential, "exp", "Exponentielle : y = a.e^(b.x)", "exponentielle"},
    {FitKind::Power, "power", "Puissance : y = a.x^b", "puissance"},
    {FitKind::Logarithmic, "log", "Logarithmique : y = a + b.ln x", "logarithme"},
}};

int polynomialDegree(FitKind kind) {
  switch (kind) {
    case FitKind::Poly2: return 2;
    case FitKind::Poly3: return 3;
    case FitKind::Poly4: return 4;
    case FitKind::Poly5: return 5;
    default: return 1;
  }
}

// Least squares by Householder QR of the design with unit-norm columns.
struct LeastSquares {
  std::vector<Real> beta;
  std::vector<std::vector<Real>> inverseGram;  // (AᵀA)⁻¹, to be scaled by the residual variance
  bool fullRank = true;
};

LeastSquares solve(std::vector<Column> columns, Column y) {
  const std::size_t n = y.size();
  const std::size_t p = columns.size();
  LeastSquares out;
  std::vector<Real> scale(p, 1.0L);
  for (std::size_t j = 0; j < p; ++j) {
    Real norm = 0;
    for (Real v : columns[j]) norm += v * v;
    norm = std::sqrt(norm);
    if (!(norm > 0)) {
      out.fullRank = false;
      return out;
    }
    scale[j] = norm;
    for (Real& v : columns[j]) v /= norm;
  }
  std::vector<std::vector<Real>> r(p, std::vector<Real>(p, 0.0L));
  for (std::size_t k = 0; k < p; ++k) {
    Column& c = columns[k];
    Real norm = 0;
    for (std::size_t i = k; i < n; ++i) norm += c[i] * c[i];
    norm = std::sqrt(norm);
    // With unit columns a negligible remainder means a column that the
    // others already span: not enough distinct x for this model.
    if (norm < 1e-15L) {
      out.fullRank = false;
      return out;
    }
    const Real alpha = c[k] > 0 ? -norm : norm;
    Column v(c.begin() + static_cast<std::ptrdiff_t>(k), c.end());
    v[0] -= alpha;
    Real vv = 0;
    for (Real e : v) vv += e * e;
    auto reflect = [&](Column& target) {
      Real dot = 0;
      for (std::size_t i = k; i < n; ++i) dot += v[i - k] * target[i];
      const Real f = 2 * dot / vv;
      for (std::size_t i = k; i < n; ++i) target[i] -= f * v[i - k];
    };
    for (std::size_t j = k + 1; j < p; ++j) reflect(columns[j]);
    reflect(y);
    r[k][k] = alpha;
    for (std::size_t j = k + 1; j < p; ++j) r[k][j] = columns[j][k];
  }
  // R z = Qᵀy, then undo the column scaling.
  std::vector<Real> z(p);
  for (std::size_t k = p; k-- > 0;) {
    Real s = y[k];
    for (std::size_t j = k + 1; j < p; ++j) s -= r[k][j] * z[j];
    z[k] = s / r[k][k];
  }
  out.beta.resize(p);
  for (std::size_t j = 0; j < p; ++j) out.beta[j] = z[j] / scale[j];
  // R⁻¹ (upper triangular), then (AᵀA)⁻¹ = D⁻¹ R⁻¹ R⁻ᵀ D⁻¹.
  std::vector<std::vector<Real>> inv(p, std::vector<Real>(p, 0.0L));
  for (std::size_t j = 0; j < p; ++j) {
    inv[j][j] = 1 / r[j][j];
    for (std::size_t i = j; i-- > 0;) {
      Real s = 0;
      for (std::size_t k = i + 1; k <= j; ++k) s += r[i][k] * inv[k][j];
      inv[i][j] = -s / r[i][i];
    }
  }
  out.inverseGram.assign(p, std::vector<Real>(p, 0.0L));
  for (std::size_t i = 0; i < p; ++i)
    for (std::size_t j = 0; j < p; ++j) {
      Real s = 0;
      for (std::size_t k = std::max(i, j); k < p; ++k) s += inv[i][k] * inv[j][k];
      out.inverseGram[i][j] = s / (scale[i] * scale[j]);
    }
  return out;
}

// A polynomial (or, without intercept, a line through the origin) of v on u.
struct PolyFit {
  std::vector<Real> coefficients;               // ascending powers of u
  std::vector<std::vector<Real>> inverseGram;  // of those coefficients
  Real sse = 0, sst = 0;
  bool fullRank = true;
};

PolyFit fitPolynomial(const std::vector<Real>& u, const std::vector<Real>& v, int degree, bool intercept) {
  const std::size_t n = u.size();
  PolyFit out;
  if (!intercept) {
    LeastSquares ls = solve({Column(u)}, Column(v));
    out.fullRank = ls.fullRank;
    if (!ls.fullRank) return out;
    out.coefficients = ls.beta;
    out.inverseGram = ls.inverseGram;
    for (std::size_t i = 0; i < n; ++i) {
      const Real e = v[i] - ls.beta[0] * u[i];
      out.sse += e * e;
      out.sst += v[i] * v[i];  // about zero: the model has no mean to take off
    }
    return out;
  }
  // Centre and scale u to [-1, 1] so that the powers' columns stay far from
  // dependent, then express the polynomial in powers of u again.
  Real centre = 0;
  for (Real e : u) centre += e;
  centre /= static_cast<Real>(n);
  Real spread = 0;
  for (Real e : u) spread = std::max(spread, std::fabs(e - centre));
  if (!(spread > 0)) {
    out.fullRank = false;
    return out;
  }
  const std::size_t p = static_cast<std::size_t>(degree) + 1;
  std::vector<Column> columns(p, Column(n));
  for (std::size_t i = 0; i < n; ++i) {
    const Real t = (u[i] - centre) / spread;
    Real power = 1;
    for (std::size_t k = 0; k < p; ++k, power *= t) columns[k][i] = power;
  }
  LeastSquares ls = solve(columns, Column(v));
  out.fullRank = ls.fullRank;
  if (!ls.fullRank) return out;
  Real mean = 0;
  for (Real e : v) mean += e;
  mean /= static_cast<Real>(n);
  for (std::size_t i = 0; i < n; ++i) {
    Real fitted = 0;
    for (std::size_t k = p; k-- > 0;) fitted = fitted * ((u[i] - centre) / spread) + ls.beta[k];
    out.sse += (v[i] - fitted) * (v[i] - fitted);
    out.sst += (v[i] - mean) * (v[i] - mean);
  }
  // Σ β_k ((u - c)/s)^k = Σ_j u^j Σ_{k>=j} β_k C(k,j) (-c)^(k-j) / s^k: M maps β to the u-basis.
  std::vector<std::vector<Real>> m(p, std::vector<Real>(p, 0.0L));
  for (std::size_t k = 0; k < p; ++k) {
    Real binomial = 1;  // C(k, j), from j = k downwards
    for (std::size_t j = k + 1; j-- > 0;) {
      m[j][k] = binomial * std::pow(-centre, static_cast<Real>(k - j)) / std::pow(spread, static_cast<Real>(k));
      if (j > 0) binomial = binomial * static_cast<Real>(j) / static_cast<Real>(k - j + 1);
    }
  }
  out.coefficients.assign(p, 0.0L);
  for (std::size_t j = 0; j < p; ++j)
    for (std::size_t k = 0; k < p; ++k) out.coefficients[j] += m[j][k] * ls.beta[k];
  // M (AᵀA)⁻¹ Mᵀ
  std::vector<std::vector<Real>> mg(p, std::vector<Real>(p, 0.0L));
  for (std::size_t i = 0; i < p; ++i)
    for (std::size_t j = 0; j < p; ++j)
      for (std::size_t k = 0; k < p; ++k) mg[i][j] += m[i][k] * ls.inverseGram[k][j];
  out.inverseGram.assign(p, std::vector<Real>(p, 0.0L));
  for (std::size_t i = 0; i < p; ++i)
    for (std::size_t j = 0; j < p; ++j)
      for (std::size_t k = 0; k < p; ++k) out.inverseGram[i][j] += mg[i][k] * m[j][k];
  return out;
}

std::size_t distinctCount(std::vector<Real> values) {
  std::sort(values.begin(), values.end());
  return static_cast<std::size_t>(std::unique(values.begin(), values.end()) - values.begin());
}

FitOutcome refused(int text, std::string argument = {}) {
  FitOutcome out;
  out.refusal = text;
  out.argument = std::move(argument);
  return out;
}

std::string number(double v, int digits) {
  const std::string format = "%." + std::to_string(digits) + "G";
  return formatDouble(format.c_str(), v);
}

// " + 3" or " - 3" after a first term.
std::string signedTerm(double v, int digits) {
  return (v < 0 ? " - " : " + ") + number(std::fabs(v), digits);
}

}  // namespace

std::string_view fitKey(FitKind kind) { return kKinds[static_cast<std::size_t>(kind)].key; }

std::optional<FitKind> fitKindFromKey(std::string_view key) {
  for (const KindInfo& info : kKinds)
    if (info.key == key) return info.kind;
  return std::nullopt;
}

std::string fitLabel(FitKind kind) { return kKinds[static_cast<std::size_t>(kind)].label; }
std::string fitShortLabel(FitKind kind) { return kKinds[static_cast<std::size_t>(kind)].shortLabel; }

FitKind fitKindFromInt(long long value) {
  return value >= 0 && value < kFitKindCount ? static_cast<FitKind>(value) : FitKind::Linear;
}

std::string FitOutcome::message() const { return refusal ? LoadMessageText(refusal, argument) : std::string(); }

FitOutcome fitCurve(std::span<const StatRow> rows, FitKind kind) {
  const bool logX = kind == FitKind::Power || kind == FitKind::Logarithmic;
  const bool logY = kind == FitKind::Exponential || kind == FitKind::Power;
  std::vector<Real> u, v;
  u.reserve(rows.size());
  v.reserve(rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const StatRow& row = rows[i];
    if (logX && !(row.x > 0.0)) return refused(kFitNeedsPositiveX, std::to_string(i + 1));
    if (logY && !(row.second > 0.0)) return refused(kFitNeedsPositiveY, std::to_string(i + 1));
    u.push_back(logX ? std::log(static_cast<Real>(row.x)) : static_cast<Real>(row.x));
    v.push_back(logY ? std::log(static_cast<Real>(row.second)) : static_cast<Real>(row.second));
  }
  const bool intercept = kind != FitKind::Origin;
  const int degree = polynomialDegree(kind);
  const std::size_t p = intercept ? static_cast<std::size_t>(degree) + 1 : 1;
  // A line through the origin needs one x other than 0; the others one
  // distinct x per coefficient.
  std::size_t distinct = distinctCount(u);
  if (!intercept) distinct = std::any_of(u.begin(), u.end(), [](Real e) { return e != 0; }) ? 1 : 0;
  if (distinct < p) return refused(kFitNeedsDistinctX, std::to_string(p));

  const PolyFit poly = fitPolynomial(u, v, degree, intercept);
  if (!poly.fullRank) return refused(kFitNeedsDistinctX, std::to_string(p));
  if (!(poly.sst > 0) || !std::isfinite(static_cast<double>(poly.sst))) return refused(kFitImpossible);

  FitResult fit;
  fit.kind = kind;
  fit.degreesOfFreedom = static_cast<int>(rows.size() - p);
  fit.xScale = 0;
  for (const StatRow& row : rows) fit.xScale = std::max(fit.xScale, std::fabs(row.x));
  if (!(fit.xScale > 0)) fit.xScale = 1;
  const Real variance = fit.degreesOfFreedom > 0 ? poly.sse / static_cast<Real>(fit.degreesOfFreedom) : 0;
  if (fit.degreesOfFreedom > 0) fit.residualSd = static_cast<double>(std::sqrt(variance));
  fit.r2 = static_cast<double>(1 - poly.sse / poly.sst);
  auto se = [&](std::size_t i) -> std::optional<double> {
    if (fit.degreesOfFreedom <= 0) return std::nullopt;
    return static_cast<double>(std::sqrt(std::max<Real>(0, variance * poly.inverseGram[i][i])));
  };
  auto value = [&](std::size_t i) { return static_cast<double>(poly.coefficients[i]); };
  switch (kind) {
    case FitKind::Linear:
      fit.coefficients = {{"a", value(1), se(1)}, {"b", value(0), se(0)}};
      break;
    case FitKind::Origin:
      fit.coefficients = {{"a", value(0), se(0)}};
      break;
    case FitKind::Poly2:
    case FitKind::Poly3:
    case FitKind::Poly4:
    case FitKind::Poly5:
      for (std::size_t i = 0; i < p; ++i) fit.coefficients.push_back({"a" + std::to_string(i), value(i), se(i)});
      break;
    case FitKind::Exponential:
    case FitKind::Power: {
      // a = e^(ln a); its standard error to first order, a.s(ln a).
      const double a = static_cast<double>(std::exp(poly.coefficients[0]));
      std::optional<double> seA = se(0);
      if (seA) *seA *= a;
      fit.coefficients = {{"a", a, seA}, {"b", value(1), se(1)}};
      break;
    }
    case FitKind::Logarithmic:
      fit.coefficients = {{"a", value(0), se(0)}, {"b", value(1), se(1)}};
      break;
  }
  for (const FitCoefficient& c : fit.coefficients)
    if (!std::isfinite(c.value) || (c.se && !std::isfinite(*c.se))) return refused(kFitImpossible);
  if (!std::isfinite(fit.r2)) return refused(kFitImpossible);
  FitOutcome out;
  out.fit = std::move(fit);
  return out;
}

double FitResult::evaluate(double x) const {
  auto c = [this](std::size_t i) { return coefficients[i].value; };
  switch (kind) {
    case FitKind::Linear:
      return c(0) * x + c(1);
    case FitKind::Origin:
      return c(0) * x;
    case FitKind::Poly2:
    case FitKind::Poly3:
    case FitKind::Poly4:
    case FitKind::Poly5: {
      double y = 0.0;
      for (std::size_t i = coefficients.size(); i-- > 0;) y = y * x + c(i);
      return y;
    }
    case FitKind::Exponential:
      return c(0) * std::exp(c(1) * x);
    case FitKind::Power:
      return x > 0.0 ? c(0) * std::pow(x, c(1)) : kNaN;
    case FitKind::Logarithmic:
      return x > 0.0 ? c(0) + c(1) * std::log(x) : kNaN;
  }
  return kNaN;
}

std::string FitResult::equation(int digits) const {
  auto c = [this](std::size_t i) { return coefficients[i].value; };
  const std::string dot = "\xB7";
  std::string text = "y = ";
  switch (kind) {
    case FitKind::Linear:
      text += number(c(0), digits) + dot + "x" + signedTerm(c(1), digits);
      break;
    case FitKind::Origin:
      text += number(c(0), digits) + dot + "x";
      break;
    case FitKind::Poly2:
    case FitKind::Poly3:
    case FitKind::Poly4:
    case FitKind::Poly5: {
      static const char* const kPowers[] = {"", "x", "x\xB2", "x\xB3", "x^4", "x^5"};
      const std::size_t last = coefficients.size() - 1;
      double largest = 0.0;
      for (std::size_t i = 0; i <= last; ++i)
        largest = std::max(largest, std::fabs(c(i)) * std::pow(xScale, static_cast<double>(i)));
      text += number(c(last), digits) + dot + kPowers[last];
      for (std::size_t i = last; i-- > 0;) {
        if (std::fabs(c(i)) * std::pow(xScale, static_cast<double>(i)) < 1e-12 * largest) continue;
        text += signedTerm(c(i), digits) + (i > 0 ? dot + kPowers[i] : std::string());
      }
      break;
    }
    case FitKind::Exponential:
      text += number(c(0), digits) + dot + "e^(" + number(c(1), digits) + dot + "x)";
      break;
    case FitKind::Power:
      text += number(c(0), digits) + dot + "x^" + number(c(1), digits);
      break;
    case FitKind::Logarithmic:
      text += number(c(0), digits) + signedTerm(c(1), digits) + dot + "ln x";
      break;
  }
  return text + "   r\xB2 = " + number(r2, digits);
}

std::optional<double> inverseOf(const FitResult& fit, double y, double xMin, double xMax) {
  auto c = [&fit](std::size_t i) { return fit.coefficients[i].value; };
  double x = kNaN;
  switch (fit.kind) {
    case FitKind::Linear:
      if (c(0) != 0.0) x = (y - c(1)) / c(0);
      break;
    case FitKind::Origin:
      if (c(0) != 0.0) x = y / c(0);
      break;
    case FitKind::Exponential:
      if (c(1) != 0.0 && y / c(0) > 0.0) x = std::log(y / c(0)) / c(1);
      break;
    case FitKind::Power:
      if (c(1) != 0.0 && y / c(0) > 0.0) x = std::pow(y / c(0), 1.0 / c(1));
      break;
    case FitKind::Logarithmic:
      if (c(1) != 0.0) x = std::exp((y - c(0)) / c(1));
      break;
    default: {
      // A polynomial may take y several times: only a single crossing
      // within the data's range is an answer.
      if (!(xMax > xMin)) return std::nullopt;
      constexpr int kSteps = 2000;
      auto f = [&](double at) { return fit.evaluate(at) - y; };
      int roots = 0;
      double low = 0.0, high = 0.0;
      double previous = f(xMin);
      if (previous == 0.0) {
        ++roots;
        low = high = xMin;
      }
      for (int k = 1; k <= kSteps; ++k) {
        const double at = xMin + (xMax - xMin) * k / kSteps;
        const double current = f(at);
        if (current == 0.0 || (previous != 0.0 && (current < 0.0) != (previous < 0.0))) {
          ++roots;
          low = xMin + (xMax - xMin) * (k - 1) / kSteps;
          high = at;
        }
        previous = current;
      }
      if (roots != 1) return std::nullopt;
      for (int i = 0; i < 200 && high > low; ++i) {
        const double middle = 0.5 * (low + high);
        if (middle <= low || middle >= high) break;
        if ((f(middle) < 0.0) == (f(low) < 0.0))
          low = middle;
        else
          high = middle;
      }
      x = f(low) == 0.0 ? low : 0.5 * (low + high);
      break;
    }
  }
  if (!std::isfinite(x)) return std::nullopt;
  return x;
}

}  // namespace qz

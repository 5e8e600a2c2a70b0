#include "statistics/normal_table.h"

#include <cmath>

namespace qz {

namespace {

constexpr std::array<NormalTable::Row, NormalTable::kRows> kTable{{
    {0.0, 0.5, 0.5},
    {0.25, 0.5987, 0.6},
    {0.53, 0.7019, 0.7},
    {0.84, 0.7995, 0.8},
    {1.04, 0.8508, 0.85},
    {1.29, 0.9015, 0.9},
    {1.65, 0.9505, 0.95},
    {1.75, 0.9599, 0.96},
    {1.88, 0.9699, 0.97},
    {2.05, 0.9798, 0.98},
    {2.33, 0.9901, 0.99},
    {2.57, 0.9949, 0.995},
    {2.88, 0.998, 0.998},
    {3.09, 0.999, 0.999},
}};

constexpr double kStep = 0.001;
// sqrt(8 pi): the trapezoid's 1/2 and the density's 1/sqrt(2 pi) in one divisor.
const double kTrapezoidDivisor = std::sqrt(25.13274122871832);

double density(double z) { return std::exp(-z * z / 2.0); }

// One trapezoid from z0 to z0 + step; `d0` holds the density at z0 on entry
// and at the new end on return, so each step evaluates the density once.
double stepArea(double z1, double& d0) {
  double d1 = density(z1);
  double area = (d1 + d0) * kStep / kTrapezoidDivisor;
  d0 = d1;
  return area;
}

// Beyond this the density underflows to 0 and the integral no longer moves,
// so stopping there gives the same result as integrating on for ever.
constexpr double kDensityVanishes = 40.0;

}  // namespace

const std::array<NormalTable::Row, NormalTable::kRows>& NormalTable::rows() { return kTable; }

double NormalTable::z(int k) { return k >= 0 && k < kRows ? kTable[static_cast<std::size_t>(k)].z : 0.5; }

double NormalTable::phi(int k) { return k >= 1 && k < kRows ? kTable[static_cast<std::size_t>(k)].phi : 0.5; }

double NormalTable::nominal(int k) {
  return k >= 1 && k < kRows ? kTable[static_cast<std::size_t>(k)].p : 0.5;
}

double probit(double p) {
  if (p == 0.5) return 0.0;
  double sign = 1.0;
  double q = p;
  if (p < 0.5) {
    q = 1.0 - p;
    sign = -1.0;
  }
  double z0 = 3.09;
  double area = 0.999;
  for (int k = 1; k < NormalTable::kRows; ++k) {
    if (NormalTable::phi(k) > q) {
      z0 = NormalTable::z(k - 1);
      area = k - 1 == 0 ? 0.5 : NormalTable::phi(k - 1);
      break;
    }
  }
  double d0 = density(z0);
  while (z0 < 4.0) {
    double z1 = z0 + kStep;
    area += stepArea(z1, d0);
    if (area >= q) return sign * z0;
    z0 = z1;
  }
  return sign * z0;
}

double normalCdf(double z) {
  if (z == 0.0) return 0.5;
  double target = std::fabs(z);
  double z0 = 3.09;
  double area = 0.999;
  for (int k = 1; k < NormalTable::kRows; ++k) {
    if (NormalTable::z(k) > target) {
      z0 = NormalTable::z(k - 1);
      area = k - 1 == 0 ? 0.5 : NormalTable::phi(k - 1);
      break;
    }
  }
  double d0 = density(z0);
  while (target > z0 && z0 < kDensityVanishes) {
    double z1 = z0 + kStep;
    area += stepArea(z1, d0);
    z0 = z1;
  }
  return z >= 0.0 ? area : 1.0 - area;
}

}  // namespace qz

#include "scientific/expression_math.h"

namespace qz::expr {

double integerPower(double base, double n) {
  double count = std::fabs(n);
  if (count > kMaxRepeatedPower) return std::pow(base, n);
  double r = 1.0;
  // Once the running value is 0 or infinite it stays so (up to its sign,
  // which the clamp or the overflow error makes irrelevant): stop there.
  if (n > 0) {
    for (long k = static_cast<long>(count); k > 0; --k) {
      r *= base;
      if (r == 0.0 || std::isinf(r)) break;
    }
  } else {
    for (long k = static_cast<long>(count); k > 0; --k) {
      r /= base;
      if (r == 0.0 || std::isinf(r)) break;
    }
  }
  return r;
}

}  // namespace qz::expr

#include "statistics/axis_scale.h"

#include <cmath>

#include "statistics/normal_table.h"

namespace qz {

double scaleForward(double value, AxisScale kind, NumericGuard& guard) {
  guard.reset();
  switch (kind) {
    case AxisScale::Linear:
      return guard.check(value);
    case AxisScale::Log10:
      if (!(value > 0.0)) {  // the logarithm would fault
        guard.setCode(kMathError);
        return 0.0;
      }
      return guard.check(std::log10(value));
    case AxisScale::Probit:
      return guard.check(probit(value));
  }
  return 0.0;
}

double scaleInverse(double value, AxisScale kind, NumericGuard& guard) {
  guard.reset();
  switch (kind) {
    case AxisScale::Linear:
      return guard.check(value);
    case AxisScale::Log10:
      return guard.powerChecked(10.0, value);
    case AxisScale::Probit:
      return guard.check(normalCdf(value));
  }
  return 0.0;
}

}  // namespace qz

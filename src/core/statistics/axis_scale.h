// Scale kinds of the diagram's axes and the transforms into axis units.
#pragma once

#include <array>

#include "numbers/numeric_guard.h"

namespace qz {

enum class AxisScale {
  Linear = 0,  ///< values as they are
  Log10 = 1,   ///< decimal logarithm
  Probit = 2,  ///< normal probability: the quantile of a cumulative probability
};

/// Scale kinds of the x axis (index 0) and the y axis (index 1).
using AxisScales = std::array<AxisScale, 2>;

/// A value in axis units. Resets the guard's code; a logarithm of a value
/// <= 0 sets it to 185 and gives 0. Unknown kinds give 0.
double scaleForward(double value, AxisScale kind, NumericGuard& guard);

/// Back from axis units: Log10 gives 10^v (exactly 1 for 0; an overflow sets
/// 1003 and gives 0), Probit the cumulative probability. Resets the guard's code.
double scaleInverse(double value, AxisScale kind, NumericGuard& guard);

}  // namespace qz

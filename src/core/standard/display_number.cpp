#include "standard/display_number.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "numbers/number_check.h"

namespace qz {

namespace {
constexpr double kLargest = 1e300;
constexpr double kSmallest = 1e-300;
}  // namespace

DisplayNumber checkDisplayNumber(const std::string& text) {
  DisplayNumber result;
  if (text.empty()) return result;
  result.messageId = 10;
  if (!CheckTypedNumber(text)) return result;
  char* end = nullptr;
  errno = 0;
  double v = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0') return result;
  // strtod saturates overflows to ±HUGE_VAL and underflows to tiny values or
  // 0 with ERANGE: those are reported against the limits, not as garbage.
  bool underflow = errno == ERANGE && std::fabs(v) <= 1.0;
  if (v > kLargest) {
    result.messageId = 6;
    result.limit = kLargest;
    return result;
  }
  if (v < -kLargest) {
    result.messageId = 7;
    result.limit = -kLargest;
    return result;
  }
  if (underflow || (v != 0.0 && std::fabs(v) < kSmallest)) {
    result.messageId = 3;
    result.limit = kSmallest;
    return result;
  }
  result.valid = true;
  result.value = v;
  result.messageId = 0;
  return result;
}

}  // namespace qz

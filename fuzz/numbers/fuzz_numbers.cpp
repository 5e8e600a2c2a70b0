// Feeds arbitrary text to the number checks and ExtractNumber.
#include <cstdint>
#include <string>

#include "numbers/number_check.h"
#include "numbers/real_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  qz::CheckTypedNumber(text);
  for (int kind = 0; kind <= 3; ++kind) {
    std::string copy = text;
    if (qz::CheckNumberText(copy, kind, kind % 2 == 0) && kind == 3 && !copy.empty()) {
      double value = 0;
      qz::parseReal(copy, value);
    }
  }
  int caret = static_cast<int>(size % 7);
  int start = caret, end = caret;
  std::string signed_ = text;
  if (qz::CheckTypedNumber(signed_)) qz::ChangeSign(signed_, start, end);
  std::string extracted = text;
  double value = qz::ExtractNumber(extracted);
  (void)qz::exchangeText(value);
  (void)qz::readRealPrefix(text);
  return 0;
}

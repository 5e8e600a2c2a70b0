#include "scientific/random_generator.h"

#include <chrono>

namespace qz {

RandomGenerator RandomGenerator::seededFromClock() {
  auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
  // Fold the high bits in so that two starts within the same second still differ.
  auto bits = static_cast<std::uint64_t>(ticks);
  return RandomGenerator(static_cast<std::uint32_t>(bits ^ (bits >> 32)));
}

}  // namespace qz

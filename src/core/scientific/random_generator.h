// The pseudo-random generator behind rnd(): the C library's classic
// generator, kept in an object so that each engine has its own sequence.
#pragma once

#include <cstdint>

namespace qz {

class RandomGenerator {
 public:
  /// Largest value next() returns.
  static constexpr int kMax = 32767;

  explicit RandomGenerator(std::uint32_t seed = 1) : m_state(seed) {}
  /// A generator seeded from the system clock, as the program does at start-up.
  static RandomGenerator seededFromClock();

  void seed(std::uint32_t seed) { m_state = seed; }
  /// The next integer of the sequence, 0 to 32767.
  int next() {
    // The portable generator given as an example in the C standard.
    m_state = m_state * 1103515245u + 12345u;
    return static_cast<int>((m_state / 65536u) % 32768u);
  }

 private:
  std::uint32_t m_state;
};

}  // namespace qz

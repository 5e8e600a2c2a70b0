#include "app/memory_commands.h"

#include <cmath>

#include "numbers/messages.h"
#include "numbers/real_format.h"

namespace qz {

namespace {

constexpr int kClearAllQuestion = 22;

bool valueOf(const std::string& text, double& value) { return parseReal(text, value) && std::isfinite(value); }

}  // namespace

bool copyToMemory(MemoryBank& memories, int i, const std::string& valueText) {
  double value = 0;
  if (i < 0 || i > 9 || !valueOf(valueText, value)) return false;
  memories[static_cast<std::size_t>(i)] = value;
  return true;
}

bool addToMemory(MemoryBank& memories, int i, const std::string& valueText) {
  double value = 0;
  if (i < 0 || i > 9 || !valueOf(valueText, value)) return false;
  double sum = memories[static_cast<std::size_t>(i)] + value;
  if (!std::isfinite(sum)) return false;
  memories[static_cast<std::size_t>(i)] = sum;
  return true;
}

std::string memoryText(const MemoryBank& memories, int i) { return exchangeText(memories.at(static_cast<std::size_t>(i))); }

void clearMemory(MemoryBank& memories, int i) {
  if (i >= 0 && i <= 9) memories[static_cast<std::size_t>(i)] = 0.0;
}

bool clearAllMemories(MemoryBank& memories, Messenger& messenger) {
  if (!Confirm(messenger, kClearAllQuestion)) return false;
  memories.fill(0.0);
  return true;
}

std::string memoryMenuLabel(const std::string& label, double value) {
  std::string text = label.substr(0, label.find("   ["));
  return text + "   [" + formatDouble("%.14G", value) + "]";
}

}  // namespace qz

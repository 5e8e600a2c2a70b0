// The memory commands every calculator shares. Values come from, and go to,
// each calculator as text: its own value source and input target.
#pragma once

#include <array>
#include <string>

#include "platform/messenger.h"

namespace qz {

/// Ten memories M0 to M9, shared by every calculator.
using MemoryBank = std::array<double, 10>;

/// Mi takes the value of `valueText` when it converts completely as a real;
/// false (nothing changed) otherwise.
bool copyToMemory(MemoryBank& memories, int i, const std::string& valueText);
/// Mi becomes Mi plus the value, same condition; a sum beyond the reals is refused.
bool addToMemory(MemoryBank& memories, int i, const std::string& valueText);
/// The text a calculator receives when the user uses Mi ("%.12G").
std::string memoryText(const MemoryBank& memories, int i);
void clearMemory(MemoryBank& memories, int i);
/// After the confirmation (text 22), all ten become 0; false when declined.
bool clearAllMemories(MemoryBank& memories, Messenger& messenger);

/// A memory menu item's text: `label` up to any earlier "   [", then "   [%.14G]".
std::string memoryMenuLabel(const std::string& label, double value);

}  // namespace qz

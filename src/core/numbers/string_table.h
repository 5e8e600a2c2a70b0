// The program's numbered texts: captions, messages, labels and tool tips.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qz {

/// The text of string `id` in UTF-8, or an empty view when there is none.
std::string_view stringTextUtf8(int id);

/// The text of string `id` as code page 1252 bytes ("" when there is none).
std::string LoadString(int id);

/// Every id of the table, ascending.
std::vector<int> stringTableIds();

}  // namespace qz

#include "numbers/string_table.h"

#include <algorithm>
#include <iterator>

#include "numbers/cp1252.h"

namespace qz {

namespace {

struct StringEntry {
  int id;
  const char* text;
};

// Kept in UTF-8 so the texts stay readable; sorted by id.
constexpr StringEntry kStrings[] = {
#include "numbers/string_table_data.inc"
};

}  // namespace

std::string_view stringTextUtf8(int id) {
  auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                             [](const StringEntry& e, int key) { return e.id < key; });
  if (it == std::end(kStrings) || it->id != id) return {};
  return it->text;
}

std::string LoadString(int id) { return utf8ToCp1252(stringTextUtf8(id)); }

std::vector<int> stringTableIds() {
  std::vector<int> ids;
  ids.reserve(std::size(kStrings));
  for (const auto& e : kStrings) ids.push_back(e.id);
  return ids;
}

}  // namespace qz

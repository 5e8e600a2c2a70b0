#include "app/commands.h"

#include "numbers/string_table.h"

namespace qz {

std::string commandToolTip(int command) {
  std::string text = LoadString(command);
  std::size_t lf = text.find('\n');
  if (lf == std::string::npos) return {};
  // Tool tips are at most 80 characters.
  return text.substr(lf + 1, 80);
}

}  // namespace qz

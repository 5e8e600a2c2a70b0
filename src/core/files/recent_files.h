// The four most recently used document files.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/settings_store.h"

namespace qz {

class RecentFiles {
 public:
  static constexpr int kCount = 4;
  static constexpr int kFirstCommand = 31000;  ///< commands 31000 to 31003 open entries 0 to 3

  /// Reads section "Files", keys "File0" to "File3" (an empty text is an empty slot).
  void load(const SettingsStore& store);
  void save(SettingsStore& store) const;

  /// Puts `path` at the head: an entry equal to it (in display form) moves up,
  /// otherwise the oldest is dropped. An empty path changes nothing.
  void promote(const std::string& path);

  /// Removes the entry equal to `path` (in display form), the later ones
  /// moving up: a file no longer there.
  void remove(const std::string& path);

  const std::string& entry(int index) const { return m_entries.at(static_cast<std::size_t>(index)); }

  struct MenuItem {
    int command;       ///< 31000 + index
    std::string text;  ///< "&1 /home/…" or "&2 .../essai.qz"
  };
  /// The File menu's items for the non-empty entries, in order.
  std::vector<MenuItem> menuItems() const;

 private:
  std::array<std::string, kCount> m_entries;
};

}  // namespace qz

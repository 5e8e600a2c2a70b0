#include "files/recent_files.h"

#include <algorithm>

#include "files/display_path.h"

namespace qz {

void RecentFiles::load(const SettingsStore& store) {
  for (int i = 0; i < kCount; ++i)
    m_entries[static_cast<std::size_t>(i)] = store.readText("Files", "File" + std::to_string(i), "");
}

void RecentFiles::save(SettingsStore& store) const {
  for (int i = 0; i < kCount; ++i) store.write("Files", "File" + std::to_string(i), m_entries[static_cast<std::size_t>(i)]);
}

void RecentFiles::promote(const std::string& path) {
  if (path.empty()) return;
  const std::string shown = DisplayPath(path);
  auto found = std::find_if(m_entries.begin(), m_entries.end(),
                            [&](const std::string& e) { return !e.empty() && DisplayPath(e) == shown; });
  auto last = found == m_entries.end() ? m_entries.end() - 1 : found;
  std::move_backward(m_entries.begin(), last, last + 1);
  m_entries.front() = shown;
}

void RecentFiles::remove(const std::string& path) {
  if (path.empty()) return;
  const std::string shown = DisplayPath(path);
  auto kept = std::remove_if(m_entries.begin(), m_entries.end(),
                             [&](const std::string& e) { return !e.empty() && DisplayPath(e) == shown; });
  std::fill(kept, m_entries.end(), std::string());
}

std::vector<RecentFiles::MenuItem> RecentFiles::menuItems() const {
  std::vector<MenuItem> items;
  for (int k = 0; k < kCount; ++k) {
    const std::string& entry = m_entries[static_cast<std::size_t>(k)];
    if (entry.empty()) continue;
    const char separator = entry.find('\\') != std::string::npos ? '\\' : '/';
    std::string text = entry;
    if (std::count(entry.begin(), entry.end(), separator) > 2) text = "..." + entry.substr(entry.rfind(separator));
    items.push_back({kFirstCommand + k, "&" + std::to_string(k + 1) + " " + text});
  }
  return items;
}

}  // namespace qz

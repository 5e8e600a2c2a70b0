#include "platform/settings_store.h"

#include <cerrno>
#include <cstdlib>

namespace qz {

std::string SettingsStore::readText(const std::string& section, const std::string& key,
                                    const std::string& fallback) const {
  auto value = read(section, key);
  return value ? *value : fallback;
}

long long SettingsStore::readInt(const std::string& section, const std::string& key, long long fallback) const {
  auto value = read(section, key);
  if (!value || value->empty()) return fallback;
  const char* begin = value->c_str();
  char* end = nullptr;
  errno = 0;
  long long n = std::strtoll(begin, &end, 10);
  while (end && (*end == ' ' || *end == '\t')) ++end;
  if (end == begin || *end != '\0' || errno == ERANGE) return fallback;
  return n;
}

bool SettingsStore::writeInt(const std::string& section, const std::string& key, long long value) {
  return write(section, key, std::to_string(value));
}

std::optional<std::string> MemorySettingsStore::read(const std::string& section, const std::string& key) const {
  auto it = m_values.find({section, key});
  if (it == m_values.end()) return std::nullopt;
  return it->second;
}

bool MemorySettingsStore::write(const std::string& section, const std::string& key, const std::string& value) {
  if (!m_writable) return false;
  m_values[{section, key}] = value;
  return true;
}

}  // namespace qz

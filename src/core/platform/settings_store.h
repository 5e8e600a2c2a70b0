// Preferences by section and key: an INI file in the program, memory in tests.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace qz {

/// Values are UTF-8 texts; integers are stored as their decimal text.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  /// The stored text, or nothing when the key is absent.
  virtual std::optional<std::string> read(const std::string& section, const std::string& key) const = 0;
  /// Stores a text; returns false when the store could not be written.
  virtual bool write(const std::string& section, const std::string& key, const std::string& value) = 0;

  std::string readText(const std::string& section, const std::string& key, const std::string& fallback) const;
  /// The stored integer; `fallback` when absent or not an integer.
  long long readInt(const std::string& section, const std::string& key, long long fallback) const;
  bool writeInt(const std::string& section, const std::string& key, long long value);
};

/// Settings kept in memory, for tests and for runs that must not touch the user's file.
class MemorySettingsStore : public SettingsStore {
 public:
  std::optional<std::string> read(const std::string& section, const std::string& key) const override;
  bool write(const std::string& section, const std::string& key, const std::string& value) override;

  /// Makes every later write fail, as an unwritable settings folder does.
  void setWritable(bool writable) { m_writable = writable; }
  const std::map<std::pair<std::string, std::string>, std::string>& values() const { return m_values; }

 private:
  std::map<std::pair<std::string, std::string>, std::string> m_values;
  bool m_writable = true;
};

}  // namespace qz

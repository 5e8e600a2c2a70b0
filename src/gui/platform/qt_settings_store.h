// Settings in the user's INI file (~/.config/Keldoran/QZ.ini), sections and
// keys as the program has always named them.
#pragma once

#include <QSettings>
#include <memory>

#include "platform/settings_store.h"

namespace qz {

class QtSettingsStore : public SettingsStore {
 public:
  /// The user's settings file of organisation "Keldoran", application "QZ".
  QtSettingsStore();
  /// A settings file at an explicit path (tests, portable runs).
  explicit QtSettingsStore(const QString& iniPath);

  std::optional<std::string> read(const std::string& section, const std::string& key) const override;
  bool write(const std::string& section, const std::string& key, const std::string& value) override;
  /// Writes pending changes to disk.
  void sync();

 private:
  std::unique_ptr<QSettings> m_settings;
};

}  // namespace qz

#include "platform/qt_settings_store.h"

namespace qz {

namespace {

QString keyPath(const std::string& section, const std::string& key) {
  return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Keldoran", "QZ")) {}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

std::optional<std::string> QtSettingsStore::read(const std::string& section, const std::string& key) const {
  QVariant value = m_settings->value(keyPath(section, key));
  if (!value.isValid()) return std::nullopt;
  // A value typed by hand without quotes that holds a comma
  // ("theApp.sDecimal=,", a font description) reads as the list of its
  // pieces: joined back, it is the text that was written.
  if (value.metaType().id() == QMetaType::QStringList) return value.toStringList().join(',').toStdString();
  return value.toString().toStdString();
}

bool QtSettingsStore::write(const std::string& section, const std::string& key, const std::string& value) {
  // QSettings rewrites its whole file for any value set, even an equal one:
  // every start and every close would write it for nothing.
  const QString path = keyPath(section, key), text = QString::fromStdString(value);
  const QVariant held = m_settings->value(path);
  if (!(held.isValid() && held.metaType().id() == QMetaType::QString && held.toString() == text))
    m_settings->setValue(path, text);
  return m_settings->isWritable();
}

void QtSettingsStore::sync() { m_settings->sync(); }

}  // namespace qz

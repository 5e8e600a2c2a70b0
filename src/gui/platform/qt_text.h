// Program texts (code page 1252) to and from Qt strings.
#pragma once

#include <QString>
#include <string>

#include "numbers/cp1252.h"

namespace qz {

inline QString cp1252ToQString(const std::string& text) { return QString::fromStdString(cp1252ToUtf8(text)); }
inline std::string qStringToCp1252(const QString& text) { return utf8ToCp1252(text.toStdString()); }

}  // namespace qz

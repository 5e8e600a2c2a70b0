#include "app/launcher.h"

#include <cctype>

#include "numbers/cp1252.h"
#include "numbers/string_table.h"

namespace qz {

namespace {

constexpr Rect kZones[Launcher::kZoneCount] = {
    {95, 45, 344, 93},    // standard
    {115, 96, 425, 144},  // scientific
    {135, 147, 421, 195}, // statistics
    {156, 198, 472, 246}, // geometric
    {177, 249, 353, 297}, // unit conversion
    {197, 300, 400, 348}, // quit
};

constexpr int kTitleString = 78;    // "  KELDORAN - QZ"
constexpr int kVersionString = 34;  // "Version %s - %s"

}  // namespace

Rect Launcher::zoneRect(int zone) { return kZones[zone]; }

unsigned Launcher::mouseMove(Point p) {
  unsigned changed = 0;
  for (int z = 0; z < kZoneCount; ++z) {
    bool inside = kZones[z].contains(p);
    if (m_hover[static_cast<std::size_t>(z)] != inside) changed |= 1u << z;
    m_hover[static_cast<std::size_t>(z)] = inside;
  }
  return changed;
}

unsigned Launcher::mouseLeave() {
  unsigned changed = 0;
  for (int z = 0; z < kZoneCount; ++z) {
    if (m_hover[static_cast<std::size_t>(z)]) changed |= 1u << z;
    m_hover[static_cast<std::size_t>(z)] = false;
  }
  return changed;
}

unsigned Launcher::buttonDown(Point p, int& currentCalculator) {
  currentCalculator = -1;
  unsigned changed = 0;
  for (int z = 0; z < kZoneCount; ++z) {
    bool inside = kZones[z].contains(p);
    if (m_pressed[static_cast<std::size_t>(z)] != inside) changed |= 1u << z;
    m_pressed[static_cast<std::size_t>(z)] = inside;
  }
  return changed;
}

unsigned Launcher::buttonUp(Point p, int& currentCalculator) {
  unsigned changed = 0;
  for (int z = 0; z < kZoneCount; ++z) {
    if (kZones[z].contains(p)) currentCalculator = z;
    if (m_pressed[static_cast<std::size_t>(z)]) changed |= 1u << z;
    m_pressed[static_cast<std::size_t>(z)] = false;
  }
  return changed;
}

std::string calculatorName(int calculator) {
  switch (calculator) {
    case 0: return "CALCULETTE STANDARD";
    case 1: return "CALCULETTE SCIENTIFIQUE";
    case 2: return "CALCULETTE STATISTIQUE";
    case 3: return utf8ToCp1252("CALCULETTE GEOMÉTRIQUE");
    case 4: return utf8ToCp1252("CONVERSION D'UNITÉ");
    default: return {};
  }
}

std::string CalcTitle(bool withName, int currentCalculator, const std::string& documentPath) {
  std::string title = LoadString(kTitleString);
  std::string name = calculatorName(currentCalculator);
  if (withName && !name.empty()) title += " : " + name;
  if (!documentPath.empty()) {
    std::size_t slash = documentPath.find_last_of("/\\");
    title += " - " + utf8ToCp1252(slash == std::string::npos ? documentPath : documentPath.substr(slash + 1));
  }
  // Upper case in code page 1252: the accented small letters 0xE0-0xFE (but
  // the division sign 0xF7) have their capitals 0x20 below.
  for (char& c : title) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x80) c = static_cast<char>(std::toupper(b));
    else if (b >= 0xE0 && b <= 0xFE && b != 0xF7) c = static_cast<char>(b - 0x20);
  }
  return title;
}

std::string versionText(int major, int minor, int patch) {
  std::string text = std::to_string(major) + "." + std::to_string(minor);
  if (patch == 0) text += "\xDF";  // ß
  else if (patch > 1 && patch <= 26) text += static_cast<char>('a' + patch - 1);
  return text;
}

std::string versionLine(const std::string& version, const std::string& year) {
  std::string line = LoadString(kVersionString);
  for (const std::string* arg : {&version, &year}) {
    std::size_t at = line.find("%s");
    if (at != std::string::npos) line.replace(at, 2, *arg);
  }
  return line;
}

}  // namespace qz

// The units database read from the shipped file UNIT.SRC.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/messenger.h"
#include "units/unit_record.h"

namespace qz {

inline constexpr int kMaxSystems = 7;
inline constexpr int kMaxCategories = 16;
inline constexpr int kMaxQuantities = 200;
inline constexpr int kMaxDatabaseUnits = 620;
/// Message shown when the database can't be read.
inline constexpr int kUnitsDatabaseMissing = 155;

/// One unit of the database: its composed record (component 0 carries the
/// key, the numbers, the coefficient, offset and dimension of the whole
/// expression; later pieces are continuation pieces), its name and whether it
/// may serve as a component of a non-standard unit.
struct DatabaseUnit {
  UnitRecord record;
  std::string name;  ///< code page 1252
  bool elementary = false;
};

struct UnitsDatabase {
  std::vector<std::string> systems;     ///< at most kMaxSystems names
  std::vector<std::string> categories;  ///< at most kMaxCategories names
  std::vector<std::string> quantities;  ///< at most kMaxQuantities names
  std::vector<DatabaseUnit> units;      ///< at most kMaxDatabaseUnits units

  void clear();
  /// Name of a 1-based list entry, "" when out of range.
  static std::string nameAt(const std::vector<std::string>& list, int number);
};

/// The file name of the database in the data folder.
inline constexpr std::string_view kUnitsDatabaseFileName = "UNIT.SRC";

/// Reads the text of a units database (code page 1252, lines ended by LF or
/// CR LF): a heading line, then the systems, categories and quantities, one
/// name a line, each list closed by a line "."; then the unit lines, closed
/// by "." (the end of the text reads as "."). The two-byte escapes 0xB6 'g',
/// 0xB6 's', 0xB6 'e' become the Greek, subscript and exponent markup bytes.
/// A list longer than its maximum keeps its first entries and skips the rest
/// up to its ".". Never fails: what can't be read reads as zero or empty.
void parseUnitsDatabase(std::string_view text, UnitsDatabase& database);

/// Reads one unit line (twelve tab-separated fields; escapes already replaced).
DatabaseUnit parseUnitLine(std::string_view line);
/// The same into `unit`, which must be empty (a default-constructed unit).
void readUnitLine(std::string_view line, DatabaseUnit& unit);

/// Reads UNIT.SRC from `dataFolder` into `database`; when the file can't be
/// opened, shows message 155 under "ERREUR" and returns false (database emptied).
bool LoadUnitsDatabase(const std::string& dataFolder, Messenger& messenger, UnitsDatabase& database);

}  // namespace qz

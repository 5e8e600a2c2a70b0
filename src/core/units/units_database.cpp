#include "units/units_database.h"

#include <array>
#include <optional>

#include "document/section_text.h"
#include "files/file_access.h"
#include "numbers/messages.h"
#include "numbers/real_format.h"
#include "platform/places.h"
#include "platform/prefault.h"
#include "units/unit_analysis.h"

namespace qz {
namespace {

// Field escapes of the file for the markup bytes, which a text editor can't type.
std::string replaceEscapes(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (static_cast<unsigned char>(line[i]) == 0xB6 && i + 1 < line.size()) {
      char next = line[i + 1];
      char code = next == 'g' ? kMarkGreek : next == 's' ? kMarkSubscript : next == 'e' ? kMarkExponent : 0;
      if (code != 0) {
        out += code;
        ++i;
        continue;
      }
    }
    out += line[i];
  }
  return out;
}

// The fields of a text split at `separator`, without a heap allocation: the
// database is read at every start of qz-cli. A unit line has twelve fields,
// an expression at most ten pieces; fields past the capacity read as empty.
class Fields {
 public:
  Fields(std::string_view text, char separator) {
    std::size_t start = 0;
    while (m_count < m_fields.size()) {
      const std::size_t at = text.find(separator, start);
      m_fields[m_count++] = text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start);
      if (at == std::string_view::npos) break;
      start = at + 1;
    }
  }
  std::string_view operator[](std::size_t i) const { return i < m_count ? m_fields[i] : std::string_view(); }
  const std::string_view* begin() const { return m_fields.data(); }
  const std::string_view* end() const { return m_fields.data() + m_count; }

 private:
  std::array<std::string_view, 16> m_fields{};
  std::size_t m_count = 0;
};

// Hands out the lines of the file, then "." for ever, the way the end of the
// file closes whatever list is open.
class LineSource {
 public:
  explicit LineSource(std::string_view text) : m_text(text) {}
  std::string next() {
    if (m_pos >= m_text.size()) return ".";
    std::size_t end = m_text.find('\n', m_pos);
    if (end == std::string_view::npos) end = m_text.size();
    std::string_view line = m_text.substr(m_pos, end - m_pos);
    m_pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return replaceEscapes(line);
  }

 private:
  std::string_view m_text;
  std::size_t m_pos = 0;
};

void readNameList(LineSource& lines, std::vector<std::string>& list, int maximum) {
  for (std::string line = lines.next(); line != "."; line = lines.next()) {
    if (static_cast<int>(list.size()) < maximum) list.push_back(line);
  }
}

}  // namespace

void UnitsDatabase::clear() {
  systems.clear();
  categories.clear();
  quantities.clear();
  units.clear();
}

std::string UnitsDatabase::nameAt(const std::vector<std::string>& list, int number) {
  if (number < 1 || number > static_cast<int>(list.size())) return {};
  return list[static_cast<std::size_t>(number - 1)];
}

DatabaseUnit parseUnitLine(std::string_view line) {
  DatabaseUnit unit;
  readUnitLine(line, unit);
  return unit;
}

void readUnitLine(std::string_view line, DatabaseUnit& unit) {
  const Fields fields(line, '\t');
  int key = readIntegerPrefix(fields[0]);
  unit.elementary = readIntegerPrefix(fields[1]) == 1;
  int system = readIntegerPrefix(fields[2]);
  int category = readIntegerPrefix(fields[3]);
  int quantity = readIntegerPrefix(fields[4]);
  unit.name = std::string(fields[5]);
  std::string_view expression = fields[6];
  int prefixAllowed = readIntegerPrefix(fields[7]);
  int exponentAllowed = readIntegerPrefix(fields[8]);
  double coefficient = readRealPrefix(fields[9]);
  double offset = readRealPrefix(fields[10]);
  const Fields dimension(fields[11], '|');

  UnitRecord& record = unit.record;
  if (expression.empty()) return;
  for (std::string_view piece : Fields(expression, '&')) {
    if (record.count >= kMaxUnitComponents) break;
    while (!piece.empty() && piece.front() == '|') piece.remove_prefix(1);
    const Fields parts(piece, '|');
    UnitComponent& c = record.components[record.count];
    bool first = record.count == 0;
    c.unitKey = first ? key : kContinuationKey;
    if (first) {
      c.system = system;
      c.category = category;
      c.quantity = quantity;
      c.coefficient = coefficient;
      c.offset = offset;
      for (int k = 0; k < kDimensionCount; ++k) c.dimension[k] = readRealPrefix(dimension[static_cast<std::size_t>(k)]);
    }
    c.divides = parts[0] == "/" ? 1 : 0;
    c.prefix = fitText(parts[1], kPrefixTextMax);
    c.symbol = fitText(parts[2], kSymbolTextMax);
    c.exponent = fitText(parts[3], kExponentTextMax);
    c.prefixAllowed = prefixAllowed;
    c.exponentAllowed = exponentAllowed;
    ++record.count;
  }
}

void parseUnitsDatabase(std::string_view text, UnitsDatabase& database) {
  database.clear();
  LineSource lines(text);
  lines.next();  // heading
  readNameList(lines, database.systems, kMaxSystems);
  readNameList(lines, database.categories, kMaxCategories);
  readNameList(lines, database.quantities, kMaxQuantities);
  // Room for every unit at once, mapped in one step: growing a vector of
  // records this large copies and faults in twice the memory, and its
  // few hundred page faults cost a one-conversion run of qz-cli more than
  // the parsing does.
  database.units.reserve(kMaxDatabaseUnits);
  prefaultForWriting(database.units.data(), database.units.capacity() * sizeof(DatabaseUnit));
  for (std::string line = lines.next(); line != "."; line = lines.next()) {
    if (static_cast<int>(database.units.size()) >= kMaxDatabaseUnits) continue;
    // Read in place: a record is two kilobytes, not worth a copy each.
    readUnitLine(line, database.units.emplace_back());
  }
}

bool LoadUnitsDatabase(const std::string& dataFolder, Messenger& messenger, UnitsDatabase& database) {
  database.clear();
  std::optional<std::string> text =
      ReadWholeFile(joinPath(dataFolder, std::string(kUnitsDatabaseFileName)), messenger, 0);
  if (!text) {
    ShowMessage(messenger, kCaptionError, kUnitsDatabaseMissing, {}, MessageStyle::Error);
    return false;
  }
  parseUnitsDatabase(*text, database);
  return true;
}

}  // namespace qz

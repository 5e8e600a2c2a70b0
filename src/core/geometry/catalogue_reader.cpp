#include "geometry/catalogue_reader.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "numbers/real_format.h"

namespace qz {

namespace {

// Coordinates and counts are read leniently, as atoi would, but a huge number
// is limited instead of wrapping around.
int readInt(std::string_view field) {
  size_t i = 0;
  while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
  long long v = 0;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
    v = v * 10 + (field[i] - '0');
    if (v > INT_MAX) {
      v = INT_MAX;
      break;
    }
  }
  return static_cast<int>(negative ? -v : v);
}

double readReal(std::string_view field) { return readRealPrefix(field); }

std::vector<std::string_view> splitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (true) {
    size_t comma = line.find(',', start);
    if (comma == std::string_view::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, comma - start));
    start = comma + 1;
  }
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Walks the lines of one figure's block.
class LineCursor {
 public:
  LineCursor(std::string_view text, size_t begin, size_t end) : m_text(text), m_pos(begin), m_end(end) {}
  bool atEnd() const { return m_pos >= m_end; }
  std::string_view next() {
    size_t lf = m_text.find('\n', m_pos);
    if (lf == std::string_view::npos || lf > m_end) lf = m_end;
    std::string_view line = m_text.substr(m_pos, lf - m_pos);
    m_pos = lf + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
  }

 private:
  std::string_view m_text;
  size_t m_pos;
  size_t m_end;
};

bool isSubHeader(std::string_view line) { return line.substr(0, 4) == "@SUB"; }

}  // namespace

Rgb catalogueColour(char letter) {
  switch (letter) {
    case 'B':
      return {0, 0, 255};
    case 'G':
      return {0, 128, 0};
    case 'J':
      return {128, 0, 128};
    case 'M':
      return {192, 192, 192};
    case 'R':
      return {255, 0, 0};
    case 'W':
      return {255, 255, 255};
    default:
      return {0, 0, 0};  // "D" and any other letter
  }
}

int catalogueLineStyle(char letter) {
  switch (letter) {
    case 'T':
      return kLineDashed;
    case 'P':
      return kLineDotted;
    case 'M':
      return kLineDashDot;
    default:
      return kLineSolid;
  }
}

bool parseVariableLine(std::string_view line, int subFigure, GeoVariable& v) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.empty()) return false;
  const std::vector<std::string_view> f = splitFields(line);
  auto field = [&](size_t i) { return i < f.size() ? f[i] : std::string_view{}; };
  auto letter = [&](size_t i) {
    std::string_view s = trimmed(field(i));
    return s.empty() ? '\0' : s.front();
  };
  v = GeoVariable{};
  v.kind = line.front();
  if (v.kind == 'V') {
    v.subFigure = -1;
    v.name = std::string(trimmed(field(1)).substr(0, kGeoNameLength));
    v.minimum = -1e300;
    v.maximum = 1e300;
    return true;
  }
  v.subFigure = subFigure;
  if (v.kind == 'C') {
    v.x1 = readInt(field(1));
    v.y1 = readInt(field(2));
    v.colour = catalogueColour(letter(3));
    // The caption is the rest of the line: it may itself hold commas.
    size_t start = 0;
    for (int commas = 0; commas < 4 && start != std::string_view::npos; ++commas) {
      start = line.find(',', start);
      if (start != std::string_view::npos) ++start;
    }
    if (start != std::string_view::npos && start <= line.size()) {
      v.caption = std::string(line.substr(start, kGeoCaptionLength));
    }
    return true;
  }
  v.x1 = readInt(field(1));
  v.y1 = readInt(field(2));
  v.x2 = readInt(field(3));
  v.y2 = readInt(field(4));
  v.colour = catalogueColour(letter(5));
  v.lineStyle = catalogueLineStyle(letter(6));
  v.styleParameter = readInt(field(7));
  v.startMark = letter(8) == '<' ? 1 : 0;
  v.endMark = letter(9) == '>' ? 1 : 0;
  v.name = std::string(trimmed(field(10)).substr(0, kGeoNameLength));
  v.startAngle = readReal(field(11));
  v.endAngle = readReal(field(12));
  v.minimum = readReal(field(13));
  v.maximum = readReal(field(14));
  v.startValue = readReal(field(15));
  v.value = v.startValue;
  v.forbidden1 = readReal(field(16));
  v.forbidden2 = readReal(field(17));
  if (v.kind == 'A' || v.kind == 'L') {
    v.anchorX = v.x2;
    v.anchorY = v.x2;
  } else if (v.kind == 'E' || v.kind == 'I') {
    v.anchorX = v.x2;
    v.anchorY = v.y2;
  }
  v.shown = v.name.empty() ? 0 : 1;
  return true;
}

void CatalogueText::setText(std::string text) {
  m_text = std::move(text);
  m_names.clear();
  m_blockStart.clear();
  m_blockEnd.clear();
  // A header is a line feed followed by "#": the file's first line is never one.
  for (size_t pos = m_text.find("\n#"); pos != std::string::npos; pos = m_text.find("\n#", pos + 1)) {
    if (!m_blockEnd.empty() && m_blockEnd.back() == std::string::npos) m_blockEnd.back() = pos;
    size_t nameStart = pos + 2;
    size_t lf = m_text.find('\n', nameStart);
    size_t nameEnd = lf == std::string::npos ? m_text.size() : lf;
    std::string name = m_text.substr(nameStart, nameEnd - nameStart);
    if (!name.empty() && name.back() == '\r') name.pop_back();
    m_names.push_back(std::move(name));
    m_blockStart.push_back(lf == std::string::npos ? m_text.size() : lf + 1);
    m_blockEnd.push_back(std::string::npos);
  }
  if (!m_blockEnd.empty() && m_blockEnd.back() == std::string::npos) m_blockEnd.back() = m_text.size();
}

CatalogueError CatalogueText::readFigure(int position, VariableTable& table, FigureLayout& layout) const {
  layout.subFigures.clear();
  if (position < 0 || position >= figureCount()) return CatalogueError::NoSuchFigure;
  const size_t begin = m_blockStart[static_cast<size_t>(position)];
  const size_t end = std::max(begin, m_blockEnd[static_cast<size_t>(position)]);
  LineCursor cursor(m_text, begin, end);
  if (cursor.atEnd()) return CatalogueError::BadSubFigureCount;
  const int count = readInt(cursor.next());
  if (count < 1 || count > kMaxSubFigures) return CatalogueError::BadSubFigureCount;

  for (int sub = 0; sub < count; ++sub) {
    const std::string wanted = "@SUB" + std::to_string(sub);
    bool found = false;
    while (!cursor.atEnd()) {
      if (trimmed(cursor.next()) == wanted) {
        found = true;
        break;
      }
    }
    if (!found) return CatalogueError::MissingSubHeader;
    SubFigureHeader header;
    if (!cursor.atEnd()) header.name = std::string(cursor.next());
    if (!cursor.atEnd()) header.anglesNote = readInt(cursor.next());
    if (!cursor.atEnd()) {
      std::string_view offsets = cursor.next();
      size_t comma = offsets.find(',');
      header.offsetX = readReal(offsets.substr(0, comma));
      if (comma != std::string_view::npos) header.offsetY = readReal(offsets.substr(comma + 1));
    }
    layout.subFigures.push_back(std::move(header));

    // Variable lines up to the "." line; a following "@SUB" line or the end
    // of the block also ends them, so that a missing terminator cannot make
    // the next header a variable.
    while (!cursor.atEnd()) {
      std::string_view line = cursor.next();
      if (!line.empty() && line.front() == '.') break;
      if (isSubHeader(line)) {
        // Let the search for the next header see this line again.
        cursor = LineCursor(m_text, static_cast<size_t>(line.data() - m_text.data()), end);
        break;
      }
      GeoVariable v;
      if (!parseVariableLine(line, sub, v)) continue;
      if (table.append(v) < 0) return CatalogueError::TableFull;
    }
  }
  return CatalogueError::None;
}

}  // namespace qz

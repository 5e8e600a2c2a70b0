#include "document/section_text.h"

#include <climits>
#include <cstdlib>

#include "numbers/real_format.h"

namespace qz {

SectionWriter& SectionWriter::line() {
  if (m_open) m_body += '\n';
  m_open = true;
  m_fieldWritten = false;
  return *this;
}

void SectionWriter::field() {
  if (!m_open) line();
  if (m_fieldWritten) m_body += '|';
  m_fieldWritten = true;
}

SectionWriter& SectionWriter::integer(long long value) {
  field();
  m_body += std::to_string(value);
  return *this;
}

SectionWriter& SectionWriter::real(double value) {
  field();
  m_body += exchangeText(value);
  return *this;
}

SectionWriter& SectionWriter::text(std::string_view value) {
  field();
  m_body += value;
  return *this;
}

std::string SectionWriter::finish() const { return m_open ? m_body + '\n' : m_body; }

int readIntegerPrefix(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

SectionLine::SectionLine(std::string_view line) {
  std::size_t start = 0;
  while (true) {
    std::size_t bar = line.find('|', start);
    m_fields.emplace_back(line.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
}

std::string SectionLine::text(std::size_t i) const { return i < m_fields.size() ? m_fields[i] : std::string(); }

int SectionLine::integer(std::size_t i) const { return i < m_fields.size() ? readIntegerPrefix(m_fields[i]) : 0; }

double SectionLine::real(std::size_t i) const { return i < m_fields.size() ? readRealPrefix(m_fields[i]) : 0.0; }

std::string SectionReader::nextLine() {
  if (atEnd()) return {};
  std::size_t end = m_body.find('\n', m_pos);
  if (end == std::string_view::npos) end = m_body.size();
  std::string line(m_body.substr(m_pos, end - m_pos));
  m_pos = end + 1;
  return line;
}

}  // namespace qz

#include "report/report_lines.h"

#include "numbers/markup.h"

namespace qz {

bool ReportLines::addReportLine(std::string_view text) {
  if (size() >= kCapacity) return false;
  std::string line = convertMarkup(text);
  if (line.size() > kMaxLineLength) line.resize(kMaxLineLength);
  m_lines.push_back(std::move(line));
  return true;
}

}  // namespace qz

// The calculation report as a bounded list of markup lines with layout tags.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qz {

/// Layout tags, each the whole content of a line.
inline constexpr std::string_view kReportRule = "<LINE>";            ///< horizontal rule across the text
inline constexpr std::string_view kReportPageBreak = "<PAGE>";       ///< forced page break
inline constexpr std::string_view kReportFigure = "<GEOMETRIC>";     ///< the geometric figure goes here
inline constexpr std::string_view kReportDiagram = "<DIAGRAM>";      ///< the statistics diagram goes here
inline constexpr std::string_view kReportTableStart = "<INI_MEMO>";  ///< next line is a repeated table header
inline constexpr std::string_view kReportTableEnd = "<END_MEMO>";    ///< ends that table
inline constexpr std::string_view kReportEnd = "<END>";              ///< end of the report

/// Text shown when a report cannot be built: "Impossible de créer la note de calcul !".
inline constexpr int kReportFailedText = 121;

/// The lines of a report in internal markup form (code page 1252). Holds at
/// most kCapacity lines, the closing "<END>" included, so that a complete
/// report always fits the fixed table the layout reads.
class ReportLines {
 public:
  static constexpr int kCapacity = 242;
  static constexpr std::size_t kMaxLineLength = 255;

  /// Converts `text` by convertMarkup, cuts it to kMaxLineLength bytes and
  /// appends it (an empty text is an empty line). False, and nothing stored,
  /// when kCapacity lines are already held.
  bool addReportLine(std::string_view text);

  void clear() { m_lines.clear(); }
  int size() const { return static_cast<int>(m_lines.size()); }
  bool empty() const { return m_lines.empty(); }
  const std::string& operator[](int i) const { return m_lines[static_cast<std::size_t>(i)]; }
  const std::vector<std::string>& lines() const { return m_lines; }

 private:
  std::vector<std::string> m_lines;
};

}  // namespace qz

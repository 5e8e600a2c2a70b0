// Writing and reading the body of a calculator's section of the document:
// lines ended by a line feed, fields separated by "|", integers "%d", reals
// in the exchange text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qz {

/// Builds a section body line by line.
class SectionWriter {
 public:
  /// Starts a new line (the previous one, if any, gets its line feed).
  SectionWriter& line();
  SectionWriter& integer(long long value);  ///< "%d" field
  SectionWriter& real(double value);        ///< "%.12G" field, three-digit exponent
  SectionWriter& text(std::string_view value);
  /// A line holding one text, as it is.
  SectionWriter& textLine(std::string_view value) { return line().text(value); }
  /// The body, every line ended by a line feed.
  std::string finish() const;

 private:
  std::string m_body;
  bool m_open = false;
  bool m_fieldWritten = false;
  void field();
};

/// The fields of one line, read with the document's lenient rules: a missing
/// field reads as 0 or "", an integer as its leading digits, a flag as 0 or 1.
class SectionLine {
 public:
  explicit SectionLine(std::string_view line);
  std::size_t size() const { return m_fields.size(); }
  std::string text(std::size_t i) const;
  /// Leading blanks, sign and digits; 0 when there are none; clamped to int.
  int integer(std::size_t i) const;
  /// Non-zero integer means true.
  bool flag(std::size_t i) const { return integer(i) != 0; }
  /// The longest real prefix; 0 when none, never an infinity or a NaN.
  double real(std::size_t i) const;

 private:
  std::vector<std::string> m_fields;
};

/// Consumes a section body line by line; past the end every line is empty.
class SectionReader {
 public:
  explicit SectionReader(std::string_view body) : m_body(body) {}
  bool atEnd() const { return m_pos >= m_body.size(); }
  std::string nextLine();
  SectionLine nextFields() { return SectionLine(nextLine()); }

 private:
  std::string_view m_body;
  std::size_t m_pos = 0;
};

/// The integer rule of the document ("12abc" is 12, "abc" is 0), clamped to int.
int readIntegerPrefix(std::string_view text);

}  // namespace qz

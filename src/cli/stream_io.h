// Inputs of any length for the commands that work line by line (units
// --batch, eval --stdin, stats): lines read one at a time and each bounded,
// the numbers in them read by the number fields' rule, results written
// through one large buffer, and a closed pipe or Ctrl+C ending the run
// cleanly instead of killing it half-way through a write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/messenger.h"

namespace qz::cli {

/// Longest line a stream may hold, its end excluded: far above any sensible
/// value or conversion, small enough that a file without line ends (a device,
/// a binary) is refused at once instead of filling the memory.
inline constexpr std::size_t kMaxLineBytes = 4096;

/// What is wrong with a line as a whole, before its fields are read.
enum class LineFault {
  None,
  TooLong,  ///< more than kMaxLineBytes bytes: the line is skipped up to its end
  Binary,   ///< a control byte other than a tab (a NUL, say)
  NotUtf8,  ///< bytes that are not UTF-8 text
};

/// The French text of a fault (UTF-8, one line, no line number).
std::string lineFaultText(LineFault fault);

/// The fault of one line's bytes (TooLong is the reader's to tell).
LineFault checkLineBytes(std::string_view line);

/// Reads a descriptor line by line through a fixed buffer: a line longer than
/// kMaxLineBytes is never held, so any input runs in the same small memory.
class OutputStream;
class LineReader {
 public:
  /// `fd` stays open: the caller owns it. `results`, when given, is flushed
  /// before each read: a person typing on a terminal sees each answer as
  /// soon as the line is typed, a program piping millions of lines still
  /// gets them in large writes.
  explicit LineReader(int fd, OutputStream* results = nullptr);

  /// Moves to the next line; false at the end of the input, on a read error
  /// (readError()) or once Ctrl+C was pressed (interrupted()).
  bool next();
  /// The line without its "\n" or "\r\n"; empty for a TooLong line.
  std::string_view line() const { return m_line; }
  /// The line's fault, None for a usable line.
  LineFault fault() const { return m_fault; }
  /// Number of the line, from 1.
  std::uint64_t number() const { return m_number; }
  /// errno of a failed read, 0 when the input simply ended.
  int readError() const { return m_error; }

 private:
  bool fill();
  bool waitForInput() const;

  int m_fd;
  OutputStream* m_results;
  std::vector<char> m_buffer;
  std::size_t m_begin = 0, m_end = 0;
  bool m_atEnd = false;
  bool m_skipping = false;  ///< the rest of a line too long is still to be passed over
  int m_error = 0;
  std::string_view m_line;
  LineFault m_fault = LineFault::None;
  std::uint64_t m_number = 0;
};

/// Splits a line into its fields separated by runs of blanks (spaces, tabs).
void splitBlanks(std::string_view line, std::vector<std::string_view>& fields);

/// Why a number written in an input was refused.
enum class NumberFault {
  None,
  Incorrect,      ///< not a number ("abc", "nan", "inf", "0x10", "1,2,3")
  AboveMaximum,   ///< beyond 1E+300 (an overflowing "1E400" too)
  BelowMinimum,   ///< beyond -1E+300
  BelowSmallest,  ///< not zero but smaller than 1E-300 in magnitude
};

/// A number as a number field takes it: "e" is the exponent "E" and "," the
/// decimal point, then a plain decimal real with an optional sign and
/// exponent; "inf", "nan" and hexadecimal are refused. Out-of-range values
/// are reported with their fault, `value` holding what was read.
NumberFault readInputNumber(std::string_view text, double& value);

/// The calculators' message for a fault (code page 1252, without its caption):
/// "Valeur incorrecte !", "Valeur maximale = 1e+300 !", ...
std::string numberFaultText(NumberFault fault);

/// Room exchangeReal() needs.
inline constexpr std::size_t kExchangeRealBytes = 40;
/// The exchange text of a real, "%.12G" with an exponent of at least three
/// digits, exactly as formatDouble("%.12G", value) writes it but without
/// printf, which costs more than the calculation itself in a stream of
/// millions of values. Writes into `buffer` and returns the length.
std::size_t exchangeReal(double value, char* buffer);

/// A message of several lines on one line: its lines joined by a blank.
std::string oneLine(std::string_view text);

/// Keeps the last box shown, for a message that belongs on one line of a
/// stream's report instead of in a box of its own.
class CapturingMessenger : public Messenger {
 public:
  CapturingMessenger() { setBeepEnabled(false); }
  MessageAnswer showBox(const std::string& text, MessageStyle style) override;
  void playSound(BeepKind) override {}
  /// The last box's text without its caption word, its lines joined by a blank.
  std::string lastBody() const;
  int count() const { return m_count; }

 private:
  std::string m_last;
  int m_count = 0;
};

/// Standard output through a large buffer of our own (written with write(2)).
/// A reader that went away (EPIPE) ends the output silently; any other
/// failure is reported once by the caller through failed().
class OutputStream {
 public:
  explicit OutputStream(int fd = 1, std::size_t capacity = std::size_t{1} << 20);
  ~OutputStream();
  OutputStream(const OutputStream&) = delete;
  OutputStream& operator=(const OutputStream&) = delete;

  void write(std::string_view text) {
    if (m_size + text.size() > m_buffer.size() && !drain(text.size())) return;
    text.copy(m_buffer.data() + m_size, text.size());
    m_size += text.size();
  }
  void writeReal(double value) {
    char text[kExchangeRealBytes];
    write(std::string_view(text, exchangeReal(value, text)));
  }
  void put(char c) {
    if (m_size == m_buffer.size() && !drain(1)) return;
    m_buffer[m_size++] = c;
  }
  /// Writes what the buffer holds; false once the output failed.
  bool flush();
  /// True once a write failed: nothing more is written.
  bool failed() const { return m_error != 0; }
  /// True when the failure was a closed pipe (the reader has gone).
  bool closedPipe() const;
  int error() const { return m_error; }

 private:
  bool drain(std::size_t needed);

  int m_fd;
  std::vector<char> m_buffer;
  std::size_t m_size = 0;
  int m_error = 0;
};

/// While it lives, Ctrl+C (SIGINT) no longer kills the program: the reads in
/// progress return and interrupted() turns true, so that a stream stops after
/// its last complete line with the output written so far flushed.
class InterruptWatch {
 public:
  InterruptWatch();
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;
};
bool interrupted();

/// Exit code after Ctrl+C, as a shell reports a program stopped by SIGINT.
inline constexpr int kExitInterrupted = 130;

/// How a stream run ends: the output flushed; Ctrl+C gives kExitInterrupted,
/// a closed pipe 1 without a message, another write failure 1 after a
/// message, a read error 1 after a message; otherwise `code`.
int finishStream(OutputStream& out, const LineReader& in, int code);

}  // namespace qz::cli

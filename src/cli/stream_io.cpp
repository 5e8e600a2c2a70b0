#include "stream_io.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "cli_context.h"
#include "numbers/cp1252.h"
#include "numbers/messages.h"
#include "numbers/number_check.h"
#include "numbers/real_format.h"
#include "numbers/string_table.h"

namespace qz::cli {

namespace {

constexpr std::size_t kReadBufferBytes = std::size_t{256} << 10;

enum : int {
  kTextSmallestValue = 3,  // "Plus petite valeur = |%g| !"
  kTextMaximum = 6,        // "Valeur maximale = %g !"
  kTextMinimum = 7,        // "Valeur minimale = %g !"
  kTextIncorrectValue = 10,
};

// A signal handler can only leave a flag; the program's one such flag.
volatile std::sig_atomic_t g_interrupted = 0;
struct sigaction g_previousInterrupt {};

extern "C" void onInterrupt(int) { g_interrupted = 1; }

// Length of the UTF-8 sequence starting at `s` (n bytes available), 0 when
// it is not a well-formed one (overlong forms, surrogates and values beyond
// U+10FFFF included).
std::size_t utf8SequenceLength(const unsigned char* s, std::size_t n) {
  const unsigned char c = s[0];
  std::size_t length = 0;
  unsigned low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (n < length || s[1] < low || s[1] > high) return 0;
  for (std::size_t i = 2; i < length; ++i)
    if ((s[i] & 0xC0) != 0x80) return 0;
  return length;
}

}  // namespace

std::string lineFaultText(LineFault fault) {
  switch (fault) {
    case LineFault::TooLong:
      return "ligne trop longue (plus de " + std::to_string(kMaxLineBytes) + " octets).";
    case LineFault::Binary:
      return "caractères de contrôle (données binaires ?) refusés.";
    case LineFault::NotUtf8:
      return "texte qui n'est pas en UTF-8.";
    case LineFault::None:
      break;
  }
  return {};
}

LineFault checkLineBytes(std::string_view line) {
  const auto* s = reinterpret_cast<const unsigned char*>(line.data());
  const std::size_t n = line.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      if ((c < 0x20 && c != '\t') || c == 0x7F) return LineFault::Binary;
      ++i;
      continue;
    }
    const std::size_t length = utf8SequenceLength(s + i, n - i);
    if (length == 0) return LineFault::NotUtf8;
    i += length;
  }
  return LineFault::None;
}

// Waits until `m_fd` can be read; false once Ctrl+C was pressed. The flag is
// checked with SIGINT blocked and ppoll unblocks it only while it waits, so
// a Ctrl+C that comes just before the wait still ends it.
bool LineReader::waitForInput() const {
  sigset_t interrupt, previous;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  sigprocmask(SIG_BLOCK, &interrupt, &previous);
  bool ready = !interrupted();
  if (ready) {
    struct pollfd wanted {m_fd, POLLIN, 0};
    while (::ppoll(&wanted, 1, nullptr, &previous) < 0 && errno == EINTR) {
      if (interrupted()) {
        ready = false;
        break;
      }
    }
  }
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  return ready;
}

LineReader::LineReader(int fd, OutputStream* results) : m_fd(fd), m_results(results), m_buffer(kReadBufferBytes) {}

bool LineReader::fill() {
  if (m_atEnd) return false;
  if (m_begin > 0) {
    std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
    m_end -= m_begin;
    m_begin = 0;
  }
  if (m_results != nullptr) m_results->flush();
  for (;;) {
    if (!waitForInput()) {
      m_atEnd = true;
      return false;
    }
    const ssize_t n = ::read(m_fd, m_buffer.data() + m_end, m_buffer.size() - m_end);
    if (n > 0) {
      m_end += static_cast<std::size_t>(n);
      return true;
    }
    if (n < 0 && errno == EINTR && !interrupted()) continue;
    if (n < 0 && errno != EINTR) m_error = errno;
    m_atEnd = true;
    return false;
  }
}

bool LineReader::next() {
  m_line = {};
  m_fault = LineFault::None;
  while (m_skipping) {
    const auto* found = static_cast<const char*>(std::memchr(m_buffer.data() + m_begin, '\n', m_end - m_begin));
    if (found != nullptr) {
      m_begin = static_cast<std::size_t>(found - m_buffer.data()) + 1;
      m_skipping = false;
    } else {
      m_begin = m_end = 0;
      if (!fill()) return false;
    }
  }
  for (;;) {
    if (interrupted()) return false;
    const char* start = m_buffer.data() + m_begin;
    const std::size_t pending = m_end - m_begin;
    const auto* end = static_cast<const char*>(std::memchr(start, '\n', pending));
    if (end != nullptr || (m_atEnd && pending > 0)) {
      std::size_t length = end != nullptr ? static_cast<std::size_t>(end - start) : pending;
      m_begin += end != nullptr ? length + 1 : length;
      ++m_number;
      if (length > 0 && start[length - 1] == '\r') --length;
      if (length > kMaxLineBytes) {
        m_fault = LineFault::TooLong;
      } else {
        m_line = std::string_view(start, length);
        m_fault = checkLineBytes(m_line);
      }
      return true;
    }
    if (m_atEnd) return false;
    if (pending > kMaxLineBytes + 1) {
      // Too long already: reported now, its rest passed over by the next call
      // (an endless line is never read further by a caller that stops here).
      ++m_number;
      m_fault = LineFault::TooLong;
      m_begin = m_end = 0;
      m_skipping = true;
      return true;
    }
    if (!fill() && !m_atEnd) return false;
    if (m_error != 0) return false;
  }
}

void splitBlanks(std::string_view line, std::vector<std::string_view>& fields) {
  fields.clear();
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n) {
    while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < n && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
}

NumberFault readInputNumber(std::string_view text, double& value) {
  value = 0.0;
  // Longer than any real written with all its digits: not a value anybody typed.
  if (text.empty() || text.size() > 64) return NumberFault::Incorrect;
  std::string typed = TypedNumberText(text);
  if (!CheckNumberText(typed, static_cast<int>(NumberKind::Real), true) || typed.empty())
    return NumberFault::Incorrect;
  if (!parseReal(typed, value)) {
    // A well-formed number that the doubles cannot hold overflowed or underflowed.
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(typed.c_str(), &end);
    if (end == typed.c_str() || *end != '\0' || errno != ERANGE) return NumberFault::Incorrect;
    value = v;
    if (std::fabs(v) >= 1.0) return v > 0 ? NumberFault::AboveMaximum : NumberFault::BelowMinimum;
    return NumberFault::BelowSmallest;
  }
  if (value > 1e300) return NumberFault::AboveMaximum;
  if (value < -1e300) return NumberFault::BelowMinimum;
  if (value != 0.0 && std::fabs(value) < 1e-300) return NumberFault::BelowSmallest;
  return NumberFault::None;
}

std::string numberFaultText(NumberFault fault) {
  CapturingMessenger capture;
  switch (fault) {
    case NumberFault::None:
      return {};
    case NumberFault::Incorrect:
      return LoadString(kTextIncorrectValue);
    case NumberFault::AboveMaximum:
      ShowValueMessage(capture, kTextMaximum, 1e300);
      break;
    case NumberFault::BelowMinimum:
      ShowValueMessage(capture, kTextMinimum, -1e300);
      break;
    case NumberFault::BelowSmallest:
      ShowValueMessage(capture, kTextSmallestValue, 1e-300);
      break;
  }
  return capture.lastBody();
}

MessageAnswer CapturingMessenger::showBox(const std::string& text, MessageStyle style) {
  m_last = text;
  ++m_count;
  return style == MessageStyle::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

std::string CapturingMessenger::lastBody() const {
  const std::size_t blank = m_last.find("\n\n");
  return oneLine(blank == std::string::npos ? std::string_view(m_last) : std::string_view(m_last).substr(blank + 2));
}

std::size_t exchangeReal(double value, char* buffer) {
  if (!std::isfinite(value)) {
    const std::string text = formatDouble("%.12G", value);
    return text.copy(buffer, kExchangeRealBytes);
  }
  // to_chars with a precision prints as printf's %.12g does.
  char* end = std::to_chars(buffer, buffer + kExchangeRealBytes - 4, value, std::chars_format::general, 12).ptr;
  char* e = std::find(buffer, end, 'e');
  if (e == end) return static_cast<std::size_t>(end - buffer);
  *e = 'E';
  char* digits = e + 2;  // after the exponent's sign
  const std::size_t count = static_cast<std::size_t>(end - digits);
  if (count < 3) {
    const std::size_t pad = 3 - count;
    std::memmove(digits + pad, digits, count);
    std::memset(digits, '0', pad);
    end += pad;
  }
  return static_cast<std::size_t>(end - buffer);
}

std::string oneLine(std::string_view text) {
  std::string joined;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      if (!joined.empty() && joined.back() != ' ') joined += ' ';
    } else {
      joined += c;
    }
  }
  while (!joined.empty() && joined.back() == ' ') joined.pop_back();
  return joined;
}

OutputStream::OutputStream(int fd, std::size_t capacity) : m_fd(fd), m_buffer(capacity) {}

OutputStream::~OutputStream() { flush(); }

bool OutputStream::flush() {
  std::size_t done = 0;
  while (m_error == 0 && done < m_size) {
    const ssize_t n = ::write(m_fd, m_buffer.data() + done, m_size - done);
    if (n >= 0) {
      done += static_cast<std::size_t>(n);
    } else if (errno != EINTR) {
      m_error = errno;
    }
  }
  m_size = 0;
  return m_error == 0;
}

bool OutputStream::drain(std::size_t needed) {
  if (!flush()) return false;
  if (needed > m_buffer.size()) m_buffer.resize(needed);
  return true;
}

bool OutputStream::closedPipe() const { return m_error == EPIPE; }

InterruptWatch::InterruptWatch() {
  g_interrupted = 0;
  // A program started in the background by a shell has Ctrl+C ignored: it stays so.
  sigaction(SIGINT, nullptr, &g_previousInterrupt);
  if (g_previousInterrupt.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no SA_RESTART: a read waiting on a terminal returns at once
  sigaction(SIGINT, &action, &g_previousInterrupt);
}

InterruptWatch::~InterruptWatch() { sigaction(SIGINT, &g_previousInterrupt, nullptr); }

bool interrupted() { return g_interrupted != 0; }

int finishStream(OutputStream& out, const LineReader& in, int code) {
  out.flush();
  if (interrupted()) return kExitInterrupted;
  if (out.failed()) {
    if (!out.closedPipe())
      printError(utf8ToCp1252(std::string("Impossible d'écrire la sortie : ") + std::strerror(out.error()) + "."));
    return kExitCalculationError;
  }
  if (in.readError() != 0) {
    printError(utf8ToCp1252("Lecture interrompue après la ligne " + std::to_string(in.number()) + " : " +
                            std::strerror(in.readError()) + "."));
    return kExitCalculationError;
  }
  return code;
}

}  // namespace qz::cli

// The pieces every qz-cli stream shares: lines read through a bounded buffer,
// the number rule, the exchange text of a real without printf, the output
// buffer and the messages of a line.
#include "stream_io.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <limits>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "numbers/cp1252.h"
#include "numbers/real_format.h"

namespace {

using qz::cli::LineFault;
using qz::cli::LineReader;
using qz::cli::NumberFault;

struct ReadLine {
  std::uint64_t number;
  std::string text;
  LineFault fault;
};

// Everything a reader gives for `input`, written into a pipe by a thread so
// that inputs larger than the pipe's buffer arrive in pieces, as from a program.
std::vector<ReadLine> readAll(const std::string& input) {
  int fds[2];
  EXPECT_EQ(::pipe(fds), 0);
  std::thread writer([&] {
    std::size_t done = 0;
    while (done < input.size()) {
      const ssize_t n = ::write(fds[1], input.data() + done, std::min<std::size_t>(input.size() - done, 1000));
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    ::close(fds[1]);
  });
  std::vector<ReadLine> lines;
  LineReader reader(fds[0]);
  while (reader.next()) lines.push_back({reader.number(), std::string(reader.line()), reader.fault()});
  writer.join();
  ::close(fds[0]);
  EXPECT_EQ(reader.readError(), 0);
  return lines;
}

TEST(LineReader, LinesEndsAndTheLastLineWithoutOne) {
  const std::vector<ReadLine> lines = readAll("1\r\n\n  2 \nlast");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].text, "1");
  EXPECT_EQ(lines[1].text, "");
  EXPECT_EQ(lines[2].text, "  2 ");
  EXPECT_EQ(lines[3].text, "last");
  EXPECT_EQ(lines[3].number, 4u);
  EXPECT_TRUE(readAll("").empty());
}

TEST(LineReader, HostileLinesAreFlaggedAndTheNextLinesReadIntact) {
  const std::string longLine(100000, '7');  // far beyond the buffer of one read
  const std::string input = "1\n" + longLine + "\n2\n" + std::string(qz::cli::kMaxLineBytes, '8') + "\n" +
                            std::string("a\0b", 3) + "\n\xff\xfe\n\xC3\xA9t\xC3\xA9\n\xED\xA0\x80\n\xC0\xAF\n3\n";
  const std::vector<ReadLine> lines = readAll(input);
  ASSERT_EQ(lines.size(), 10u);
  const LineFault expected[] = {LineFault::None,    LineFault::TooLong, LineFault::None,    LineFault::None,
                                LineFault::Binary,  LineFault::NotUtf8, LineFault::None,    LineFault::NotUtf8,
                                LineFault::NotUtf8, LineFault::None};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[i].number, i + 1);
    EXPECT_EQ(lines[i].fault, expected[i]);
  }
  EXPECT_EQ(lines[1].text, "") << "a line too long is never held";
  EXPECT_EQ(lines[2].text, "2");
  EXPECT_EQ(lines[3].text.size(), qz::cli::kMaxLineBytes) << "a line of the greatest length is taken";
  EXPECT_EQ(lines[9].text, "3");
}

TEST(LineReader, AnEndlessLineWithoutLineEndIsOneFaultyLine) {
  const std::vector<ReadLine> lines = readAll(std::string(300000, '\0'));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].fault, LineFault::TooLong);
}

TEST(ReadInputNumber, TheNumberFieldsRule) {
  struct Case {
    const char* text;
    NumberFault fault;
    double value;
  };
  const Case cases[] = {
      {"36", NumberFault::None, 36},
      {"-2.5", NumberFault::None, -2.5},
      {"2,5", NumberFault::None, 2.5},
      {"1e3", NumberFault::None, 1000},
      {"1.5E-3", NumberFault::None, 0.0015},
      {".5", NumberFault::None, 0.5},
      {"0", NumberFault::None, 0},
      {"1E300", NumberFault::None, 1e300},
      {"", NumberFault::Incorrect, 0},
      {"abc", NumberFault::Incorrect, 0},
      {"nan", NumberFault::Incorrect, 0},
      {"NaN", NumberFault::Incorrect, 0},
      {"inf", NumberFault::Incorrect, 0},
      {"-infinity", NumberFault::Incorrect, 0},
      {"0x10", NumberFault::Incorrect, 0},
      {"1,2,3", NumberFault::Incorrect, 0},
      {"1..2", NumberFault::Incorrect, 0},
      {"--1", NumberFault::Incorrect, 0},
      {"1E", NumberFault::Incorrect, 0},
      {"E5", NumberFault::Incorrect, 0},
      {"1-2", NumberFault::Incorrect, 0},
      {"2E300", NumberFault::AboveMaximum, 2e300},
      {"1E400", NumberFault::AboveMaximum, 0},
      {"-2E300", NumberFault::BelowMinimum, -2e300},
      {"-1E400", NumberFault::BelowMinimum, 0},
      {"1E-305", NumberFault::BelowSmallest, 1e-305},
      {"1E-400", NumberFault::BelowSmallest, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    double value = -1;
    EXPECT_EQ(qz::cli::readInputNumber(c.text, value), c.fault);
    if (c.fault == NumberFault::None || c.value != 0) {
      EXPECT_EQ(value, c.value);
    }
  }
}

TEST(ReadInputNumber, MessagesOfTheCalculators) {
  EXPECT_EQ(qz::cp1252ToUtf8(qz::cli::numberFaultText(NumberFault::Incorrect)), "Valeur incorrecte !");
  EXPECT_EQ(qz::cp1252ToUtf8(qz::cli::numberFaultText(NumberFault::AboveMaximum)), "Valeur maximale = 1e+300 !");
  EXPECT_EQ(qz::cp1252ToUtf8(qz::cli::numberFaultText(NumberFault::BelowMinimum)), "Valeur minimale = -1e+300 !");
  EXPECT_EQ(qz::cli::numberFaultText(NumberFault::None), "");
}

std::string exchange(double value) {
  char text[qz::cli::kExchangeRealBytes];
  return std::string(text, qz::cli::exchangeReal(value, text));
}

TEST(ExchangeReal, WritesWhatFormatDoubleWrites) {
  std::vector<double> values = {0.0,   -0.0,     1.0,      -1.0,   0.1,    1e-5,       1e-4,   123456789012.0,
                                999999999999.0,  999999999999.5, 1e12,   1e20,       -2.5e-7, 1e300, -1e-300,
                                1.0 / 3, 2.0 / 3, 5e-324, 1.7976931348623157e308, 0.000123456789012345};
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-320, 300);
  for (int i = 0; i < 20000; ++i) values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
  for (int i = 0; i < 2000; ++i) values.push_back(std::round(mantissa(random) * 1e6) / 1000.0);
  values.push_back(std::numeric_limits<double>::infinity());
  values.push_back(std::nan(""));
  for (double v : values) ASSERT_EQ(exchange(v), qz::formatDouble("%.12G", v)) << v;
}

TEST(CapturingMessenger, KeepsTheBodyOnOneLine) {
  qz::cli::CapturingMessenger capture;
  capture.showBox("ERREUR\n\nAttention : ces deux unités sont incohérentes !\nUnité courante : kg (M)\n",
                  qz::MessageStyle::Error);
  EXPECT_EQ(capture.lastBody(), "Attention : ces deux unités sont incohérentes ! Unité courante : kg (M)");
  EXPECT_EQ(capture.count(), 1);
}

TEST(OutputStream, WritesEverythingAndReportsAClosedPipe) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  std::string received;
  std::thread reader([&] {
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0) received.append(buffer, static_cast<std::size_t>(n));
  });
  {
    qz::cli::OutputStream out(fds[1], 16);  // a tiny buffer: every path of the buffer is taken
    out.write("abc");
    out.put('\n');
    out.write(std::string(100, 'x'));
    out.writeReal(1e20);
    EXPECT_TRUE(out.flush());
  }
  ::close(fds[1]);
  reader.join();
  ::close(fds[0]);
  EXPECT_EQ(received, "abc\n" + std::string(100, 'x') + "1E+020");

  ASSERT_EQ(::pipe(fds), 0);
  ::close(fds[0]);
  std::signal(SIGPIPE, SIG_IGN);
  qz::cli::OutputStream out(fds[1], 16);
  out.write("nobody reads this line");
  EXPECT_FALSE(out.flush());
  EXPECT_TRUE(out.closedPipe());
  ::close(fds[1]);
}

}  // namespace

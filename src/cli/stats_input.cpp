#include "stats_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>

#include "cli_context.h"
#include "files/file_access.h"
#include "numbers/cp1252.h"
#include "numbers/messages.h"
#include "numbers/string_table.h"
#include "stream_io.h"

namespace qz::cli {

namespace {

std::string_view trimmed(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::string_view unquoted(std::string_view field) {
  field = trimmed(field);
  if (field.size() >= 2 && field.front() == '"' && field.back() == '"') field = trimmed(field.substr(1, field.size() - 2));
  return field;
}

// Fields between `separators`; with `mergeRuns`, runs of them count as one
// and none stands at either end. A separator between double quotes is text.
void splitOn(std::string_view line, std::string_view separators, bool mergeRuns,
             std::vector<std::string_view>& fields) {
  fields.clear();
  std::size_t start = 0;
  bool quoted = false;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    if (i < line.size() && line[i] == '"') quoted = !quoted;
    if (i < line.size() && (quoted || separators.find(line[i]) == std::string_view::npos)) continue;
    const std::string_view field = line.substr(start, i - start);
    if (!mergeRuns || !field.empty()) fields.push_back(unquoted(field));
    start = i + 1;
  }
}

// A line at fault: its message on standard error, as the other streams give theirs.
void fail(const std::string& utf8) { printError(utf8ToCp1252(utf8)); }

// The descriptor to read: standard input, or a regular file opened without
// waiting on a FIFO that has no writer. -1 after the file message.
int openInput(const std::string& path, Messenger& messenger) {
  if (path == "-") return STDIN_FILENO;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  FileErrorCause cause = FileErrorCause::None;
  struct stat info {};
  if (fd < 0)
    cause = causeOfErrno(errno);
  else if (::fstat(fd, &info) != 0)
    cause = causeOfErrno(errno);
  else if (!S_ISREG(info.st_mode))
    cause = FileErrorCause::InvalidFile;
  if (cause == FileErrorCause::None) return fd;
  if (fd >= 0) ::close(fd);
  ShowFileError(messenger, kCannotOpenFile, path, cause);
  return -1;
}

}  // namespace

bool parseColumnList(const std::string& text, std::vector<int>& columns) {
  columns.clear();
  std::string_view rest(text);
  while (true) {
    const std::size_t comma = rest.find(',');
    const std::string_view part = rest.substr(0, comma);
    int column = 0;
    const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), column);
    if (part.empty() || ec != std::errc() || end != part.data() + part.size() || column < 1) return false;
    columns.push_back(column);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return columns.size() <= 2;
}

void splitStatFields(std::string_view line, int expectedColumns, bool decimalComma,
                     std::vector<std::string_view>& fields) {
  // Separators are looked for outside double quotes only.
  std::size_t semicolons = 0, tabs = 0, blanks = 0, commas = 0;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    semicolons += c == ';';
    tabs += c == '\t';
    blanks += c == ' ';
    commas += c == ',';
  }
  if (semicolons > 0) return splitOn(line, ";\t", false, fields);
  if (tabs > 0) return splitOn(line, "\t", false, fields);
  if (blanks > 0) return splitOn(line, " ", true, fields);
  if (decimalComma || commas == 0 || (commas == 1 && expectedColumns <= 1)) {
    fields.assign(1, unquoted(line));
    return;
  }
  splitOn(line, ",", false, fields);
}

bool readStatRows(const std::string& path, StatsInputOptions& options, std::vector<StatRow>& rows,
                  Messenger& messenger) {
  if (!options.columns.empty() && options.mode < 0) options.mode = options.columns.size() == 1 ? 0 : 2;
  const int fd = openInput(path, messenger);
  if (fd < 0) return false;
  struct Closer {
    int fd;
    ~Closer() {
      if (fd != STDIN_FILENO) ::close(fd);
    }
  } closer{fd};
  // A file named may be a FIFO no more, but its reads must wait for data.
  if (fd != STDIN_FILENO) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

  const int fieldsWanted = options.columns.empty() ? 0 : *std::max_element(options.columns.begin(), options.columns.end());
  int columns = options.mode < 0 ? 0 : valueColumns(static_cast<StatMode>(options.mode));
  bool headerSkipped = !options.header;
  InterruptWatch watch;
  LineReader in(fd);
  std::vector<std::string_view> fields;
  const auto lineLead = [&] { return "Ligne " + std::to_string(in.number()) + " : "; };
  while (in.next()) {
    if (in.fault() != LineFault::None) {
      fail(lineLead() + lineFaultText(in.fault()));
      return false;
    }
    const std::string_view line = trimmed(in.line());
    if (line.empty() || line[0] == '#') continue;
    if (!headerSkipped) {
      headerSkipped = true;
      continue;
    }
    splitStatFields(line, fieldsWanted > 0 ? std::max(fieldsWanted, 2) : columns, options.decimalComma, fields);
    if (fieldsWanted > 0) {
      if (static_cast<int>(fields.size()) < fieldsWanted) {
        fail(lineLead() + "colonne " + std::to_string(fieldsWanted) + " absente (" +
                            std::to_string(fields.size()) + " colonne(s)).");
        return false;
      }
      std::vector<std::string_view> chosen;
      for (int c : options.columns) chosen.push_back(fields[static_cast<std::size_t>(c - 1)]);
      fields.swap(chosen);
    }
    if (columns == 0) columns = static_cast<int>(std::min<std::size_t>(fields.size(), 2));
    if (static_cast<int>(fields.size()) != columns) {
      fail(lineLead() + std::to_string(columns) +
                          (columns == 1 ? " valeur attendue" : " valeurs attendues") + ", " +
                          std::to_string(fields.size()) + " trouvée(s).");
      return false;
    }
    StatRow row;
    for (int c = 0; c < columns; ++c) {
      const std::string_view field = fields[static_cast<std::size_t>(c)];
      double value = 0;
      NumberFault fault = readInputNumber(field, value);
      // Below the smallest magnitude a value is 0, as a grid cell takes it.
      if (fault == NumberFault::BelowSmallest) {
        fault = NumberFault::None;
        value = 0.0;
      }
      const bool count = options.mode == 1 && c == 1;
      if (fault == NumberFault::None && count && value > 2147483647.0) {
        ShowValueMessage(messenger, 6, 2147483647.0);
        return false;
      }
      if (fault != NumberFault::None) {
        printError(numberFaultText(fault) +
                   utf8ToCp1252(" (ligne " + std::to_string(in.number()) + " : « " + std::string(field) + " »)"));
        return false;
      }
      if (const CountFault refused = count ? countFault(value) : CountFault::None; refused != CountFault::None) {
        ShowMessage(messenger, kCaptionError, 0, countFaultMessage(static_cast<int>(in.number()), refused),
                    MessageStyle::Error);
        return false;
      }
      (c == 0 ? row.x : row.second) = value;
    }
    rows.push_back(row);
  }
  if (interrupted()) return false;
  if (in.readError() != 0) {
    ShowFileError(messenger, kCannotOpenFile, path == "-" ? "-" : path, causeOfErrno(in.readError()));
    return false;
  }
  if (options.mode < 0) options.mode = columns == 2 ? 2 : 0;
  return true;
}

}  // namespace qz::cli

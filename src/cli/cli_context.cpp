#include "cli_context.h"

#include <cstdio>

#include "numbers/cp1252.h"

namespace qz::cli {

MessageAnswer StderrMessenger::showBox(const std::string& text, MessageStyle style) {
  printError(text);
  return style == MessageStyle::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

void printCp1252(const std::string& text) { std::fputs(cp1252ToUtf8(text).c_str(), stdout); }

void printError(const std::string& text) {
  std::string utf8 = cp1252ToUtf8(text);
  if (utf8.empty() || utf8.back() != '\n') utf8 += '\n';
  std::fputs(utf8.c_str(), stderr);
}

}  // namespace qz::cli

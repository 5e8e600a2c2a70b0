#include "cli_context.h"

#include <unistd.h>

#include <cstdio>

#include "files/file_access.h"

#include "numbers/cp1252.h"

namespace qz::cli {

MessageAnswer StderrMessenger::showBox(const std::string& text, MessageStyle style) {
  printError(text);
  return style == MessageStyle::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

void printCp1252(const std::string& text) { std::fputs(cp1252ToUtf8(text).c_str(), stdout); }

std::optional<std::string> readStandardInput() {
  std::optional<std::string> input = ReadBoundedStream(STDIN_FILENO, kMaxReadBytes);
  if (!input)
    printError(utf8ToCp1252("L'entrée standard ne peut pas être lue : plus de " +
                            std::to_string(kMaxReadBytes >> 20) + " Mo, ou une erreur de lecture."));
  return input;
}

std::string jsonText(const nlohmann::json& value) {
  return value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

void printError(const std::string& text) {
  std::string utf8 = cp1252ToUtf8(text);
  if (utf8.empty() || utf8.back() != '\n') utf8 += '\n';
  std::fputs(utf8.c_str(), stderr);
}

}  // namespace qz::cli

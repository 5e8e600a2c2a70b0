#include "files/display_path.h"

#include <cctype>
#include <string_view>

namespace qz {

namespace {

bool isDrivePath(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
char upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

// Capitalises the first letter after each separator, in order: backslash,
// full stop, blank, underscore. A later pass lowers again what an earlier one
// raised only where the later separator stands right before the letter.
std::string capitalisePieces(std::string rest) {
  for (char separator : {'\\', '.', ' ', '_'}) {
    bool start = true;
    for (char& c : rest) {
      if (c == separator) {
        start = true;
        continue;
      }
      if (start) c = upper(c);
      start = false;
    }
  }
  return rest;
}

}  // namespace

std::string DisplayPath(const std::string& path) {
  if (!isDrivePath(path)) return path;
  std::string text;
  for (char c : path) text += lower(c);
  std::size_t colon = text.find(':');
  std::string drive = text.substr(0, colon + 1);
  for (char& c : drive) c = upper(c);
  std::string rest = text.substr(colon + 1);
  if (!rest.empty() && rest.front() == '\\') {
    drive += '\\';
    rest.erase(0, 1);
  }
  rest = capitalisePieces(rest);
  std::size_t dot = rest.rfind('.');
  if (dot != std::string::npos && rest.size() - dot - 1 >= 1 && rest.size() - dot - 1 <= 3 &&
      rest.find('\\', dot) == std::string::npos) {
    for (std::size_t i = dot + 1; i < rest.size(); ++i) rest[i] = lower(rest[i]);
  }
  std::string result = drive + rest;
  for (std::string_view elided : {" D'", " L'", " C'", " T'", " N'"}) {
    std::string lowered(elided);
    lowered[1] = lower(lowered[1]);
    replaceAll(result, elided, lowered);
  }
  replaceAll(result, "Winnt", "WinNT");
  // The product's own folder is written in capitals.
  for (std::string_view folder : {"\\Qz\\", "\\QZ\\", "\\qz\\", "\\qZ\\"}) replaceAll(result, folder, "\\QZ\\");
  return result;
}

}  // namespace qz

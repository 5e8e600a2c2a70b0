// Conversion between the program's single-byte texts (Windows code page 1252)
// and UTF-8, written once for the whole program.
#pragma once

#include <string>
#include <string_view>

namespace qz {

/// Unicode code point of a code page 1252 byte; the five bytes the code page
/// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of
/// the same value, so every byte survives a round trip.
char32_t cp1252ToUnicode(unsigned char byte);

/// The code page 1252 byte of a code point, or -1 when the code page has none.
int unicodeToCp1252(char32_t codePoint);

std::string cp1252ToUtf8(std::string_view text);

/// Converts UTF-8 to code page 1252; characters the code page lacks, and
/// malformed sequences, become `replacement`.
std::string utf8ToCp1252(std::string_view text, char replacement = '?');

/// Decodes one UTF-8 sequence at `pos`, advancing it; malformed input yields
/// U+FFFD and advances one byte.
char32_t decodeUtf8(std::string_view text, std::size_t& pos);
void appendUtf8(std::string& out, char32_t codePoint);

}  // namespace qz

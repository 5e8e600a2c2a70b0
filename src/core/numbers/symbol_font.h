// The Symbol font's encoding: the markup's Greek runs are bytes of this font,
// drawn here with ordinary Unicode fonts.
#pragma once

#include <string>
#include <string_view>

namespace qz {

/// The Unicode character a Symbol-font byte stands for ("S" is Σ, "m" is µ's
/// Greek mu, 0xB8 is ÷, 0xD6 is √); bytes with no symbol of their own keep
/// their code page 1252 meaning.
char32_t symbolToUnicode(unsigned char byte);

/// A run of Symbol-font bytes as UTF-8.
std::string symbolRunToUtf8(std::string_view bytes);

}  // namespace qz

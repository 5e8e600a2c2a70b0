// One report line in RTF: runs of text as groups with their font, size and
// formatting words.
#pragma once

#include <string>
#include <string_view>

namespace qz {

/// Fonts and size of the RTF document the report goes into.
struct RtfFonts {
  int textFont = 0;        ///< font number of the report font in the mask
  int symbolFont = 1;      ///< font number of the Symbol font
  int sizeHalfPoints = 20; ///< report font size in half points
};

/// The RTF of one markup line (internal form), ended by "\par ". Every run is
/// its own group and carries the formatting in force.
std::string rtfLine(std::string_view line, const RtfFonts& fonts);

}  // namespace qz

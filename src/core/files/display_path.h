// How a path is shown in messages, menus and lists.
#pragma once

#include <string>

namespace qz {

/// The display form of a path. A drive-letter path is re-cased as the program
/// always showed it (c:\mes documents\note_essai.QZ → C:\Mes Documents\Note_Essai.qz);
/// any other path (POSIX) is shown as it is, since its case is part of its name.
std::string DisplayPath(const std::string& path);

}  // namespace qz

// Messages for documents the desktop could not open (the user manual above all).
#pragma once

#include <string>

namespace qz {

/// Result codes of a failed "open" request, as the program has always known them.
enum ShellResult : int {
  kShellOutOfResources = 0,
  kShellFileNotFound = 2,
  kShellPathNotFound = 3,
  kShellAccessDenied = 5,
  kShellOutOfMemory = 8,
  kShellBadFormat = 11,
  kShellSharingViolation = 26,
  kShellIncompleteName = 27,
  kShellDdeTimeout = 28,
  kShellDdeFailed = 29,
  kShellDdeBusy = 30,
  kShellNoAssociation = 31,
  kShellDllNotFound = 32,
};

/// The message text (code page 1252) for a failed open of `path`: "@0" is the
/// label, "@1" the path, "@2" the parameters. Results above 32 are success and
/// give "".
std::string ShellFailureText(int result, const std::string& label, const std::string& path,
                             const std::string& parameters);

/// Message 106: what to check when no PDF reader is installed.
inline constexpr int kNoPdfReaderMessage = 106;

}  // namespace qz

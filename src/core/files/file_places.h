// The program's own files and folders, and the places they live in.
#pragma once

#include <string>

namespace qz {

/// Where a built path starts.
enum class BaseLocation {
  Program = 0,          ///< the shipped data files' folder
  OperatingSystem = 1,  ///< per-user data folder (history file)
  System = 2,           ///< per-user data folder too
  Temporary = 3,        ///< per-user cache folder (the backup file): never the shared /tmp
};

/// The folders behind the base locations, decided once at start-up.
struct FilePlaces {
  std::string programFolder;   ///< shipped data (units database, catalogues, mask, manual)
  std::string userDataFolder;  ///< e.g. ~/.local/share/QZ
  std::string cacheFolder;     ///< e.g. ~/.cache/QZ
  std::string homeFolder;      ///< where the default folders ~/QZ/... are made

  /// The usual places of a Linux desktop: $XDG_DATA_HOME/QZ, $XDG_CACHE_HOME/QZ and $HOME.
  static FilePlaces forUser(const std::string& programFolder);
  const std::string& folderOf(BaseLocation base) const;
};

/// `name` with `extension` ("BAK", "LOG"...) in the folder of `base`; an empty
/// name keeps only the folder. Paths are never re-cased: Linux file names are
/// case-sensitive.
std::string BuildProgramPath(const std::string& name, const std::string& extension, BaseLocation base,
                             const FilePlaces& places);

}  // namespace qz

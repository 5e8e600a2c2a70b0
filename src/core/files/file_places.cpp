#include "files/file_places.h"

#include <cstdlib>

#include "platform/places.h"

namespace qz {

namespace {

std::string envOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::string(value) : fallback;
}

}  // namespace

FilePlaces FilePlaces::forUser(const std::string& programFolder) {
  FilePlaces places;
  places.programFolder = programFolder;
  places.homeFolder = envOr("HOME", "/tmp");
  places.userDataFolder = joinPath(envOr("XDG_DATA_HOME", joinPath(places.homeFolder, ".local/share")), "QZ");
  places.cacheFolder = joinPath(envOr("XDG_CACHE_HOME", joinPath(places.homeFolder, ".cache")), "QZ");
  return places;
}

const std::string& FilePlaces::folderOf(BaseLocation base) const {
  switch (base) {
    case BaseLocation::Program: return programFolder;
    case BaseLocation::OperatingSystem:
    case BaseLocation::System: return userDataFolder;
    case BaseLocation::Temporary: return cacheFolder;
  }
  return programFolder;
}

std::string BuildProgramPath(const std::string& name, const std::string& extension, BaseLocation base,
                             const FilePlaces& places) {
  std::string folder = places.folderOf(base);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  std::string ext = !extension.empty() && extension.front() == '.' ? extension.substr(1) : extension;
  if (name.empty()) return folder;
  std::string file = ext.empty() ? name : name + "." + ext;
  return joinPath(folder, file);
}

}  // namespace qz

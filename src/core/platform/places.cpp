#include "platform/places.h"

#include <cstdlib>
#include <filesystem>

namespace qz {

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string shippedDataFolder(const std::string& executableDir) {
  if (const char* env = std::getenv("QZ_DATA_DIR"); env && *env) return env;
  std::error_code ec;
  std::filesystem::path installed = std::filesystem::path(executableDir) / ".." / "share" / "qz";
  if (std::filesystem::is_directory(installed, ec)) return std::filesystem::weakly_canonical(installed, ec).string();
  return executableDir;
}

}  // namespace qz

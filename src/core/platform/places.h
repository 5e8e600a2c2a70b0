// Where the program finds the data files it ships with.
#pragma once

#include <string>

namespace qz {

/// The folder of the shipped data files (units database, figure catalogues,
/// report mask, manual): $QZ_DATA_DIR when set; else `<exeDir>/../share/qz`
/// when it exists (an installed program); else `exeDir` itself (a build tree).
std::string shippedDataFolder(const std::string& executableDir);

/// `folder` + "/" + `name`, without doubling the separator.
std::string joinPath(const std::string& folder, const std::string& name);

}  // namespace qz

// A folder of the test's own under the temporary folder: a fresh name made by
// mkdtemp, so that tests run at the same time (other test processes, other
// builds on the machine) never share a file. Removed with its content.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace qz::testing {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::path(::testing::TempDir()) / "qz_test_XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no temporary folder: " << pattern;
    m_path = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    // A test may have taken the write permission away.
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::string file(const std::string& name) const { return (m_path / name).string(); }

 private:
  std::filesystem::path m_path;
};

}  // namespace qz::testing

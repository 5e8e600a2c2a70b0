// A full disk for tests: a small tmpfs mounted in a mount namespace of the
// test process's own, so the mount never shows outside it and goes with the
// process. Where mounting is not allowed the test is skipped with the reason.
#pragma once

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>

namespace qz::testing {

/// A tmpfs of `kilobytes` mounted at `folder` (an existing empty folder) for the
/// object's life. `skipReason()` is empty when the mount is there.
class SmallDisk {
 public:
  SmallDisk(const std::string& folder, int kilobytes) : m_folder(folder) {
    if (::unshare(CLONE_NEWNS) != 0) {
      m_reason = std::string("no mount namespace: ") + std::strerror(errno);
    } else if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
      m_reason = std::string("mounts cannot be made private: ") + std::strerror(errno);
    } else {
      const std::string options = "size=" + std::to_string(kilobytes) + "k";
      if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
        m_reason = std::string("tmpfs cannot be mounted: ") + std::strerror(errno);
    }
  }
  ~SmallDisk() {
    if (m_reason.empty()) ::umount2(m_folder.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  const std::string& skipReason() const { return m_reason; }

 private:
  std::string m_folder;
  std::string m_reason;
};

/// Fills the file system of `folder` with a file named `name` until no byte more fits.
inline void fillDisk(const std::string& folder, const std::string& name = "filler") {
  std::ofstream filler(folder + "/" + name, std::ios::binary);
  const std::string block(4096, 'F');
  while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
  }
  // The last partial block: byte by byte until the disk refuses.
  filler.clear();
  while (filler.put('F') && filler.flush()) {
  }
}

}  // namespace qz::testing

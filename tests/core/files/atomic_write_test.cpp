// The one file writer: what a save does to links, permissions, owners,
// temporaries and a disk that fills up.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/file_access.h"
#include "platform/scripted_messenger.h"
#include "support/small_disk.h"
#include "support/kill_during_save.h"
#include "support/temp_folder.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void put(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

mode_t modeOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

int entryCount(const fs::path& folder) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(folder)) (void)e, ++n;
  return n;
}

class AtomicWrite : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return m_folder.file(name); }
  testing::TempFolder m_folder;
  ScriptedMessenger m_messenger;
};

TEST_F(AtomicWrite, WritesThroughASymbolicLinkToItsTarget) {
  put(path("real.qz"), "old");
  fs::create_symlink("real.qz", path("link.qz"));
  ASSERT_TRUE(WriteFileAtomically(path("link.qz"), "new", m_messenger, kCannotSaveFile));
  EXPECT_TRUE(fs::is_symlink(path("link.qz"))) << "the link stays a link";
  EXPECT_EQ(bytesOf(path("real.qz")), "new") << "its target gets the content";
  EXPECT_EQ(entryCount(m_folder.path()), 2);
}

TEST_F(AtomicWrite, ADanglingLinkCreatesItsTarget) {
  fs::create_symlink("made.qz", path("link.qz"));
  ASSERT_TRUE(WriteFileAtomically(path("link.qz"), "new", m_messenger, kCannotSaveFile));
  EXPECT_TRUE(fs::is_symlink(path("link.qz")));
  EXPECT_EQ(bytesOf(path("made.qz")), "new");
}

TEST_F(AtomicWrite, AHardLinkedFileStaysOneFile) {
  put(path("a.qz"), "old content");
  fs::create_hard_link(path("a.qz"), path("b.qz"));
  ASSERT_TRUE(WriteFileAtomically(path("a.qz"), "new", m_messenger, kCannotSaveFile));
  EXPECT_EQ(bytesOf(path("b.qz")), "new") << "both names still show one file";
  EXPECT_EQ(fs::hard_link_count(path("a.qz")), 2u);
  EXPECT_EQ(entryCount(m_folder.path()), 2) << "no temporary left";
}

TEST_F(AtomicWrite, KeepsTheModeOfTheFileItReplaces) {
  put(path("private.qz"), "old");
  ::chmod(path("private.qz").c_str(), 0600);
  ASSERT_TRUE(WriteFileAtomically(path("private.qz"), "new", m_messenger, kCannotSaveFile));
  EXPECT_EQ(modeOf(path("private.qz")), 0600u);
  ::chmod(path("private.qz").c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(path("private.qz"), "newer", m_messenger, kCannotSaveFile));
  EXPECT_EQ(modeOf(path("private.qz")), 0640u);
}

TEST_F(AtomicWrite, KeepsTheOwnerOfTheFileItReplaces) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  put(path("theirs.qz"), "old");
  ASSERT_EQ(::chown(path("theirs.qz").c_str(), kNobody, kNobody), 0);
  ASSERT_TRUE(WriteFileAtomically(path("theirs.qz"), "new", m_messenger, kCannotSaveFile));
  struct stat info {};
  ASSERT_EQ(::stat(path("theirs.qz").c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, kNobody);
  EXPECT_EQ(info.st_gid, kNobody);
  EXPECT_EQ(bytesOf(path("theirs.qz")), "new");
}

TEST_F(AtomicWrite, ANewFileGetsTheModeTheUmaskAllows) {
  struct Case {
    const char* name;
    mode_t umask;
    mode_t mode;
  };
  const Case cases[] = {{"private umask", 077, 0600}, {"usual umask", 022, 0644}, {"group umask", 002, 0664}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const mode_t saved = ::umask(c.umask);
    const std::string file = path(std::string(c.name) + ".qz");
    const bool written = WriteFileAtomically(file, "x", m_messenger, kCannotSaveFile);
    ::umask(saved);
    ASSERT_TRUE(written);
    EXPECT_EQ(modeOf(file), c.mode);
  }
}

TEST_F(AtomicWrite, AFileItsOwnerMayNotWriteIsRefusedEvenForRoot) {
  put(path("locked.qz"), "keep");
  ::chmod(path("locked.qz").c_str(), 0444);
  EXPECT_FALSE(WriteFileAtomically(path("locked.qz"), "new", m_messenger, kCannotSaveFile));
  EXPECT_EQ(m_messenger.lastTextUtf8(),
            "ERREUR\n\nImpossible d'enregistrer le fichier " + path("locked.qz") + " !\n\nAccès refusé.");
  EXPECT_EQ(bytesOf(path("locked.qz")), "keep");
  EXPECT_EQ(modeOf(path("locked.qz")), 0444u);
  EXPECT_EQ(entryCount(m_folder.path()), 1);
}

TEST_F(AtomicWrite, AnotherUsersFileIsRefusedInAFolderOpenToAll) {
  if (::geteuid() != 0) GTEST_SKIP() << "the test changes to another user, which needs root";
  put(path("roots.qz"), "keep");
  ::chmod(path("roots.qz").c_str(), 0644);
  ::chmod(m_folder.path().c_str(), 0777);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(3);
    ScriptedMessenger messenger;
    const bool written = WriteFileAtomically(path("roots.qz"), "new", messenger, kCannotSaveFile);
    const bool denied = messenger.lastTextUtf8().find("Accès refusé.") != std::string::npos;
    ::_exit(!written && denied ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the save must be refused with \"Accès refusé.\"";
  EXPECT_EQ(bytesOf(path("roots.qz")), "keep");
}

TEST_F(AtomicWrite, AFolderOrADeviceIsNeverReplaced) {
  fs::create_directories(path("folder.qz"));
  EXPECT_FALSE(WriteFileAtomically(path("folder.qz"), "x", m_messenger, kCannotSaveFile));
  EXPECT_NE(m_messenger.lastTextUtf8().find("Fichier invalide."), std::string::npos);
  EXPECT_EQ(entryCount(m_folder.path()), 1) << "no temporary left";
}

TEST_F(AtomicWrite, StaleTemporariesOfAKilledSaveGoAtTheNextSave) {
  put(path(".doc.qz.a1B2c3"), "left by a killed save");
  put(path(".doc.qz.zzzzzz"), "left by another");
  put(path(".other.qz.a1B2c3"), "another file's");
  put(path(".doc.qz.long-name"), "not a temporary's name");
  // A save in progress elsewhere holds its temporary's lock: it stays.
  put(path(".doc.qz.LiVe00"), "being written");
  const int live = ::open(path(".doc.qz.LiVe00").c_str(), O_RDONLY);
  ASSERT_GE(live, 0);
  ASSERT_EQ(::flock(live, LOCK_EX), 0);

  ASSERT_TRUE(WriteFileAtomically(path("doc.qz"), "new", m_messenger, kCannotSaveFile));
  ::close(live);
  EXPECT_FALSE(fs::exists(path(".doc.qz.a1B2c3")));
  EXPECT_FALSE(fs::exists(path(".doc.qz.zzzzzz")));
  EXPECT_TRUE(fs::exists(path(".other.qz.a1B2c3")));
  EXPECT_TRUE(fs::exists(path(".doc.qz.long-name")));
  EXPECT_TRUE(fs::exists(path(".doc.qz.LiVe00")));
}

// kill -9 at any moment of a save: the file is the old one or the new one,
// complete, and what the killed saves left is cleaned by the next one.
TEST_F(AtomicWrite, KillDuringASaveLeavesTheOldOrTheNewFile) {
  const std::string doc = path("big.qz");
  const std::string first(4 << 20, 'A');
  const std::string second(6 << 20, 'B');
  ASSERT_TRUE(WriteFileAtomically(doc, first, m_messenger, kCannotSaveFile));
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    // The parent kills as soon as the chosen save has begun.
    ASSERT_TRUE(testing::killDuringSaves(round % 3, [&](int n) {
      ScriptedMessenger messenger;
      WriteFileAtomically(doc, n % 2 == 0 ? second : first, messenger, kCannotSaveFile);
    }));
    const std::string now = bytesOf(doc);
    EXPECT_TRUE(now == first || now == second) << "a mixed or cut file of " << now.size() << " bytes";
  }
  ASSERT_TRUE(WriteFileAtomically(doc, "final", m_messenger, kCannotSaveFile));
  EXPECT_EQ(entryCount(m_folder.path()), 1) << "every temporary of the killed saves is gone";
}

TEST_F(AtomicWrite, AFullDiskKeepsTheOldFileAndSaysSo) {
  fs::create_directories(path("disk"));
  testing::SmallDisk disk(path("disk"), 256);
  if (!disk.skipReason().empty()) GTEST_SKIP() << disk.skipReason();
  const std::string doc = path("disk/doc.qz");
  const std::string old(20000, 'o');
  ASSERT_TRUE(WriteFileAtomically(doc, old, m_messenger, kCannotSaveFile));
  testing::fillDisk(path("disk"));
  EXPECT_FALSE(WriteFileAtomically(doc, std::string(100000, 'n'), m_messenger, kCannotSaveFile));
  EXPECT_EQ(m_messenger.lastTextUtf8(),
            "ERREUR\n\nImpossible d'enregistrer le fichier " + doc + " !\n\nDisque plein.");
  EXPECT_EQ(bytesOf(doc), old);
  EXPECT_EQ(entryCount(path("disk")), 2) << "the document and the filler, no temporary";

  // The same with a hard-linked file, rewritten in place: the old content comes back.
  fs::remove(path("disk/filler"));
  fs::create_hard_link(doc, path("disk/twin.qz"));
  testing::fillDisk(path("disk"));
  EXPECT_FALSE(WriteFileAtomically(doc, std::string(100000, 'n'), m_messenger, kCannotSaveFile));
  EXPECT_EQ(bytesOf(path("disk/twin.qz")), old);
  EXPECT_EQ(entryCount(path("disk")), 3);
}

}  // namespace
}  // namespace qz

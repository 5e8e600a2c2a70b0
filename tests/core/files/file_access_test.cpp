#include "files/file_access.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/scripted_messenger.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

class FileAccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("qz_files_" + std::to_string(::getpid()) + "_" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
  }
  void TearDown() override {
    fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(m_dir);
  }
  std::string path(const std::string& name) const { return (m_dir / name).string(); }
  fs::path m_dir;
  ScriptedMessenger m_messenger;
};

TEST_F(FileAccessTest, MissingFileGivesMessage289WithItsCause) {
  auto content = ReadWholeFile(path("absent.qz"), m_messenger, kCannotOpenFile);
  EXPECT_FALSE(content);
  EXPECT_EQ(m_messenger.lastTextUtf8(), "ERREUR\n\nImpossible d'ouvrir le fichier " + path("absent.qz") +
                                            ".\n\nCe fichier n'a pas été localisé.");
}

TEST_F(FileAccessTest, SilentWhenMessageIdIsZeroOrPathEmpty) {
  EXPECT_FALSE(ReadWholeFile(path("absent"), m_messenger, 0));
  EXPECT_FALSE(ReadWholeFile("", m_messenger, kCannotOpenFile));
  EXPECT_FALSE(WriteFileAtomically("", "x", m_messenger, kCannotSaveFile));
  EXPECT_TRUE(m_messenger.boxes().empty());
}

TEST_F(FileAccessTest, AtomicWriteReplacesAndLeavesNoTemporaryFile) {
  ASSERT_TRUE(WriteFileAtomically(path("doc.qz"), "first", m_messenger, kCannotSaveFile));
  ASSERT_TRUE(WriteFileAtomically(path("doc.qz"), std::string("QZ_01\r\n<EOF>\r\n"), m_messenger, kCannotSaveFile));
  EXPECT_EQ(*ReadWholeFile(path("doc.qz"), m_messenger, kCannotOpenFile), "QZ_01\r\n<EOF>\r\n");
  int files = 0;
  for (const auto& e : fs::directory_iterator(m_dir)) (void)e, ++files;
  EXPECT_EQ(files, 1);
}

TEST_F(FileAccessTest, UnwritableFolderKeepsTheOldFileAndReportsAccessDenied) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
  ASSERT_TRUE(WriteFileAtomically(path("doc.qz"), "good", m_messenger, kCannotSaveFile));
  fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(WriteFileAtomically(path("doc.qz"), "new", m_messenger, kCannotSaveFile));
  EXPECT_NE(m_messenger.lastTextUtf8().find("Accès refusé."), std::string::npos);
  EXPECT_EQ(*ReadWholeFile(path("doc.qz"), m_messenger, 0), "good");
}

TEST_F(FileAccessTest, FailedRenameLeavesNoTemporaryFile) {
  fs::create_directories(path("taken/inner"));
  EXPECT_FALSE(WriteFileAtomically(path("taken"), "x", m_messenger, kCannotSaveFile));
  EXPECT_TRUE(fs::is_directory(path("taken/inner")));
  int entries = 0;
  for (const auto& e : fs::directory_iterator(m_dir)) (void)e, ++entries;
  EXPECT_EQ(entries, 1);
  EXPECT_NE(m_messenger.lastTextUtf8().find("Impossible d'enregistrer le fichier"), std::string::npos);
}

TEST_F(FileAccessTest, WriteIntoMissingFolderFailsWithMessage30804) {
  EXPECT_FALSE(WriteFileAtomically(path("no/such/dir/doc.qz"), "x", m_messenger, kCannotSaveFile));
  EXPECT_NE(m_messenger.lastTextUtf8().find("Impossible d'enregistrer le fichier"), std::string::npos);
  EXPECT_NE(m_messenger.lastTextUtf8().find("Ce fichier n'a pas été localisé."), std::string::npos);
}

TEST_F(FileAccessTest, ReadingAFolderIsAnInvalidFile) {
  EXPECT_FALSE(ReadWholeFile(m_dir.string(), m_messenger, kCannotOpenFile));
  EXPECT_NE(m_messenger.lastTextUtf8().find("Fichier invalide."), std::string::npos);
}

TEST_F(FileAccessTest, CreateFolderPathRules) {
  EXPECT_TRUE(CreateFolderPath("  " + path("a/b/c") + "//  ", m_messenger));
  EXPECT_TRUE(fs::is_directory(path("a/b/c")));
  EXPECT_TRUE(CreateFolderPath(path("a"), m_messenger)) << "an existing folder succeeds";
  EXPECT_FALSE(CreateFolderPath("relative/dir", m_messenger));
  EXPECT_FALSE(CreateFolderPath("   ", m_messenger));
  EXPECT_TRUE(m_messenger.boxes().empty()) << "refusals are silent";

  std::ofstream(path("file")) << "x";
  EXPECT_FALSE(CreateFolderPath(path("file/sub"), m_messenger));
  ASSERT_EQ(m_messenger.boxes().size(), 1u);
  EXPECT_EQ(m_messenger.lastTextUtf8(), "ERREUR\n\nImpossible de créer le dossier " + path("file/sub") + ".");
}

TEST_F(FileAccessTest, ResolveFolder) {
  std::string folder = path("x") + "/";
  EXPECT_FALSE(ResolveFolder(folder, m_dir.string()));
  EXPECT_EQ(folder, path("x"));
  fs::create_directories(path("Données"));
  std::string name = "Données";
  EXPECT_TRUE(ResolveFolder(name, m_dir.string()));
  EXPECT_EQ(name, path("Données"));
}

TEST_F(FileAccessTest, WipeAndDelete) {
  std::ofstream(path("secret")) << "1234567890abc";
  WipeAndDelete(path("secret"), true);
  EXPECT_FALSE(FileExists(path("secret")));
  WipeAndDelete(path("secret"), true);  // absent: nothing happens
  WipeAndDelete("", false);
  EXPECT_FALSE(FileExists(""));
}

TEST(FileErrorCause, ErrnoMapping) {
  EXPECT_EQ(causeOfErrno(ENOENT), FileErrorCause::FileNotFound);
  EXPECT_EQ(causeOfErrno(EACCES), FileErrorCause::AccessDenied);
  EXPECT_EQ(causeOfErrno(ENOSPC), FileErrorCause::DiskFull);
  EXPECT_EQ(causeOfErrno(EMFILE), FileErrorCause::TooManyOpenFiles);
  EXPECT_EQ(causeOfErrno(12345), FileErrorCause::Generic);
}

}  // namespace
}  // namespace qz

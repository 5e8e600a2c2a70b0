// Reading outside files: only regular files, never more than the cap.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "files/file_access.h"
#include "platform/scripted_messenger.h"
#include "support/temp_folder.h"

namespace qz {
namespace {

class FileReading : public ::testing::Test {
 protected:
  testing::TempFolder m_folder;
  ScriptedMessenger m_messenger;
};

TEST_F(FileReading, OnlyRegularFilesAreRead) {
  ASSERT_EQ(::mkfifo(m_folder.file("pipe").c_str(), 0600), 0);
  struct Case {
    const char* name;
    std::string path;
  };
  const Case cases[] = {{"a FIFO without writer (would hang in open)", m_folder.file("pipe")},
                        {"an endless device", "/dev/zero"},
                        {"a device", "/dev/null"},
                        {"a folder", m_folder.path().string()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_messenger.clear();
    EXPECT_FALSE(ReadWholeFile(c.path, m_messenger, kCannotOpenFile));
    EXPECT_EQ(m_messenger.lastTextUtf8(),
              "ERREUR\n\nImpossible d'ouvrir le fichier " + c.path + ".\n\nFichier invalide.");
  }
}

TEST_F(FileReading, AFileBeyondTheCapIsRefused) {
  std::ofstream(m_folder.file("big")) << "0123456789A";
  EXPECT_FALSE(ReadWholeFile(m_folder.file("big"), m_messenger, kCannotOpenFile, 10));
  EXPECT_NE(m_messenger.lastTextUtf8().find("Fichier invalide."), std::string::npos);
  EXPECT_EQ(*ReadWholeFile(m_folder.file("big"), m_messenger, kCannotOpenFile, 11), "0123456789A");
  EXPECT_GE(kMaxReadBytes, std::size_t{16} << 20) << "far above any valid file";
}

TEST_F(FileReading, AStreamBeyondTheCapIsRefused) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ASSERT_EQ(::write(ends[1], "0123456789A", 11), 11);
  ::close(ends[1]);
  EXPECT_FALSE(ReadBoundedStream(ends[0], 10));
  ::close(ends[0]);

  ASSERT_EQ(::pipe(ends), 0);
  ASSERT_EQ(::write(ends[1], "0123456789", 10), 10);
  ::close(ends[1]);
  EXPECT_EQ(ReadBoundedStream(ends[0], 10), "0123456789");
  ::close(ends[0]);

  const int zero = ::open("/dev/zero", O_RDONLY);
  EXPECT_FALSE(ReadBoundedStream(zero, 1 << 20)) << "an endless input ends at the cap";
  ::close(zero);
}

TEST_F(FileReading, TheCauseComesWithoutAMessage) {
  EXPECT_EQ(ReadRegularFile(m_folder.file("absent")).cause, FileErrorCause::FileNotFound);
  EXPECT_EQ(ReadRegularFile("/dev/zero").cause, FileErrorCause::InvalidFile);
  std::ofstream(m_folder.file("text")) << "abc";
  EXPECT_EQ(ReadRegularFile(m_folder.file("text")).content, "abc");
  EXPECT_TRUE(m_messenger.boxes().empty());
}

}  // namespace
}  // namespace qz

#include "document/document_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "files/file_access.h"
#include "platform/scripted_messenger.h"
#include "support/kill_during_save.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

class DocumentStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("qz_doc_" + std::to_string(::getpid()) + "_" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_dir);
    fs::create_directories(m_dir);
    m_store.setBackupPath(path("__QZ__.BAK"));
  }
  void TearDown() override { fs::remove_all(m_dir); }
  std::string path(const std::string& name) const { return (m_dir / name).string(); }
  std::string fileBytes(const std::string& name) const {
    ScriptedMessenger quiet;
    return ReadWholeFile(path(name), quiet, 0).value_or("<absent>");
  }

  fs::path m_dir;
  ScriptedMessenger m_messenger;
  RecentFiles m_recent;
  DocumentStore m_store{m_messenger, m_recent};
};

TEST_F(DocumentStoreTest, OneStandardEntryMakesSixLines) {
  m_store.StoreSection(kStandard, std::string("1\n1|0|12.5|0|0|0|2\n"));
  EXPECT_EQ(m_store.text(), "QZ_01\n<000>\n1\n1|0|12.5|0|0|0|2\n<EOB>\n<EOF>\n");
}

TEST_F(DocumentStoreTest, SectionsStayInCalculatorOrder) {
  m_store.StoreSection(kStandard, std::string("a\n"));
  m_store.StoreSection(kStatistics, std::string("c\n"));
  m_store.StoreSection(kUnitConversion, std::string("e\n"));
  EXPECT_EQ(m_store.text(), "QZ_01\n<000>\na\n<EOB>\n<002>\nc\n<EOB>\n<004>\ne\n<EOB>\n<EOF>\n");
  m_store.StoreSection(kScientific, std::string("b\n"));
  EXPECT_EQ(m_store.text(), "QZ_01\n<000>\na\n<EOB>\n<001>\nb\n<EOB>\n<002>\nc\n<EOB>\n<004>\ne\n<EOB>\n<EOF>\n");
  // Replacing keeps the place; no data removes the section.
  m_store.StoreSection(kStatistics, std::string("c2\nc3\n"));
  m_store.StoreSection(kScientific, std::nullopt);
  EXPECT_EQ(m_store.text(), "QZ_01\n<000>\na\n<EOB>\n<002>\nc2\nc3\n<EOB>\n<004>\ne\n<EOB>\n<EOF>\n");
  EXPECT_EQ(m_store.previousText(),
            "QZ_01\n<000>\na\n<EOB>\n<001>\nb\n<EOB>\n<002>\nc2\nc3\n<EOB>\n<004>\ne\n<EOB>\n<EOF>\n");
  EXPECT_EQ(*m_store.LoadSection(kStatistics), "c2\nc3\n");
  EXPECT_FALSE(m_store.LoadSection(kScientific));
  EXPECT_EQ(m_store.sectionsPresent(), (std::vector<int>{0, 2, 4}));
}

TEST_F(DocumentStoreTest, ForeignTextsNeverCorruptOtherSections) {
  const struct {
    const char* name;
    const char* text;
    int calculator;
    bool loads;
  } cases[] = {
      {"missing EOB", "QZ_01\n<001>\ny=x\n<002>\n1\n<EOB>\n<EOF>\n", 1, false},
      {"the next section is whole", "QZ_01\n<001>\ny=x\n<002>\n1\n<EOB>\n<EOF>\n", 2, true},
      {"tag without body", "QZ_01\n<003>\n", 3, false},
      {"no tags", "\x01\x02garbage\n\xFF\xFE", 0, false},
      {"tag at the very start", "<000>\n1\n<EOB>\n", 0, false},
      {"tag as part of a line", "QZ_01\nx<000>\n1\n<EOB>\n<EOF>\n", 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_store.setText(c.text);
    EXPECT_EQ(m_store.LoadSection(c.calculator).has_value(), c.loads);
  }
  // Storing a section whose end went missing leaves the next section whole.
  m_store.setText("QZ_01\n<001>\ny=x\n<002>\n1\n<EOB>\n<EOF>\n");
  m_store.StoreSection(kScientific, std::string("b\n"));
  EXPECT_EQ(m_store.text(), "QZ_01\ny=x\n<001>\nb\n<EOB>\n<002>\n1\n<EOB>\n<EOF>\n");
  // Storing into a text whose tag never ends keeps what follows intact.
  m_store.setText("QZ_01\n<003>\n5\n<EOF>\n");
  m_store.StoreSection(kGeometric, std::string("0\n7\n"));
  EXPECT_EQ(m_store.text(), "QZ_01\n5\n<003>\n0\n7\n<EOB>\n<EOF>\n");
  // Two sections of one calculator: both go, the new one is read back.
  m_store.setText("QZ_01\n<000>\n1\n<EOB>\n<000>\n<EOB>\n<EOF>\n");
  m_store.StoreSection(kStandard, std::string("7\n"));
  EXPECT_EQ(m_store.text(), "QZ_01\n<000>\n7\n<EOB>\n<EOF>\n");
  // A text without its end line gets one.
  m_store.setText("QZ_01\n<000>\n1\n<EOB>\n");
  m_store.StoreSection(kScientific, std::string("1\n"));
  EXPECT_EQ(m_store.text(), "QZ_01\n<000>\n1\n<EOB>\n<001>\n1\n<EOB>\n<EOF>\n");
}

TEST_F(DocumentStoreTest, FileFormIsCrLfAndReadingRemovesCarriageReturns) {
  m_store.StoreSection(kStandard, std::string("1\n1|0|12.5|0|0|0|2\n"));
  ASSERT_TRUE(m_store.WriteDocumentFile(path("essai.qz")));
  EXPECT_EQ(fileBytes("essai.qz"), "QZ_01\r\n<000>\r\n1\r\n1|0|12.5|0|0|0|2\r\n<EOB>\r\n<EOF>\r\n");
  EXPECT_FALSE(m_store.hasUnsavedChanges());
  m_store.ReadDocumentFile(path("essai.qz"));
  EXPECT_EQ(m_store.text(), "QZ_01\n<000>\n1\n1|0|12.5|0|0|0|2\n<EOB>\n<EOF>\n");
  EXPECT_EQ(m_store.savedText(), m_store.text());
}

TEST_F(DocumentStoreTest, EmptyPathMeansTheBackupFile) {
  m_store.StoreSection(kStandard, std::string("x\n"));
  ASSERT_TRUE(m_store.WriteDocumentFile(""));
  EXPECT_NE(fileBytes("__QZ__.BAK"), "<absent>");
  DocumentStore other(m_messenger, m_recent);
  other.setBackupPath(path("__QZ__.BAK"));
  other.ReadDocumentFile("");
  EXPECT_EQ(other.text(), m_store.text());
  EXPECT_EQ(m_recent.entry(0), "") << "the backup file never enters the recent list";
}

TEST_F(DocumentStoreTest, CommitWithoutDocumentWritesTheBackupSilently) {
  m_store.CommitCurrent(kScientific, std::string("1\ny=x\n\n.\n0\n"));
  EXPECT_TRUE(m_messenger.boxes().empty());
  EXPECT_EQ(fileBytes("__QZ__.BAK"), "QZ_01\r\n<001>\r\n1\r\ny=x\r\n\r\n.\r\n0\r\n<EOB>\r\n<EOF>\r\n");
}

TEST_F(DocumentStoreTest, CommitWithNamedDocumentAsksYesSaves) {
  m_store.setCurrentPath(path("notes.qz"));
  m_messenger.answerNext(MessageAnswer::Yes);
  m_store.CommitCurrent(kStandard, std::string("1\n"));
  ASSERT_EQ(m_messenger.boxes().size(), 1u);
  EXPECT_EQ(m_messenger.lastTextUtf8(),
            "ATTENTION\n\nEnregistrer les données du fichier :\n\n" + path("notes.qz") + " ?");
  EXPECT_EQ(fileBytes("notes.qz"), "QZ_01\r\n<000>\r\n1\r\n<EOB>\r\n<EOF>\r\n");
  EXPECT_EQ(m_recent.entry(0), path("notes.qz"));
  // Nothing changed since: no question.
  m_store.CommitCurrent(kStandard, std::string("1\n"));
  EXPECT_EQ(m_messenger.boxes().size(), 1u);
}

TEST_F(DocumentStoreTest, CommitAnsweredNoLeavesFileAndTextAsBefore) {
  m_store.setCurrentPath(path("notes.qz"));
  m_store.StoreSection(kStandard, std::string("1\n"));
  ASSERT_TRUE(m_store.WriteDocumentFile(path("notes.qz")));
  const std::string before = m_store.text();
  m_messenger.answerNext(MessageAnswer::No);
  m_store.CommitCurrent(kStandard, std::string("2\n"));
  EXPECT_EQ(m_store.text(), before);
  EXPECT_EQ(fileBytes("notes.qz"), "QZ_01\r\n<000>\r\n1\r\n<EOB>\r\n<EOF>\r\n");
}

TEST_F(DocumentStoreTest, NamedDocumentDeletedFromDiskKeepsTheWorkAndSaysSo) {
  m_store.setCurrentPath(path("gone.qz"));
  m_store.setText("QZ_01\n<000>\n1\n<EOB>\n<EOF>\n");
  EXPECT_FALSE(m_store.ReadDocumentFile(path("gone.qz")));
  EXPECT_EQ(m_store.text(), "QZ_01\n<000>\n1\n<EOB>\n<EOF>\n") << "the work in memory stays";
  EXPECT_EQ(m_store.currentPath(), path("gone.qz"));
  EXPECT_EQ(m_messenger.lastTextUtf8(), "ERREUR\n\nImpossible d'ouvrir le fichier " + path("gone.qz") +
                                            ".\n\nCe fichier n'a pas été localisé.");
}

TEST_F(DocumentStoreTest, NoBackupFileYetIsAnEmptyTextWithoutMessage) {
  EXPECT_TRUE(m_store.ReadDocumentFile(""));
  EXPECT_EQ(m_store.text(), "");
  EXPECT_TRUE(m_messenger.boxes().empty());
}

TEST_F(DocumentStoreTest, OpeningADocumentThatCannotBeReadChangesNothing) {
  // The backup holds the five calculators' work; the window's text is it.
  m_store.StoreSection(kStandard, std::string("1\n"));
  m_store.StoreSection(kStatistics, std::string("0\n1\n3\n"));
  ASSERT_TRUE(m_store.WriteDocumentFile(""));
  const std::string backup = fileBytes("__QZ__.BAK");
  const std::string text = m_store.text();
  m_recent.promote(path("gone.qz"));
  m_recent.promote(path("other.qz"));
  fs::create_directories(path("folder.qz"));
  struct Case {
    const char* name;
    std::string file;
    const char* cause;
  };
  const Case cases[] = {{"missing", path("gone.qz"), "Ce fichier n'a pas été localisé."},
                        {"a folder", path("folder.qz"), "Fichier invalide."},
                        {"a device", "/dev/zero", "Fichier invalide."}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(m_store.OpenDocumentFile(c.file));
    EXPECT_EQ(m_messenger.lastTextUtf8(),
              "ERREUR\n\nImpossible d'ouvrir le fichier " + c.file + ".\n\n" + c.cause);
    EXPECT_EQ(m_store.text(), text);
    EXPECT_EQ(m_store.currentPath(), "");
  }
  m_store.CommitCurrent(kStandard, std::string("1\n"));
  EXPECT_EQ(fileBytes("__QZ__.BAK"), backup) << "the backup is not overwritten with less";
  EXPECT_EQ(m_recent.entry(0), path("other.qz")) << "the dead entry leaves the recent files";
  EXPECT_EQ(m_recent.entry(1), "");
}

TEST_F(DocumentStoreTest, OpeningADocumentMakesItCurrent) {
  {
    DocumentStore other(m_messenger, m_recent);
    other.StoreSection(kScientific, std::string("1\n"));
    ASSERT_TRUE(other.WriteDocumentFile(path("notes.qz")));
  }
  ASSERT_TRUE(m_store.OpenDocumentFile(path("notes.qz")));
  EXPECT_EQ(m_store.currentPath(), path("notes.qz"));
  EXPECT_EQ(m_store.LoadSection(kScientific), "1\n");
  EXPECT_FALSE(m_store.hasUnsavedChanges());
  EXPECT_EQ(m_recent.entry(0), path("notes.qz"));
}

// kill -9 of a program in the middle of saving its document: the file is
// the old document or the new one, complete, never a cut or a mix.
TEST_F(DocumentStoreTest, KillDuringASaveLeavesTheOldOrTheNewDocument) {
  const auto documentWith = [](char mark, std::size_t lines) {
    std::string body;
    for (std::size_t i = 0; i < lines; ++i) body += std::string(60, mark) + "\n";
    return body;
  };
  DocumentStore store(m_messenger, m_recent);
  store.StoreSection(kStatistics, documentWith('1', 60000));
  ASSERT_TRUE(store.WriteDocumentFile(path("big.qz")));
  const std::string first = fileBytes("big.qz");
  store.StoreSection(kStatistics, documentWith('2', 90000));
  const std::string secondText = store.text();
  for (int round = 0; round < 8; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    ASSERT_TRUE(testing::killDuringSaves(round % 3, [&](int) {
      ScriptedMessenger quiet;
      RecentFiles recent;
      DocumentStore saving(quiet, recent);
      saving.setText(secondText);
      saving.WriteDocumentFile(path("big.qz"));
    }));
    DocumentStore reader(m_messenger, m_recent);
    ASSERT_TRUE(reader.ReadDocumentFile(path("big.qz")));
    EXPECT_TRUE(fileBytes("big.qz") == first || reader.text() == secondText)
        << "a cut or mixed document of " << fileBytes("big.qz").size() << " bytes";
  }
}

TEST_F(DocumentStoreTest, UnwritableTargetKeepsTheTextsInMemory) {
  m_store.StoreSection(kStandard, std::string("1\n"));
  const std::string saved = m_store.savedText();
  EXPECT_FALSE(m_store.WriteDocumentFile(path("missing/dir/x.qz")));
  EXPECT_EQ(m_store.savedText(), saved);
  EXPECT_TRUE(m_store.hasUnsavedChanges());
  EXPECT_NE(m_messenger.lastTextUtf8().find("Impossible d'enregistrer le fichier"), std::string::npos);
}

TEST_F(DocumentStoreTest, ClearAllForgetsEverythingButNeverTouchesTheNamedFile) {
  m_store.setCurrentPath(path("notes.qz"));
  m_store.StoreSection(kStandard, std::string("1\n"));
  m_store.StoreSection(kScientific, std::string("2\n"));
  ASSERT_TRUE(m_store.WriteDocumentFile(path("notes.qz")));
  ASSERT_TRUE(m_store.WriteDocumentFile(""));
  const std::string file = fileBytes("notes.qz");
  m_store.ClearAll();
  EXPECT_EQ(m_store.text(), "");
  EXPECT_EQ(m_store.currentPath(), "");
  EXPECT_EQ(fileBytes("__QZ__.BAK"), "<absent>");
  m_store.CommitCurrent(kStandard, std::nullopt);
  EXPECT_EQ(fileBytes("notes.qz"), file);
}

}  // namespace
}  // namespace qz

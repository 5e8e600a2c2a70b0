#include "app/calc_app.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/scripted_messenger.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

class CalcAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() /
             ("qz_app_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_root);
    fs::create_directories(m_root / "program");
    m_places = {(m_root / "program").string(), (m_root / "data").string(), (m_root / "cache").string(),
                (m_root / "home").string()};
  }
  void TearDown() override { fs::remove_all(m_root); }

  fs::path m_root;
  FilePlaces m_places;
  MemorySettingsStore m_store;
  ScriptedMessenger m_messenger;
};

TEST_F(CalcAppTest, FirstStartWithAnEmptyStore) {
  CalcApp app(m_store, m_messenger, m_places);
  ASSERT_TRUE(app.InitInstance(""));
  for (double m : app.memories) EXPECT_EQ(m, 0.0);
  EXPECT_TRUE(app.beepEnabled());
  EXPECT_EQ(app.displaySetting, (DisplaySetting{0, 2}));
  EXPECT_EQ(app.decimalSeparator, '.');
  EXPECT_DOUBLE_EQ(app.pageSetup.leftMargin, 2.5);
  EXPECT_DOUBLE_EQ(app.pageSetup.rightMargin, 1.5);
  EXPECT_DOUBLE_EQ(app.pageSetup.topMargin, 2.5);
  EXPECT_DOUBLE_EQ(app.pageSetup.bottomMargin, 2.0);
  EXPECT_EQ(app.pageSetup.orientation, 0);
  EXPECT_EQ(app.pageSetup.reportFont.face, "Courier New");
  EXPECT_EQ(app.pageSetup.reportFont.height, -14);
  EXPECT_TRUE(fs::is_directory(m_root / "home" / "QZ" / "Données"));
  EXPECT_TRUE(fs::is_directory(m_root / "home" / "QZ" / "Exportations"));
  EXPECT_TRUE(fs::is_directory(m_root / "cache"));
  EXPECT_EQ(app.document().backupPath(), (m_root / "cache" / "__QZ__.BAK").string());
  EXPECT_EQ(*m_store.read("Appli", "Version"), "2.1");
  EXPECT_EQ(*m_store.read("Appli", "Install"), (m_root / "program").string());
  EXPECT_EQ(app.currentCalculator, -1);
  EXPECT_TRUE(m_messenger.boxes().empty());
}

TEST_F(CalcAppTest, FontsAndKeyLabels) {
  CalcApp app(m_store, m_messenger, m_places);
  app.InitInstance("");
  EXPECT_EQ(app.appFonts[2].face, "Arial");
  EXPECT_EQ(app.appFonts[5].weight, 700);
  EXPECT_EQ(app.appFonts[6].face, "Symbol");
  EXPECT_EQ(app.appFonts[4].height, -16);
  EXPECT_EQ(app.keyLabels[0], "");
  EXPECT_EQ(app.keyLabels[2], "+");
  EXPECT_EQ(app.keyLabels[5], "\x8A\xB8\x8A");
  EXPECT_EQ(app.keyLabels[7], "x\xB2");
  EXPECT_EQ(app.keyLabels[12], "=");
  EXPECT_EQ(app.keyLabels[13], "");
}

TEST_F(CalcAppTest, GarbageSettingsGiveDefaultsAndZeros) {
  m_store.write("Memory", "M3", "abc");
  m_store.write("Memory", "M4", "12.5");
  m_store.write("Memory", "M5", "1E+999");
  m_store.write("rMakeUp", "lMargin", "-300");
  m_store.write("rMakeUp", "tMargin", "lots");
  m_store.write("Display", "Mode", "7");
  m_store.write("Display", "nDecimal", "42");
  m_store.write("Intl", "theApp.sDecimal", ",;");
  m_store.write("Options", "Beep", "0");
  m_store.write("Statistic", "Mode", "2");
  CalcApp app(m_store, m_messenger, m_places);
  const std::string notes = (m_root / "notes.qz").string();
  std::ofstream(notes) << "QZ_01\r\n<EOF>\r\n";
  app.InitInstance(notes);
  EXPECT_EQ(app.memories[3], 0.0);
  EXPECT_EQ(app.memories[4], 12.5);
  EXPECT_EQ(app.memories[5], 0.0);
  EXPECT_EQ(app.pageSetup.leftMargin, 0.0);
  EXPECT_DOUBLE_EQ(app.pageSetup.topMargin, 2.5);
  EXPECT_EQ(app.displaySetting, (DisplaySetting{0, 2}));
  EXPECT_EQ(app.decimalSeparator, ',');
  EXPECT_FALSE(app.beepEnabled());
  EXPECT_EQ(app.statisticsMode, 2);
  EXPECT_EQ(app.document().currentPath(), notes);
}

TEST_F(CalcAppTest, UncreatableDefaultFolderIsReportedOnceAndStartUpGoesOn) {
  fs::create_directories(m_root / "home");
  std::ofstream(m_root / "home" / "QZ") << "a file where the folder should be";
  CalcApp app(m_store, m_messenger, m_places);
  EXPECT_TRUE(app.InitInstance(""));
  ASSERT_EQ(m_messenger.boxes().size(), 2u) << "one message per folder";
  EXPECT_NE(m_messenger.boxes()[0].text.find("Impossible de cr\xE9" "er le dossier"), std::string::npos);
}

TEST_F(CalcAppTest, SaveOnCloseWritesMemoriesBeepRecentFilesAndBackup) {
  CalcApp app(m_store, m_messenger, m_places);
  app.InitInstance("");
  app.memories[0] = 12.5;
  app.memories[1] = 1.0 / 3.0;
  app.memories[2] = 1.5e15;
  app.setBeepEnabled(false);
  app.recentFiles().promote("/x/a.qz");
  app.SaveOnClose(kStandard, std::string("1\n1|0|12.5|0|0|0|2\n"));
  EXPECT_EQ(*m_store.read("Memory", "M0"), "12.5");
  EXPECT_EQ(*m_store.read("Memory", "M1"), "0.333333333333");
  EXPECT_EQ(*m_store.read("Memory", "M2"), "1.5E+015");
  EXPECT_EQ(*m_store.read("Memory", "M9"), "0");
  EXPECT_EQ(*m_store.read("Options", "Beep"), "0");
  EXPECT_EQ(*m_store.read("Files", "File0"), "/x/a.qz");

  // The next run starts where this one ended.
  MemorySettingsStore store2 = m_store;
  ScriptedMessenger messenger2;
  CalcApp next(store2, messenger2, m_places);
  next.InitInstance("");
  next.document().ReadDocumentFile("");
  EXPECT_EQ(next.document().text(), "QZ_01\n<000>\n1\n1|0|12.5|0|0|0|2\n<EOB>\n<EOF>\n");
  EXPECT_EQ(next.memories[0], 12.5);
}

TEST_F(CalcAppTest, UnwritableSettingsNeverStopTheProgram) {
  CalcApp app(m_store, m_messenger, m_places);
  app.InitInstance("");
  m_store.setWritable(false);
  app.memories[0] = 7;
  app.SaveOnClose(kNoCalculator, std::nullopt);
  EXPECT_FALSE(m_store.read("Memory", "M0")) << "nothing written, nothing else happens";
  EXPECT_TRUE(m_messenger.boxes().empty());
}

TEST_F(CalcAppTest, ARelativeCommandLineDocumentIsKeptAbsolute) {
  fs::create_directories(m_root / "work");
  std::ofstream(m_root / "work" / "notes.qz") << "QZ_01\r\n<EOF>\r\n";
  const fs::path before = fs::current_path();
  fs::current_path(m_root / "work");
  CalcApp app(m_store, m_messenger, m_places);
  app.InitInstance("./sub/../notes.qz");
  fs::current_path(before);
  const std::string absolute = (m_root / "work" / "notes.qz").string();
  EXPECT_EQ(app.document().currentPath(), absolute);
  EXPECT_EQ(app.recentFiles().entry(0), absolute) << "the recent files name it from anywhere";
}

TEST_F(CalcAppTest, AMissingCommandLineDocumentIsReportedAndNotMadeCurrent) {
  CalcApp app(m_store, m_messenger, m_places);
  const std::string gone = (m_root / "absent.qz").string();
  app.InitInstance(gone);
  EXPECT_EQ(app.document().currentPath(), "");
  EXPECT_EQ(m_messenger.lastTextUtf8(),
            "ERREUR\n\nImpossible d'ouvrir le fichier " + gone + ".\n\nCe fichier n'a pas été localisé.");
}

TEST_F(CalcAppTest, StoreFolders) {
  CalcApp app(m_store, m_messenger, m_places);
  app.InitInstance("");
  app.storeFolders({(m_root / "d1").string(), (m_root / "e1").string()});
  EXPECT_EQ(*m_store.read("Preference", "FolderData"), (m_root / "d1").string());
  EXPECT_TRUE(fs::is_directory(m_root / "e1"));
  EXPECT_EQ(app.defaultFolderPath(kExportFolder), (m_root / "e1").string());
}

}  // namespace
}  // namespace qz

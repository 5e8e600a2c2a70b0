#include "units/unit_history.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/units/unit_test_support.h"
#include "numbers/cp1252.h"
#include "platform/scripted_messenger.h"

namespace qz {
namespace {

namespace fs = std::filesystem;
using testing::component;
using testing::kLength;
using testing::unitOf;

UnitRecord numbered(int n) {
  UnitComponent c = component("u" + std::to_string(n), 1.0 + n, kLength);
  c.unitKey = n;
  return unitOf({c});
}

const std::string kHeader = std::string("QZ_1A") + std::string(19, '\0');

std::string imageOf(const UnitRecord& r) {
  UnitRecordBytes b = unitRecordToBytes(r);
  return std::string(b.begin(), b.end());
}

class UnitHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("qz_units_history_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name()) /
             "QZ";
    fs::remove_all(folder.parent_path());
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(folder, fs::perms::owner_all, ec);
    fs::remove_all(folder.parent_path());
  }

  std::string fileBytes() const {
    std::ifstream in(history().path(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  void writeFile(const std::string& bytes) const {
    fs::create_directories(folder);
    std::ofstream(history().path(), std::ios::binary | std::ios::trunc) << bytes;
  }
  UnitHistory history() const { return UnitHistory(folder.string()); }
  std::vector<int> keys() const {
    std::vector<int> out;
    UnitRecord r;
    for (int n = 0; history().LoadHistoryRecord(n, r); ++n) out.push_back(r.components[0].unitKey);
    return out;
  }

  fs::path folder;
  ScriptedMessenger messenger;
};

TEST_F(UnitHistoryTest, NoFileNoRecord) {
  UnitRecord r = numbered(1);
  EXPECT_FALSE(history().LoadHistoryRecord(0, r));
  EXPECT_EQ(r.count, 0) << "the record is emptied";
  EXPECT_FALSE(history().LoadHistoryRecord(-1, r));
  EXPECT_TRUE(keys().empty());
}

TEST_F(UnitHistoryTest, FileLayoutHeaderThenRecords) {
  ASSERT_TRUE(history().AddToHistory(numbered(1), messenger));
  EXPECT_EQ(fs::path(history().path()).filename(), "QZ.LOG");
  std::string bytes = fileBytes();
  ASSERT_EQ(bytes.size(), 24u + 1480u) << "written with its folder";
  EXPECT_EQ(bytes.substr(0, 24), kHeader);
  EXPECT_EQ(bytes.substr(24), imageOf(numbered(1)));
  UnitRecord r;
  ASSERT_TRUE(history().LoadHistoryRecord(0, r));
  EXPECT_EQ(r, numbered(1));
  EXPECT_FALSE(history().LoadHistoryRecord(1, r));
}

TEST_F(UnitHistoryTest, RepeatMovesToFrontAndThirteenthDropsOldest) {
  for (int n = 1; n <= 3; ++n) ASSERT_TRUE(history().AddToHistory(numbered(n), messenger));
  EXPECT_EQ(keys(), (std::vector<int>{3, 2, 1}));
  ASSERT_TRUE(history().AddToHistory(numbered(1), messenger));
  EXPECT_EQ(keys(), (std::vector<int>{1, 3, 2})) << "moved to the front, not duplicated";
  for (int n = 4; n <= 13; ++n) ASSERT_TRUE(history().AddToHistory(numbered(n), messenger));
  EXPECT_EQ(keys(), (std::vector<int>{13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 1, 3}))
      << "12 at most, the oldest dropped";
  EXPECT_EQ(fileBytes().size(), 24u + 12u * 1480u);
  EXPECT_TRUE(messenger.boxes().empty());
}

TEST_F(UnitHistoryTest, EmptyUnitIsNotAdded) {
  ASSERT_TRUE(history().AddToHistory(UnitRecord{}, messenger));
  EXPECT_FALSE(fs::exists(history().path()));
}

TEST_F(UnitHistoryTest, ForeignShortAndTruncatedFiles) {
  std::string record = imageOf(numbered(1));
  struct Case {
    const char* name;
    std::string bytes;
    int records;
  };
  const Case cases[] = {
      {"empty file", "", 0},
      {"short header", "QZ_1A", 0},
      {"foreign header", std::string("QZ_1B") + std::string(19, '\0') + record, 0},
      {"header text not terminated", std::string("QZ_1AX") + std::string(18, '\0') + record, 0},
      {"header only", kHeader, 0},
      {"truncated mid-record", kHeader + record + record.substr(0, 700), 1},
      {"one record", kHeader + record, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile(c.bytes);
    EXPECT_EQ(static_cast<int>(keys().size()), c.records);
  }
}

TEST_F(UnitHistoryTest, DamagedRecordsAreRejectedAndNotCarriedForward) {
  std::string bad = imageOf(numbered(2));
  bad[0] = 11;  // count above 10
  writeFile(kHeader + bad + imageOf(numbered(1)));
  UnitRecord r;
  EXPECT_FALSE(history().LoadHistoryRecord(0, r));
  EXPECT_TRUE(history().LoadHistoryRecord(1, r));
  ASSERT_TRUE(history().AddToHistory(numbered(3), messenger));
  EXPECT_EQ(keys(), (std::vector<int>{3, 1}));
}

TEST_F(UnitHistoryTest, ClearDeletesTheFile) {
  ASSERT_TRUE(history().AddToHistory(numbered(1), messenger));
  history().ClearHistory();
  EXPECT_FALSE(fs::exists(history().path()));
  history().ClearHistory();  // nothing to delete: silent
  EXPECT_TRUE(messenger.boxes().empty());
}

TEST_F(UnitHistoryTest, WriteFailureShowsTheMessageAndKeepsWhatWasThere) {
  // A folder where the file should be: the new file can't be put in its place,
  // whoever runs the test.
  fs::create_directories(fs::path(history().path()) / "inside");
  EXPECT_FALSE(history().AddToHistory(numbered(2), messenger));
  ASSERT_EQ(messenger.boxes().size(), 1u);
  std::string text = cp1252ToUtf8(messenger.boxes()[0].text);
  EXPECT_EQ(text.rfind("ERREUR\n\nImpossible d'enregistrer le fichier " + history().path() + " !", 0), 0u)
      << text;
  EXPECT_TRUE(fs::is_directory(fs::path(history().path()) / "inside"));
  int leftovers = 0;
  for (const auto& entry : fs::directory_iterator(folder)) leftovers += entry.path().filename() != "QZ.LOG";
  EXPECT_EQ(leftovers, 0) << "no temporary file is left behind";
}

TEST(UnitHistoryImage, ReadRecordsStopsAtTwelve) {
  std::string image = kHeader;
  for (int n = 0; n < 15; ++n) image += imageOf(numbered(n));
  EXPECT_EQ(UnitHistory::readRecords(image).size(), 12u);
  UnitRecord r;
  EXPECT_TRUE(UnitHistory::recordFromImage(image, 11, r));
  EXPECT_EQ(r.components[0].unitKey, 11);
}

}  // namespace
}  // namespace qz

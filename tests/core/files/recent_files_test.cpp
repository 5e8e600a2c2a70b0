#include "files/recent_files.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(RecentFiles, PromotionMovesUpOrDropsTheOldest) {
  RecentFiles recent;
  for (const char* p : {"/d/a.qz", "/d/b.qz", "/d/c.qz", "/d/d.qz"}) recent.promote(p);
  EXPECT_EQ(recent.entry(0), "/d/d.qz");
  EXPECT_EQ(recent.entry(3), "/d/a.qz");

  recent.promote("/d/d.qz");  // already at the head: nothing moves
  EXPECT_EQ(recent.entry(0), "/d/d.qz");
  EXPECT_EQ(recent.entry(1), "/d/c.qz");

  recent.promote("/d/b.qz");  // moves up, the others shift down behind it
  EXPECT_EQ(recent.entry(0), "/d/b.qz");
  EXPECT_EQ(recent.entry(1), "/d/d.qz");
  EXPECT_EQ(recent.entry(2), "/d/c.qz");
  EXPECT_EQ(recent.entry(3), "/d/a.qz");

  recent.promote("/d/e.qz");  // a fifth distinct path drops the oldest
  EXPECT_EQ(recent.entry(0), "/d/e.qz");
  EXPECT_EQ(recent.entry(3), "/d/c.qz");

  recent.promote("");
  EXPECT_EQ(recent.entry(0), "/d/e.qz");
}

TEST(RecentFiles, RemovingAnEntryMovesTheLaterOnesUp) {
  RecentFiles recent;
  for (const char* p : {"/d/a.qz", "/d/b.qz", "/d/c.qz"}) recent.promote(p);
  recent.remove("/d/b.qz");
  EXPECT_EQ(recent.entry(0), "/d/c.qz");
  EXPECT_EQ(recent.entry(1), "/d/a.qz");
  EXPECT_EQ(recent.entry(2), "");
  recent.remove("/d/absent.qz");
  recent.remove("");
  EXPECT_EQ(recent.entry(1), "/d/a.qz");
  EXPECT_EQ(recent.menuItems().size(), 2u);
}

TEST(RecentFiles, DriveLetterPathsCompareInDisplayForm) {
  RecentFiles recent;
  recent.promote("c:\\notes\\essai.QZ");
  recent.promote("C:\\NOTES\\ESSAI.qz");
  EXPECT_EQ(recent.entry(0), "C:\\Notes\\Essai.qz");
  EXPECT_EQ(recent.entry(1), "");
}

TEST(RecentFiles, MenuTexts) {
  RecentFiles recent;
  recent.promote("C:\\a\\dir\\x.qz");
  recent.promote("C:\\dir\\x.qz");
  recent.promote("/home/u/notes/y.qz");
  auto items = recent.menuItems();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].command, 31000);
  EXPECT_EQ(items[0].text, "&1 .../y.qz");
  EXPECT_EQ(items[1].text, "&2 C:\\Dir\\X.qz") << "two backslashes: shown whole";
  EXPECT_EQ(items[2].text, "&3 ...\\X.qz");
  EXPECT_EQ(items[2].command, 31002);
}

TEST(RecentFiles, SettingsRoundTrip) {
  MemorySettingsStore store;
  RecentFiles recent;
  recent.promote("/x/1.qz");
  recent.promote("/x/2.qz");
  recent.save(store);
  EXPECT_EQ(*store.read("Files", "File0"), "/x/2.qz");
  EXPECT_EQ(*store.read("Files", "File2"), "");
  RecentFiles again;
  again.load(store);
  EXPECT_EQ(again.entry(1), "/x/1.qz");
  EXPECT_EQ(again.menuItems().size(), 2u);
}

}  // namespace
}  // namespace qz

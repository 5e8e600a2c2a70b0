#include "units/units_database.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "numbers/string_table.h"
#include "platform/scripted_messenger.h"
#include "units/unit_analysis.h"

namespace qz {
namespace {

std::string lists(int systems, int categories, int quantities) {
  std::string t = "heading\n";
  for (int i = 1; i <= systems; ++i) t += "sys" + std::to_string(i) + "\n";
  t += ".\n";
  for (int i = 1; i <= categories; ++i) t += "cat" + std::to_string(i) + "\n";
  t += ".\n";
  for (int i = 1; i <= quantities; ++i) t += "qty" + std::to_string(i) + "\n";
  t += ".\n";
  return t;
}

TEST(ParseUnitLine, TwelveFieldsAndPieces) {
  DatabaseUnit u = parseUnitLine(
      "12\t 1 \t2\t3\t8\tkilom\xE8tre par "
      "heure\t*|k|m|1&/|1|h|1\t0\t0\t0.277777777777778\t0.5\t1|0|-1|0|0|0|0|0|0");
  EXPECT_TRUE(u.elementary);
  EXPECT_EQ(u.name, "kilom\xE8tre par heure");
  const UnitRecord& r = u.record;
  ASSERT_EQ(r.count, 2);
  EXPECT_EQ(r.components[0].unitKey, 12);
  EXPECT_EQ(r.components[0].system, 2);
  EXPECT_EQ(r.components[0].category, 3);
  EXPECT_EQ(r.components[0].quantity, 8);
  EXPECT_EQ(r.components[0].prefix, "k");
  EXPECT_EQ(r.components[0].symbol, "m");
  EXPECT_EQ(r.components[0].divides, 0);
  EXPECT_DOUBLE_EQ(r.components[0].coefficient, 0.277777777777778);
  EXPECT_EQ(r.components[0].offset, 0.5);
  EXPECT_EQ(r.components[0].dimension, (DimensionVector{1, 0, -1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(r.components[1].unitKey, kContinuationKey);
  EXPECT_EQ(r.components[1].divides, 1);
  EXPECT_EQ(r.components[1].symbol, "h");
  EXPECT_EQ(r.components[1].coefficient, 0.0) << "the whole expression's values go to component 0";
  EXPECT_EQ(UnitText(r), "\x82km\x82/h\x82");
}

TEST(ParseUnitLine, MissingFieldsAndLongTexts) {
  DatabaseUnit empty = parseUnitLine("");
  EXPECT_EQ(empty.record.count, 0);
  EXPECT_FALSE(empty.elementary);

  DatabaseUnit noExpression = parseUnitLine("5\t1\t1\t1\t1\tname");
  EXPECT_EQ(noExpression.record.count, 0) << "an empty expression gives no component";

  DatabaseUnit partial = parseUnitLine("x\t2\t\t\t\tn\t*|abc|" + std::string(30, 's') + "|12345\t1\t1\tabc");
  ASSERT_EQ(partial.record.count, 1);
  const UnitComponent& c = partial.record.components[0];
  EXPECT_EQ(c.unitKey, 0);
  EXPECT_FALSE(partial.elementary) << "only 1 is elementary";
  EXPECT_EQ(c.prefix, "ab");
  EXPECT_EQ(c.symbol, std::string(23, 's'));
  EXPECT_EQ(c.exponent, "123");
  EXPECT_EQ(c.coefficient, 0.0);
  EXPECT_EQ(c.dimension, DimensionVector{});

  DatabaseUnit leadingBars = parseUnitLine("1\t0\t1\t1\t1\tn\t*|1|m|1&|||/|1|s|1");
  ASSERT_EQ(leadingBars.record.count, 2);
  EXPECT_EQ(leadingBars.record.components[1].divides, 1) << "leading bars of a piece are removed";
  EXPECT_EQ(leadingBars.record.components[1].symbol, "s");

  std::string many;
  for (int i = 0; i < 14; ++i) many += (i ? "&" : "") + std::string("*|1|x|1");
  EXPECT_EQ(parseUnitLine("1\t0\t1\t1\t1\tn\t" + many).record.count, 10);
}

TEST(ParseUnitsDatabase, ListsEscapesAndLineEnds) {
  std::string text =
      "QZ\r\nSI\r\n.\r\nM\xE9"
      "canique\r\n.\r\nforce\r\n.\r\n"
      "1\t1\t1\t1\t1\tohm\t*|k|\xB6gW\xB6g|1\t1\t1\t1000\t0\t2|1|-3|-2|0|0|0|0|0\r\n"
      "2\t0\t1\t1\t1\teau\t*|1|mmH\xB6s"
      "2\xB6sO|1\t0\t0\t9.80665\t0\t-1|1|-2|0|0|0|0|0|0\r\n"
      "3\t0\t1\t1\t1\tcarr\xE9\t*|1|m\xB6"
      "e2\xB6"
      "e|1\t0\t0\t1\t0\t2\r\n.\r\n";
  UnitsDatabase db;
  parseUnitsDatabase(text, db);
  EXPECT_EQ(db.systems, std::vector<std::string>{"SI"});
  EXPECT_EQ(db.categories, std::vector<std::string>{"M\xE9"
                                                    "canique"});
  EXPECT_EQ(db.quantities, std::vector<std::string>{"force"});
  ASSERT_EQ(db.units.size(), 3u);
  EXPECT_EQ(db.units[0].record.components[0].symbol, "\x8AW\x8A");
  EXPECT_EQ(db.units[1].record.components[0].symbol,
            "mmH\x8B"
            "2\x8BO");
  EXPECT_EQ(db.units[2].record.components[0].symbol,
            "m\x8C"
            "2\x8C");
  EXPECT_EQ(db.units[0].record.components[0].dimension[3], -2.0)
      << "no carriage return left on the last field";
  EXPECT_EQ(UnitsDatabase::nameAt(db.quantities, 1), "force");
  EXPECT_EQ(UnitsDatabase::nameAt(db.quantities, 2), "");
  EXPECT_EQ(UnitsDatabase::nameAt(db.quantities, 0), "");
}

TEST(ParseUnitsDatabase, MaximaDoNotSpillIntoTheNextList) {
  std::string text = lists(9, 20, 230);
  for (int i = 1; i <= 10000; ++i) text += std::to_string(i) + "\t0\t1\t1\t1\tu\t*|1|u|1\t0\t0\t1\t0\t0\n";
  text += ".\n";
  UnitsDatabase db;
  parseUnitsDatabase(text, db);
  ASSERT_EQ(db.systems.size(), 7u);
  ASSERT_EQ(db.categories.size(), 16u);
  EXPECT_EQ(db.categories.front(), "cat1");
  ASSERT_EQ(db.quantities.size(), 200u);
  EXPECT_EQ(db.quantities.front(), "qty1");
  ASSERT_EQ(db.units.size(), 620u);
  EXPECT_EQ(db.units.back().record.components[0].unitKey, 620);
}

TEST(ParseUnitsDatabase, TruncatedAndBinaryTexts) {
  UnitsDatabase db;
  parseUnitsDatabase("", db);
  EXPECT_TRUE(db.systems.empty());
  EXPECT_TRUE(db.units.empty());

  parseUnitsDatabase("h\nSI\nCGS", db);  // the end of the file closes the open list
  EXPECT_EQ(db.systems.size(), 2u);
  EXPECT_TRUE(db.categories.empty());

  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 131 + 7) & 0xFF);
  parseUnitsDatabase(binary, db);
  EXPECT_LE(db.systems.size(), 7u);
  EXPECT_LE(db.units.size(), 620u);

  parseUnitsDatabase(std::string("h\n\xB6\n.\n"), db);  // an escape byte at a line's end stays
  EXPECT_EQ(db.systems, std::vector<std::string>{"\xB6"});
}

TEST(LoadUnitsDatabase, MissingFileShowsMessage155) {
  ScriptedMessenger messenger;
  UnitsDatabase db;
  db.systems.push_back("old");
  EXPECT_FALSE(LoadUnitsDatabase("/nonexistent/qz", messenger, db));
  EXPECT_TRUE(db.systems.empty());
  ASSERT_EQ(messenger.boxes().size(), 1u);
  EXPECT_EQ(messenger.boxes()[0].text, LoadString(142) + "\n\n" + LoadString(155));
  EXPECT_EQ(messenger.boxes()[0].style, MessageStyle::Error);

  messenger.clear();
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("qz_units_db_folder_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder / "UNIT.SRC");
  EXPECT_FALSE(LoadUnitsDatabase(folder.string(), messenger, db)) << "a folder named UNIT.SRC";
  EXPECT_EQ(messenger.boxes().size(), 1u);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qz

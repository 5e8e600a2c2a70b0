#include "units/units_model.h"

#include <gtest/gtest.h>

#include "core/units/unit_test_support.h"
#include "platform/scripted_messenger.h"
#include "units/unit_conversion.h"

namespace qz {
namespace {

using testing::component;
using testing::kLength;
using testing::metre;
using testing::second;
using testing::unitOf;

constexpr int kCurrent = UnitConversion::kCurrent;
constexpr int kNew = UnitConversion::kNew;

UnitRecord metres() { return unitOf({metre()}); }
UnitRecord kilometres() { return unitOf({component("m", 1.0, kLength, "k")}); }
UnitRecord seconds() { return unitOf({second()}); }

// A model converting kilometres into metres, with the pair accepted.
struct KmToM {
  ScriptedMessenger messenger;
  UnitsModel model{messenger};
  KmToM() {
    EXPECT_TRUE(model.finishUnitChange(kCurrent, kilometres()));
    EXPECT_TRUE(model.finishUnitChange(kNew, metres()));
    messenger.clear();
  }
  bool convert(const std::string &text) {
    EXPECT_TRUE(model.editValue(text));
    return model.convert();
  }
};

TEST(UnitsModel, ConvertsAndAppendsARow) {
  KmToM f;
  ASSERT_TRUE(f.convert("2.5"));
  ASSERT_EQ(f.model.rows().size(), 1u);
  EXPECT_DOUBLE_EQ(f.model.rows()[0].value, 2.5);
  EXPECT_DOUBLE_EQ(f.model.rows()[0].result, 2500.0);
  EXPECT_TRUE(f.model.resultValid());
  EXPECT_EQ(f.model.resultText(), "2500");
  EXPECT_TRUE(f.messenger.boxes().empty());
  EXPECT_EQ(UnitsModel::rowText(f.model.rows()[0]), "2.5               2500");
  EXPECT_EQ(f.model.conversionsText(), "2.5\t2500\r\n");
}

TEST(UnitsModel, ZeroConvertsLikeAnyValue) {
  KmToM f;
  ASSERT_TRUE(f.convert("0"));
  ASSERT_EQ(f.model.rows().size(), 1u);
  EXPECT_EQ(f.model.rows()[0].value, 0.0);
  EXPECT_EQ(f.model.rows()[0].result, 0.0);
  EXPECT_TRUE(f.model.resultValid());
  EXPECT_EQ(f.model.resultText(), "0");
  EXPECT_TRUE(f.messenger.boxes().empty());
}

// Zero on a scale with an offset is a temperature like any other: 0 °C is 32 °F.
TEST(UnitsModel, ZeroCelsiusIsThirtyTwoFahrenheit) {
  ScriptedMessenger messenger;
  UnitsModel model{messenger};
  UnitComponent celsius = component("\xB0" "C", 1.0, testing::kTemperature);
  celsius.offset = 273.15;
  UnitComponent fahrenheit = component("\xB0" "F", 5.0 / 9.0, testing::kTemperature);
  fahrenheit.offset = 459.67 * 5.0 / 9.0;
  ASSERT_TRUE(model.finishUnitChange(kCurrent, unitOf({celsius})));
  ASSERT_TRUE(model.finishUnitChange(kNew, unitOf({fahrenheit})));
  ASSERT_TRUE(model.editValue("0"));
  ASSERT_TRUE(model.convert());
  ASSERT_EQ(model.rows().size(), 1u);
  EXPECT_NEAR(model.rows()[0].result, 32.0, 1e-12);
}

TEST(UnitsModel, ValueChecksShowTheirMessages) {
  struct Row {
    const char *name;
    const char *text;
    UnitValueStatus status;
    const char *message;  // "" when no box is expected
  };
  const Row rows[] = {
      {"empty field", "", UnitValueStatus::Empty, ""},
      {"plain value", "12.5", UnitValueStatus::Valid, ""},
      {"zero", "0", UnitValueStatus::Valid, ""},
      {"unfinished exponent", "1E", UnitValueStatus::Invalid, "ERREUR\n\nValeur incorrecte !"},
      {"lone sign", "-", UnitValueStatus::Invalid, "ERREUR\n\nValeur incorrecte !"},
      {"above the largest", "2E300", UnitValueStatus::Invalid, "ERREUR\n\nValeur maximale = 1e+300 !"},
      {"below the lowest", "-2E300", UnitValueStatus::Invalid, "ERREUR\n\nValeur minimale = -1e+300 !"},
      {"too tiny", "1E-301", UnitValueStatus::Invalid, "ERREUR\n\nPlus petite valeur = |1e-300| !"},
      {"largest itself", "1E300", UnitValueStatus::Valid, ""},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    ScriptedMessenger messenger;
    UnitsModel model(messenger);
    ASSERT_TRUE(model.editValue(row.text));
    EXPECT_EQ(model.valueStatus(), row.status) << "the silent check agrees";
    EXPECT_TRUE(messenger.boxes().empty());
    double value = -1.0;
    EXPECT_EQ(model.checkValue(value), row.status);
    if (*row.message) {
      ASSERT_EQ(messenger.boxes().size(), 1u);
      EXPECT_EQ(messenger.lastTextUtf8(), row.message);
      EXPECT_FALSE(model.entryValid());
    } else {
      EXPECT_TRUE(messenger.boxes().empty());
      EXPECT_TRUE(model.entryValid());
    }
  }
}

TEST(UnitsModel, ClearingTheValueForgetsARefusedEntry) {
  ScriptedMessenger messenger;
  UnitsModel model(messenger);
  ASSERT_TRUE(model.editValue("1E"));
  double value = 0.0;
  EXPECT_EQ(model.checkValue(value), UnitValueStatus::Invalid);
  EXPECT_FALSE(model.entryValid());
  model.clearValue();
  EXPECT_TRUE(model.entryValid());
  EXPECT_EQ(model.valueText(), "");
}

TEST(UnitsModel, TypingIsRefusedWithABeep) {
  struct Row {
    const char *name;
    std::string text;
    bool taken;
  };
  const Row rows[] = {
      {"digits", "123", true},
      {"exponent being typed", "1.5E-", true},
      {"letter", "12a", false},
      {"25 characters", std::string(25, '1'), true},
      {"26 characters", std::string(26, '1'), false},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    ScriptedMessenger messenger;
    UnitsModel model(messenger);
    ASSERT_TRUE(model.editValue("7"));
    EXPECT_EQ(model.editValue(row.text), row.taken);
    EXPECT_EQ(model.valueText(), row.taken ? row.text : std::string("7"));
    EXPECT_EQ(messenger.sounds().size(), row.taken ? 0u : 1u);
  }
}

TEST(UnitsModel, ValueTakesSmallExponentAndDecimalComma) {
  ScriptedMessenger messenger;
  UnitsModel model(messenger);
  EXPECT_TRUE(model.editValue("2,5e-3"));
  EXPECT_EQ(model.valueText(), "2.5E-3") << "the field shows it so";
  double value = 0;
  EXPECT_EQ(model.checkValue(value), UnitValueStatus::Valid);
  EXPECT_DOUBLE_EQ(value, 0.0025);
  EXPECT_TRUE(messenger.sounds().empty());
}

TEST(UnitsModel, MissingUnitShowsMessage24) {
  ScriptedMessenger messenger;
  UnitsModel model(messenger);
  ASSERT_TRUE(model.finishUnitChange(kCurrent, metres()));
  messenger.clear();
  ASSERT_TRUE(model.editValue("3"));
  EXPECT_FALSE(model.convert());
  ASSERT_EQ(messenger.boxes().size(), 1u);
  EXPECT_EQ(messenger.lastTextUtf8(), "ERREUR\n\nLes unités de conversion ne sont pas définies !");
  EXPECT_TRUE(model.rows().empty());
}

TEST(UnitsModel, TheListStopsAtAThousandRows) {
  KmToM f;
  ASSERT_TRUE(f.model.editValue("1"));
  for (int i = 0; i < kMaxConversionRows; ++i) ASSERT_TRUE(f.model.convert()) << "row " << i;
  EXPECT_EQ(f.model.rows().size(), 1000u);
  EXPECT_TRUE(f.messenger.boxes().empty());
  EXPECT_FALSE(f.model.convert());
  EXPECT_EQ(f.model.rows().size(), 1000u);
  ASSERT_EQ(f.messenger.boxes().size(), 1u);
  EXPECT_EQ(f.messenger.lastTextUtf8(), "ERREUR\n\nLe nombre maximum de coordonnées x,y a été atteint !");
  EXPECT_TRUE(f.model.resultValid()) << "the result is still shown";
  f.model.clearLastConversion();
  EXPECT_EQ(f.model.rows().size(), 999u);
}

TEST(UnitsModel, IncoherentUnitsAskAndRefusalRestoresThePair) {
  ScriptedMessenger messenger;
  UnitsModel model(messenger);
  int asked = 0;
  bool answer = false;
  model.setCoherenceQuestion([&](const UnitRecord &, const UnitRecord &) {
    ++asked;
    return answer;
  });
  ASSERT_TRUE(model.finishUnitChange(kCurrent, metres()));
  ASSERT_TRUE(model.finishUnitChange(kNew, kilometres()));
  EXPECT_EQ(asked, 0) << "coherent units ask nothing";

  model.beginUnitChange();
  EXPECT_FALSE(model.finishUnitChange(kNew, seconds()));
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(model.unit(kNew) == kilometres()) << "refused: the remembered pair comes back";
  EXPECT_TRUE(model.unit(kCurrent) == metres());

  answer = true;
  model.beginUnitChange();
  EXPECT_TRUE(model.finishUnitChange(kNew, seconds()));
  EXPECT_TRUE(model.unitsValidated());
  EXPECT_TRUE(model.unit(kNew) == seconds());
}

TEST(UnitsModel, WithoutAQuestionIncoherentUnitsAreRefused) {
  ScriptedMessenger messenger;
  UnitsModel model(messenger);
  ASSERT_TRUE(model.finishUnitChange(kCurrent, metres()));
  model.beginUnitChange();
  EXPECT_FALSE(model.finishUnitChange(kNew, seconds()));
  EXPECT_TRUE(model.unit(kNew).empty());
}

TEST(UnitsModel, ClearingAUnitAsksWhenTheListHasRows) {
  struct Row {
    const char *name;
    MessageAnswer answer;
    bool cleared;
  };
  const Row rows[] = {{"No keeps everything", MessageAnswer::No, false},
                      {"Yes empties unit and list", MessageAnswer::Yes, true}};
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    KmToM f;
    ASSERT_TRUE(f.convert("1"));
    f.messenger.answerNext(row.answer);
    EXPECT_EQ(f.model.clearUnit(kNew), row.cleared);
    ASSERT_EQ(f.messenger.boxes().size(), 1u);
    EXPECT_EQ(f.messenger.boxes()[0].style, MessageStyle::YesNo);
    EXPECT_EQ(f.messenger.lastTextUtf8(),
              "ATTENTION\n\nToutes les conversions vont être effacées "
              "!\n\nConfirmation ?");
    EXPECT_EQ(f.model.unit(kNew).empty(), row.cleared);
    EXPECT_EQ(f.model.rows().size(), row.cleared ? 0u : 1u);
  }
}

TEST(UnitsModel, ClearingWithoutRowsOrAnEmptyUnitAsksNothing) {
  KmToM f;
  EXPECT_TRUE(f.model.clearUnit(kNew));
  EXPECT_FALSE(f.model.clearUnit(kNew)) << "already empty";
  EXPECT_TRUE(f.messenger.boxes().empty());
}

TEST(UnitsModel, SwapEmptiesTheListAndChecksTheUnitsAgain) {
  KmToM f;
  int asked = 0;
  f.model.setCoherenceQuestion([&](const UnitRecord &, const UnitRecord &) {
    ++asked;
    return true;
  });
  ASSERT_TRUE(f.convert("1"));
  f.messenger.answerNext(MessageAnswer::No);
  EXPECT_FALSE(f.model.swapUnits());
  EXPECT_TRUE(f.model.unit(kCurrent) == kilometres());
  EXPECT_EQ(f.model.rows().size(), 1u);

  f.messenger.answerNext(MessageAnswer::Yes);
  EXPECT_TRUE(f.model.swapUnits());
  EXPECT_TRUE(f.model.unit(kCurrent) == metres());
  EXPECT_TRUE(f.model.unit(kNew) == kilometres());
  EXPECT_TRUE(f.model.rows().empty());
  EXPECT_EQ(f.model.valueText(), "");
  EXPECT_FALSE(f.model.resultValid());
  EXPECT_FALSE(f.model.unitsValidated());

  ASSERT_TRUE(f.convert("500"));
  EXPECT_TRUE(f.model.unitsValidated());
  EXPECT_DOUBLE_EQ(f.model.rows()[0].result, 0.5);
  EXPECT_EQ(asked, 0) << "m and km stay coherent";
}

TEST(UnitsModel, SwapNeedsBothUnits) {
  ScriptedMessenger messenger;
  UnitsModel model(messenger);
  ASSERT_TRUE(model.finishUnitChange(kCurrent, metres()));
  EXPECT_FALSE(model.swapUnits());
  EXPECT_TRUE(model.unit(kCurrent) == metres());
}

TEST(UnitsModel, ResultSelectionFeedsTheMemories) {
  KmToM f;
  EXPECT_FALSE(f.model.selectedResult());
  f.model.setResultSelected(true);
  EXPECT_FALSE(f.model.resultSelected()) << "no result to select yet";
  ASSERT_TRUE(f.convert("3"));
  f.model.setResultSelected(true);
  ASSERT_TRUE(f.model.selectedResult());
  EXPECT_DOUBLE_EQ(*f.model.selectedResult(), 3000.0);
  f.model.clearValue();
  EXPECT_FALSE(f.model.selectedResult());

  f.model.useValue(0.25);
  EXPECT_EQ(f.model.valueText(), "0.25");
  ASSERT_TRUE(f.model.convert()) << "a memory used is a value ready to convert";
  EXPECT_DOUBLE_EQ(f.model.rows().back().result, 250.0);
}

TEST(UnitsModel, ClearAllEmptiesEverythingWithoutAsking) {
  KmToM f;
  ASSERT_TRUE(f.convert("4"));
  f.model.clearAll();
  EXPECT_TRUE(f.messenger.boxes().empty());
  EXPECT_TRUE(f.model.rows().empty());
  EXPECT_TRUE(f.model.unit(kCurrent).empty());
  EXPECT_TRUE(f.model.unit(kNew).empty());
  EXPECT_FALSE(f.model.resultValid());
  EXPECT_FALSE(f.model.sectionBody()) << "nothing left to store";
}

TEST(UnitsModel, SectionRoundTrip) {
  KmToM f;
  ASSERT_TRUE(f.convert("1.5"));
  ASSERT_TRUE(f.convert("2"));
  const std::optional<std::string> body = f.model.sectionBody();
  ASSERT_TRUE(body);

  ScriptedMessenger messenger;
  UnitsModel loaded(messenger);
  loaded.loadSection(body);
  EXPECT_TRUE(loaded.unit(kCurrent) == f.model.unit(kCurrent));
  EXPECT_TRUE(loaded.unit(kNew) == f.model.unit(kNew));
  ASSERT_EQ(loaded.rows().size(), 2u);
  EXPECT_DOUBLE_EQ(loaded.rows()[1].result, 2000.0);
  EXPECT_FALSE(loaded.unitsValidated());
  EXPECT_EQ(loaded.sectionBody(), body);

  loaded.loadSection(std::nullopt);
  EXPECT_TRUE(loaded.rows().empty());
  EXPECT_TRUE(loaded.unit(kCurrent).empty());
}

}  // namespace
}  // namespace qz

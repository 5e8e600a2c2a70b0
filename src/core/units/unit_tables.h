// The decimal prefixes and the exponents a unit component may carry.
#pragma once

#include <string>

#include "units/unit_record.h"

namespace qz {

inline constexpr int kMinPrefixIndex = -10;
inline constexpr int kMaxPrefixIndex = 10;
inline constexpr int kMinExponentIndex = -1;
inline constexpr int kMaxExponentIndex = 10;

/// Prefix table, index -10 (yocto) to 10 (yotta); any other index gives the
/// row of index 0 (no prefix: factor 1, symbol "1", name "(aucun)").
double PrefixFactor(int index);
/// Name as shown in lists, code page 1252 ("déci", "méga").
std::string PrefixName(int index);
/// Symbol as stored in a component, code page 1252 ("µ" is one byte).
std::string PrefixSymbol(int index);

/// Exponent table, index -1 ("1/2") to 10 ("9"); other indexes give index 0 (value 1).
double ExponentValue(int index);
/// The exponent's text; index 0 is "(aucun)" when `forList`, else "1".
std::string ExponentText(int index, bool forList);

/// The prefix index of component `i`: 0 when `i` is negative or out of the
/// record, when the component accepts no prefix, or when its prefix is none
/// of the table's; else the index k whose symbol matches, trying k then -k
/// for k = 1..10.
int PrefixIndexOf(const UnitRecord& record, int i);

/// The exponent index of component `i`: 0 when `i` is negative or out of the
/// record, when the component accepts no exponent, or when its text is "1" or
/// none of the table's; -1 for "1/2"; else the first index 1..10 whose text matches.
int ExponentIndexOf(const UnitRecord& record, int i);

}  // namespace qz

// The geometric calculator's variables: one GeoVariable per named quantity of
// the figure on screen, held in a VariableTable of 232 entries.
//
// Who fills what:
// - The catalogue reader appends one entry per variable line of the figure
//   (after the eleven predefined entries that `createPredefined` makes) and
//   fills every field marked [catalogue] below; it then calls `rebuildIndex`.
// - The solver writes `state`, `given` and `value` at each computation.
// - The figure drawing writes `labelRect` (and turns rounded corners into
//   arcs, rewriting their coordinates and kind).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/canvas.h"
#include "platform/messenger.h"

namespace qz {

/// Solver state of a variable.
enum GeoState : int {
  kIncalculable = -1,  ///< its computation failed; blocks the equations that need it
  kUnknown = 0,        ///< not yet found in this computation
  kKnown = 1,          ///< given by the user or computed
};

/// Line style of a drawn element, from the catalogue's style letter.
enum GeoLineStyle : int {
  kLineSolid = 0,    ///< "C"
  kLineDashed = 1,   ///< "T"
  kLineDotted = 2,   ///< "P"
  kLineDashDot = 3,  ///< "M"
};

/// Number kind of a known-data row (the kinds of CheckNumberText).
enum GeoNumberKind : int {
  kNumberInteger = 1,  ///< the variable named "N" (a count of sides, holes, ...)
  kNumberReal = 3,
};

/// Longest variable name, and the capacity of the table.
inline constexpr int kGeoNameLength = 4;
inline constexpr int kGeoCaptionLength = 127;
inline constexpr int kVariableCapacity = 232;
/// Width of one cell of the name index: the name padded to 4, then "|".
inline constexpr int kNameCellWidth = 5;

struct GeoVariable {
  int subFigure = -1;    ///< [catalogue] sub-figure drawn in; -1 for kind "V" (never drawn)
  int state = kUnknown;  ///< GeoState
  int shown = 0;         ///< [catalogue] 1 when the variable has a name (clickable in the picture)
  int given = 0;         ///< 1 when the user entered its value as known data
  char kind = 'V';       ///< [catalogue] "V","C","O","R","A","L","S","E","I" or another drawn kind
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  ///< [catalogue] anchors in the 1000 x 1000 picture world
  /// [catalogue] Extra anchors: kinds "A" and "L" copy x2 into both; "E" and
  /// "I" copy x2 and y2 (half-axes of their ellipse; "L": corner radius).
  int anchorX = 0, anchorY = 0;
  Rgb colour;                  ///< [catalogue] from the colour letter (black by default)
  std::string caption;         ///< [catalogue] kind "C" only, up to 127 bytes (code page 1252)
  int lineStyle = kLineSolid;  ///< [catalogue] GeoLineStyle
  int styleParameter = 0;      ///< [catalogue] pen width
  int startMark = 0;           ///< [catalogue] 1: small disc at the element's start ("<")
  int endMark = 0;             ///< [catalogue] 1: small disc at the element's end (">")
  std::string name;            ///< [catalogue] up to 4 bytes ("L1", "AH13", "xP", "1")
  Rect labelRect;              ///< written by the drawing when the label is drawn; hit-testing
  double value = 0.0;       ///< [catalogue] starting value; then the solver's value (meaningful when Known)
  double startAngle = 0.0;  ///< [catalogue] degrees, for arcs and ellipses
  double endAngle = 0.0;    ///< [catalogue] degrees
  double minimum = -1e300;  ///< [catalogue] closed range a value must lie in
  double maximum = 1e300;   ///< [catalogue]
  double forbidden1 = 0.0;  ///< [catalogue] two values the user may not enter
  double forbidden2 = 0.0;  ///< [catalogue]
  double startValue = 0.0;  ///< [catalogue] the starting value as read (kept when `value` changes)

  /// Auxiliary variables ("xP", "xH", ...) are shared scratch of the relation
  /// groups and do not count as progress.
  bool isAuxiliary() const { return !name.empty() && name[0] == 'x'; }
  /// Number kind of a known-data row for this variable.
  int numberKind() const { return name == "N" ? kNumberInteger : kNumberReal; }
};

/// The table of the figure on screen with its name index. Holds at most
/// kVariableCapacity entries; the first `predefinedCount()` are the eleven
/// predefined ones ("1", "AD", "AP", "xH", "xL11", "xL12", "xA11", "xA12",
/// "xS2", "xS3", "xP").
class VariableTable {
 public:
  /// `messenger` receives the "nItem Error" box of a failed lookup; it may be
  /// null (lookups are then silent).
  explicit VariableTable(Messenger* messenger = nullptr) : m_messenger(messenger) {}

  void setMessenger(Messenger* messenger) { m_messenger = messenger; }

  /// Empties the table and its index.
  void clear();
  /// Clears the table, then creates the eleven predefined entries (kind "V",
  /// sub-figure -1, range -1e300..1e300; the constants "1" = 1, "AD" = 90,
  /// "AP" = 180 Known, the auxiliary names 0 and Unknown) and indexes them.
  void createPredefined();
  int predefinedCount() const { return m_predefined; }

  /// Appends an entry (its name is cut to 4 bytes) and registers it in the
  /// index. Returns its index, or -1 when the table is full (232 entries).
  int append(const GeoVariable& variable);
  /// Rebuilds the name index from the entries, in table order. Call it after
  /// changing names directly.
  void rebuildIndex();

  /// Changes whenever the name index may have changed (entries added,
  /// cleared, reindexed); unique across tables, so a copy shares it only
  /// while it holds the same index.
  unsigned long long generation() const { return m_generation; }

  int size() const { return static_cast<int>(m_entries.size()); }
  bool full() const { return size() >= kVariableCapacity; }
  GeoVariable& at(int index) { return m_entries[static_cast<size_t>(index)]; }
  const GeoVariable& at(int index) const { return m_entries[static_cast<size_t>(index)]; }
  std::vector<GeoVariable>& entries() { return m_entries; }
  const std::vector<GeoVariable>& entries() const { return m_entries; }

  /// Index of the entry named `name`, or -1. A missing name is a defect of the
  /// equation sets: unless `silent`, it shows "nItem Error" through the
  /// messenger (error icon, no caption word).
  int lookupVariable(std::string_view name, bool silent = false) const;
  /// The name index: one 5-byte cell per entry ("L1  |AH13|...").
  const std::string& nameIndex() const { return m_nameIndex; }

 private:
  void registerVariable(const std::string& name);

  std::vector<GeoVariable> m_entries;
  std::string m_nameIndex;
  unsigned long long m_generation = 0;
  /// The name index hashed: a cell (as 4 bytes, never 0) and its first entry,
  /// by open addressing in twice the table's capacity.
  static constexpr size_t kIndexSlots = 512;
  std::array<std::pair<uint32_t, int>, kIndexSlots> m_slots = [] {
    std::array<std::pair<uint32_t, int>, kIndexSlots> empty{};
    empty.fill({0, -1});
    return empty;
  }();
  int m_predefined = 0;
  Messenger* m_messenger = nullptr;
};

}  // namespace qz

// The history of the last units chosen, kept in a small file of fixed-size
// records in the per-user data folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/messenger.h"
#include "units/unit_record.h"

namespace qz {

/// File name of the history in its folder.
inline constexpr std::string_view kHistoryFileName = "QZ.LOG";
/// First bytes of the file: this text, then zero bytes up to kHistoryHeaderSize.
inline constexpr std::string_view kHistoryMagic = "QZ_1A";
inline constexpr std::size_t kHistoryHeaderSize = 24;
inline constexpr int kMaxHistoryRecords = 12;

class UnitHistory {
 public:
  /// `folder`: the per-user data folder holding the file; created when a record is first added.
  explicit UnitHistory(std::string folder) : m_folder(std::move(folder)) {}

  std::string path() const;

  /// Reads record `n` (0 most recent). False, with `record` emptied, when `n`
  /// is negative, the file is missing or foreign, too short, or the record is
  /// damaged (count outside 0..10, unterminated text, non-finite real).
  bool LoadHistoryRecord(int n, UnitRecord& record) const;

  /// Puts `record` at the head of the history: the stored records that
  /// differ from it follow in their order, 12 records at most. Records with
  /// no component are not added. The file is replaced atomically; on failure
  /// message 30804 is shown, the file stays as it was, and false is returned.
  bool AddToHistory(const UnitRecord& record, Messenger& messenger) const;

  /// Deletes the file (nothing happens when there is none).
  void ClearHistory() const;

  /// The valid records of a history file image, in order, at most 12 (none
  /// when the header is not "QZ_1A"); reading stops at a short record and
  /// skips damaged ones.
  static std::vector<UnitRecord> readRecords(std::string_view image);
  /// Record `n` of a history file image, with the rules of LoadHistoryRecord.
  static bool recordFromImage(std::string_view image, int n, UnitRecord& record);

 private:
  std::string m_folder;
};

}  // namespace qz

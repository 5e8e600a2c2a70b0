#include "units/unit_history.h"

#include <filesystem>
#include <fstream>

#include "files/file_access.h"
#include "platform/places.h"

namespace qz {
namespace {

bool headerMatches(std::string_view image) {
  if (image.size() < kHistoryHeaderSize) return false;
  // The header is a zero-terminated text.
  return image.substr(0, kHistoryMagic.size()) == kHistoryMagic && image[kHistoryMagic.size()] == '\0';
}

// Reads the header and the first `records` records at most.
std::string readImage(const std::string& path, std::size_t records) {
  // Only a regular file: opening a FIFO put there would wait for ever.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return {};
  std::ifstream file(path, std::ios::binary);
  if (!file) return {};
  std::string image(kHistoryHeaderSize + records * kUnitRecordSize, '\0');
  file.read(image.data(), static_cast<std::streamsize>(image.size()));
  image.resize(static_cast<std::size_t>(file.gcount()));
  return image;
}

}  // namespace

std::string UnitHistory::path() const { return joinPath(m_folder, std::string(kHistoryFileName)); }

bool UnitHistory::recordFromImage(std::string_view image, int n, UnitRecord& record) {
  clearUnit(record);
  if (n < 0 || !headerMatches(image)) return false;
  std::size_t at = kHistoryHeaderSize + static_cast<std::size_t>(n) * kUnitRecordSize;
  if (image.size() < at + kUnitRecordSize) return false;
  return unitRecordFromBytes(reinterpret_cast<const std::uint8_t*>(image.data() + at), kUnitRecordSize,
                             record);
}

std::vector<UnitRecord> UnitHistory::readRecords(std::string_view image) {
  std::vector<UnitRecord> records;
  if (!headerMatches(image)) return records;
  for (std::size_t at = kHistoryHeaderSize;
       at + kUnitRecordSize <= image.size() && records.size() < static_cast<std::size_t>(kMaxHistoryRecords);
       at += kUnitRecordSize) {
    UnitRecord record;
    if (unitRecordFromBytes(reinterpret_cast<const std::uint8_t*>(image.data() + at), kUnitRecordSize,
                            record)) {
      records.push_back(record);
    }
  }
  return records;
}

bool UnitHistory::LoadHistoryRecord(int n, UnitRecord& record) const {
  clearUnit(record);
  // The history holds twelve records; anything beyond is not part of it.
  if (n < 0 || n >= kMaxHistoryRecords) return false;
  std::string image = readImage(path(), static_cast<std::size_t>(n) + 1);
  return recordFromImage(image, n, record);
}

bool UnitHistory::AddToHistory(const UnitRecord& record, Messenger& messenger) const {
  if (record.count <= 0) return true;
  std::vector<UnitRecord> list{record};
  // A damaged record in the file is dropped rather than carried forward.
  for (const UnitRecord& stored : readRecords(readImage(path(), kMaxHistoryRecords))) {
    if (list.size() >= static_cast<std::size_t>(kMaxHistoryRecords)) break;
    if (!sameUnitBytes(stored, record)) list.push_back(stored);
  }
  std::string data(kHistoryHeaderSize, '\0');
  data.replace(0, kHistoryMagic.size(), kHistoryMagic);
  for (const UnitRecord& r : list) {
    UnitRecordBytes bytes = unitRecordToBytes(r);
    data.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  // The per-user folder may not exist yet on a fresh account.
  std::error_code ec;
  std::filesystem::create_directories(m_folder, ec);
  return WriteFileAtomically(path(), data, messenger, kCannotSaveFile);
}

void UnitHistory::ClearHistory() const { WipeAndDelete(path(), false); }

}  // namespace qz

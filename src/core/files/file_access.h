// Reading and writing the program's files with its uniform error messages.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/messenger.h"

namespace qz {

/// Causes of a file error; the text of cause n is string 600 + n.
enum class FileErrorCause {
  None = 0,
  Generic = 1,
  FileNotFound = 2,
  BadPath = 3,
  TooManyOpenFiles = 4,
  AccessDenied = 5,
  InvalidFile = 6,
  RemoveCurrentDir = 7,
  DirectoryFull = 8,
  BadSeek = 9,
  HardwareError = 10,
  SharingViolation = 11,
  LockViolation = 12,
  DiskFull = 13,
  EndOfFile = 14,
};

FileErrorCause causeOfErrno(int error);

/// Message numbers of the two uniform file messages.
enum FileMessageId : int {
  kCannotOpenFile = 289,    ///< "Impossible d'ouvrir le fichier %s."
  kCannotSaveFile = 30804,  ///< "Impossible d'enregistrer le fichier %s !"
  kCannotCreateFolder = 218,
};

/// Shows message `messageId` (when not 0) for `path` under "ERREUR": every "%s"
/// becomes the display form of the path, and messages 289 and 30804 get two
/// line breaks and the text of the cause.
void ShowFileError(Messenger& messenger, int messageId, const std::string& path, FileErrorCause cause);

/// Upper bound of every file the program reads: far above the largest valid
/// file (a document with all five calculators full, the units database and
/// the catalogues all stay under a few megabytes), so that a device, a runaway
/// file or a wrong name is refused instead of filling the memory.
inline constexpr std::size_t kMaxReadBytes = 64u << 20;

/// Reads a whole regular file of at most `maxBytes` bytes. Without a message
/// (the caller tells the user): a FIFO or a device is never opened for
/// reading (no hang), and a failure gives its cause.
struct FileReadResult {
  std::optional<std::string> content;
  FileErrorCause cause = FileErrorCause::None;
};
FileReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes = kMaxReadBytes);

/// The whole content of a file; nothing (after message `messageId`, when not 0)
/// when it cannot be read: missing, not a regular file (a folder, a FIFO, a
/// device), larger than `maxBytes` or beyond the memory. An empty path fails
/// without a message.
std::optional<std::string> ReadWholeFile(const std::string& path, Messenger& messenger, int messageId,
                                         std::size_t maxBytes = kMaxReadBytes);

/// Everything readable on descriptor `fd` up to its end, at most `maxBytes`
/// bytes: nothing when it holds more (or cannot be read, or the memory runs
/// out). For standard input, which has no size to check first.
std::optional<std::string> ReadBoundedStream(int fd, std::size_t maxBytes = kMaxReadBytes);

/// Replaces a file's content atomically, the one way the program writes a file:
/// - the bytes go to a temporary `.NAME.XXXXXX` created exclusively in the
///   file's folder (never through a link planted there), flushed to disk and
///   renamed over the file, then the folder is flushed too, so a crash or a
///   full disk leaves the old file or the new one, never a mix;
/// - a symbolic link is written through: its target is replaced, the link stays;
/// - the replaced file keeps its mode, owner and group; a new file gets the
///   mode the umask allows (0666 masked);
/// - a file its owner may not write (no owner write bit, even for root, as
///   editors do) or the user may not write is refused with "Accès refusé.";
///   anything but a regular file (a folder, a device) is refused too;
/// - a file with several hard links, or one whose owner cannot be given to
///   the new file, is rewritten in place once the new content is safe in the
///   temporary, so that it stays one file with its owner; if that write fails
///   the old content is written back. A crash in the middle of that in-place
///   write can leave a mix: the complete new content then stays in the
///   temporary until the next save;
/// - the temporary is removed on every failure, and temporaries of this file
///   left by a killed save (no live writer holds their lock) are removed after
///   the next successful one.
/// False (after message `messageId`, when not 0) on failure, the old file untouched.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, Messenger& messenger,
                         int messageId);

/// The same without a message: the cause of the failure, None on success.
FileErrorCause WriteFileAtomically(const std::string& path, const std::string& bytes);

/// True when the path is not empty and the file system knows it.
bool FileExists(const std::string& path);

/// Creates a folder and its missing parents. Blanks around the path and
/// trailing separators are ignored; a relative path is refused silently
/// (false); a creation failure shows message 218 with the path given.
bool CreateFolderPath(const std::string& path, Messenger& messenger);

/// The default folders' rule: a name without any "/" is taken inside
/// `programFolder`; trailing separators are removed. True when the folder exists.
bool ResolveFolder(std::string& path, const std::string& programFolder);

/// Deletes a file, first overwriting its content with "?" when `overwrite` is
/// set. Silent: every failure is swallowed.
void WipeAndDelete(const std::string& path, bool overwrite);

}  // namespace qz

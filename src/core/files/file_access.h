// Reading and writing the program's files with its uniform error messages.
#pragma once

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

/// The whole content of a file; nothing (after message `messageId`, when not 0)
/// when it cannot be read. An empty path fails without a message.
std::optional<std::string> ReadWholeFile(const std::string& path, Messenger& messenger, int messageId);

/// Replaces a file's content atomically: the bytes go to a temporary file in the
/// same folder, which is flushed to disk and then renamed over the file, so a
/// crash or a full disk never leaves a truncated file. False (after message
/// `messageId`, when not 0) on failure, the old file untouched.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, Messenger& messenger,
                         int messageId);

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

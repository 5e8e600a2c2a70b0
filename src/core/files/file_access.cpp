#include "files/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "files/display_path.h"
#include "numbers/cp1252.h"
#include "numbers/messages.h"
#include "numbers/string_table.h"

namespace qz {

namespace fs = std::filesystem;

FileErrorCause causeOfErrno(int error) {
  switch (error) {
    case 0: return FileErrorCause::None;
    case ENOENT: return FileErrorCause::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL: return FileErrorCause::BadPath;
    case EMFILE:
    case ENFILE: return FileErrorCause::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS: return FileErrorCause::AccessDenied;
    case EISDIR: return FileErrorCause::InvalidFile;
    case EBUSY:
    case ETXTBSY: return FileErrorCause::SharingViolation;
    case ENOLCK: return FileErrorCause::LockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return FileErrorCause::DiskFull;
    case EIO: return FileErrorCause::HardwareError;
    case ESPIPE: return FileErrorCause::BadSeek;
    default: return FileErrorCause::Generic;
  }
}

void ShowFileError(Messenger& messenger, int messageId, const std::string& path, FileErrorCause cause) {
  if (messageId == 0) return;
  std::string text = LoadString(messageId);
  if (messageId == kCannotOpenFile || messageId == kCannotSaveFile)
    text += "\n\n" + LoadString(600 + static_cast<int>(cause));
  // Paths are UTF-8; messages are code page 1252.
  const std::string shown = utf8ToCp1252(DisplayPath(path));
  for (std::size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s", at + shown.size()))
    text.replace(at, 2, shown);
  ShowMessage(messenger, kCaptionError, 0, text, MessageStyle::Error);
}

std::optional<std::string> ReadWholeFile(const std::string& path, Messenger& messenger, int messageId) {
  if (path.empty()) return std::nullopt;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    ShowFileError(messenger, messageId, path, causeOfErrno(errno));
    return std::nullopt;
  }
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    ShowFileError(messenger, messageId, path, FileErrorCause::InvalidFile);
    return std::nullopt;
  }
  std::string content;
  char buffer[65536];
  while (true) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      int error = errno;
      ::close(fd);
      ShowFileError(messenger, messageId, path, causeOfErrno(error));
      return std::nullopt;
    }
    content.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return content;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, Messenger& messenger, int messageId) {
  if (path.empty()) return false;
  fs::path target(path);
  std::string temp = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    ShowFileError(messenger, messageId, path, causeOfErrno(errno));
    return false;
  }
  auto fail = [&](int error) {
    ::close(fd);
    ::unlink(temp.c_str());
    ShowFileError(messenger, messageId, path, causeOfErrno(error));
    return false;
  };
  std::string_view rest(bytes);
  while (!rest.empty()) {
    ssize_t n = ::write(fd, rest.data(), rest.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  // Keep the permissions of the file replaced; a new file gets the usual ones.
  struct stat info {};
  mode_t mode = ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
  ::fchmod(fd, mode);
  if (::fsync(fd) != 0) return fail(errno);
  if (::close(fd) != 0) {
    int error = errno;
    ::unlink(temp.c_str());
    ShowFileError(messenger, messageId, path, causeOfErrno(error));
    return false;
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    int error = errno;
    ::unlink(temp.c_str());
    ShowFileError(messenger, messageId, path, causeOfErrno(error));
    return false;
  }
  return true;
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

namespace {

std::string trimmedFolder(const std::string& path) {
  std::size_t first = path.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  std::size_t last = path.find_last_not_of(" \t");
  std::string folder = path.substr(first, last - first + 1);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace

bool CreateFolderPath(const std::string& path, Messenger& messenger) {
  std::string folder = trimmedFolder(path);
  if (folder.empty() || folder.front() != '/') return false;
  std::error_code ec;
  if (fs::is_directory(folder, ec)) return true;
  fs::create_directories(folder, ec);
  if (!ec && fs::is_directory(folder, ec)) return true;
  ShowMessage(messenger, kCaptionError, 0, [&] {
    std::string text = LoadString(kCannotCreateFolder);
    std::size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, utf8ToCp1252(path));
    return text;
  }(), MessageStyle::Error);
  return false;
}

bool ResolveFolder(std::string& path, const std::string& programFolder) {
  std::string folder = trimmedFolder(path);
  if (!folder.empty() && folder.find('/') == std::string::npos) folder = (fs::path(programFolder) / folder).string();
  path = folder;
  std::error_code ec;
  return !folder.empty() && fs::is_directory(folder, ec);
}

void WipeAndDelete(const std::string& path, bool overwrite) {
  if (path.empty() || !FileExists(path)) return;
  if (overwrite) {
    ::chmod(path.c_str(), 0600);
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd >= 0) {
      struct stat info {};
      if (::fstat(fd, &info) == 0) {
        const char block[10] = {'?', '?', '?', '?', '?', '?', '?', '?', '?', '?'};
        for (off_t written = 0; written < info.st_size; written += 10)
          if (::write(fd, block, 10) != 10) break;
        ::fsync(fd);
      }
      ::close(fd);
    }
  }
  ::unlink(path.c_str());
}

}  // namespace qz

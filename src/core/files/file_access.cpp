#include "files/file_access.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

namespace {

// Reads what `fd` holds up to its end; false with errno-style `error` set
// (EFBIG when more than `maxBytes` bytes come, ENOMEM when the memory runs out).
bool readAll(int fd, std::size_t maxBytes, std::string& content, int& error) {
  try {
    char buffer[65536];
    while (true) {
      const std::size_t room = maxBytes - content.size() + 1;  // one more byte tells "too long"
      ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, room));
      if (n == 0) return true;
      if (n < 0) {
        if (errno == EINTR) continue;
        error = errno;
        return false;
      }
      content.append(buffer, static_cast<std::size_t>(n));
      if (content.size() > maxBytes) {
        error = EFBIG;
        return false;
      }
    }
  } catch (const std::bad_alloc&) {
    error = ENOMEM;
    return false;
  }
}

}  // namespace

FileReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes) {
  FileReadResult result;
  if (path.empty()) {
    result.cause = FileErrorCause::BadPath;
    return result;
  }
  // O_NONBLOCK: opening a FIFO with no writer would wait for ever.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    result.cause = causeOfErrno(errno);
    return result;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    result.cause = causeOfErrno(errno);
  } else if (!S_ISREG(info.st_mode) || static_cast<unsigned long long>(info.st_size) > maxBytes) {
    result.cause = FileErrorCause::InvalidFile;
  } else {
    std::string content;
    int error = 0;
    if (readAll(fd, maxBytes, content, error))
      result.content = std::move(content);
    else
      result.cause = error == EFBIG || error == ENOMEM ? FileErrorCause::InvalidFile : causeOfErrno(error);
  }
  ::close(fd);
  return result;
}

std::optional<std::string> ReadWholeFile(const std::string& path, Messenger& messenger, int messageId,
                                         std::size_t maxBytes) {
  if (path.empty()) return std::nullopt;
  FileReadResult read = ReadRegularFile(path, maxBytes);
  if (!read.content) ShowFileError(messenger, messageId, path, read.cause);
  return std::move(read.content);
}

std::optional<std::string> ReadBoundedStream(int fd, std::size_t maxBytes) {
  std::string content;
  int error = 0;
  if (!readAll(fd, maxBytes, content, error)) return std::nullopt;
  return content;
}

namespace {

constexpr std::size_t kTemporaryTail = 6;  // the "XXXXXX" of mkstemp

// The file a path names once the symbolic links at its end are followed: a
// save replaces the link's target and leaves the link itself alone. A
// dangling link names the file it would create.
std::optional<std::string> followLinks(const std::string& path, int& error) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    std::error_code ec;
    fs::path target = fs::read_symlink(current, ec);
    if (ec) {
      error = ec.value();
      return std::nullopt;
    }
    current = target.is_absolute() ? target.string() : (fs::path(current).parent_path() / target).string();
  }
  error = ELOOP;
  return std::nullopt;
}

// The file creation mask, read without changing it (umask() both reads and
// sets, which races with other threads creating files).
mode_t currentUmask() {
  if (FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status)) found = std::sscanf(line, "Umask: %o", &mask) == 1;
    std::fclose(status);
    if (found) return static_cast<mode_t>(mask);
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

bool writeAll(int fd, std::string_view bytes, int& error) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Rewrites an existing file in place: the new bytes over the old ones, then
// the length. When that fails, the old content goes back the same way (its
// blocks are still allocated, so a full disk does not stop it).
bool rewriteInPlace(const std::string& file, const std::string& bytes, int& error) {
  FileReadResult old = ReadRegularFile(file);
  if (!old.content) {
    error = EACCES;
    return false;
  }
  int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
  if (fd < 0) {
    error = errno;
    return false;
  }
  const auto put = [fd](const std::string& content, int& why) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, content, why) &&
           ::ftruncate(fd, static_cast<off_t>(content.size())) == 0 && ::fsync(fd) == 0;
  };
  int why = 0;
  bool done = put(bytes, why);
  if (!done) {
    error = why != 0 ? why : errno;
    int ignored = 0;
    put(*old.content, ignored);
  }
  if (::close(fd) != 0 && done) {
    error = errno;
    done = false;
  }
  return done;
}

void syncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Temporaries `.NAME.XXXXXX` of `name` left in `folder` by a save that was
// killed. A live save holds a lock on its temporary, so only the dead ones go.
void removeStaleTemporaries(const std::string& folder, const std::string& name) {
  const std::string prefix = "." + name + ".";
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (entry.size() != prefix.size() + kTemporaryTail || !entry.starts_with(prefix)) continue;
    const std::string candidate = it->path().string();
    int fd = ::open(candidate.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) continue;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      ::unlink(candidate.c_str());
    ::close(fd);
  }
}

}  // namespace

FileErrorCause WriteFileAtomically(const std::string& path, const std::string& bytes) {
  if (path.empty()) return FileErrorCause::BadPath;
  int error = 0;
  const std::optional<std::string> resolved = followLinks(path, error);
  if (!resolved) return causeOfErrno(error);
  const std::string& file = *resolved;

  struct stat old {};
  const bool exists = ::stat(file.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return causeOfErrno(errno);
  if (exists) {
    if (!S_ISREG(old.st_mode)) return FileErrorCause::InvalidFile;
    // A file made read-only by its owner stays so, whoever saves.
    if ((old.st_mode & S_IWUSR) == 0 || ::access(file.c_str(), W_OK) != 0) return FileErrorCause::AccessDenied;
  }

  const fs::path target(file);
  const std::string folder = target.has_parent_path() ? target.parent_path().string() : std::string(".");
  const std::string name = target.filename().string();
  std::string temp = (fs::path(folder) / ("." + name + "." + std::string(kTemporaryTail, 'X'))).string();
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);  // O_EXCL: never through a link planted at that name
  if (fd < 0) return causeOfErrno(errno);
  ::flock(fd, LOCK_EX);  // tells the stale-temporary cleaning of another save that this one lives

  const auto fail = [&](int why) {
    ::close(fd);
    ::unlink(temp.c_str());
    return causeOfErrno(why != 0 ? why : EIO);
  };
  if (!writeAll(fd, bytes, error)) return fail(error);

  bool inPlace = false;
  if (exists) {
    // The owner first: changing it clears the set-id bits the mode then restores.
    if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
      inPlace = true;
    if (old.st_nlink > 1) inPlace = true;
    if (::fchmod(fd, old.st_mode & 07777) != 0) return fail(errno);
  } else if (::fchmod(fd, 0666 & ~currentUmask()) != 0) {
    return fail(errno);
  }
  if (::fsync(fd) != 0) return fail(errno);

  if (inPlace) {
    if (!rewriteInPlace(file, bytes, error)) return fail(error);
    ::close(fd);
    ::unlink(temp.c_str());
  } else {
    // Renamed while still open and locked, so no other save takes it for stale.
    if (::rename(temp.c_str(), file.c_str()) != 0) return fail(errno);
    ::close(fd);  // the data were flushed before the rename: a late close error changes nothing
  }
  syncFolder(folder);
  removeStaleTemporaries(folder, name);
  return FileErrorCause::None;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, Messenger& messenger, int messageId) {
  if (path.empty()) return false;
  const FileErrorCause cause = WriteFileAtomically(path, bytes);
  if (cause == FileErrorCause::None) return true;
  ShowFileError(messenger, messageId, path, cause);
  return false;
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

#include "platform/RealFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "common/Base64.h"
#include "platform/Lines.h"
#include "platform/ShiftJis.h"

namespace orv {
namespace fs = std::filesystem;

namespace {

std::string systemReason(int err) { return std::strerror(err); }

FileError errorOf(FileError::Kind kind, const Text& path, std::string reason) {
  FileError e;
  e.kind = kind;
  e.path = path;
  e.reason = std::move(reason);
  return e;
}

FileError notShiftJis(const Text& path, const DecodeResult& d) {
  FileError e = errorOf(FileError::Kind::NotShiftJis, path, {});
  e.line = d.errorLine;
  e.bytes = d.errorBytes;
  e.utf8 = d.utf8;
  e.binary = d.binary;
  e.control = d.control;
  return e;
}

bool writeAll(int fd, const char* data, std::size_t size, int& err) {
  while (size > 0) {
    ssize_t w = ::write(fd, data, size);
    if (w < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return false;
    }
    data += w;
    size -= static_cast<std::size_t>(w);
  }
  return true;
}

}  // namespace

bool readAllBytes(const std::string& path, std::string& bytes, std::string& reason, bool& notFound) {
  notFound = false;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    notFound = errno == ENOENT || errno == ENOTDIR;
    reason = systemReason(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    reason = systemReason(EISDIR);
    return false;
  }
  bytes.clear();
  if (st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buf[1 << 16];
  for (;;) {
    ssize_t r = ::read(fd, buf, sizeof buf);
    if (r < 0) {
      if (errno == EINTR) continue;
      reason = systemReason(errno);
      ::close(fd);
      return false;
    }
    if (r == 0) break;
    bytes.append(buf, static_cast<std::size_t>(r));
  }
  ::close(fd);
  return true;
}

ReadResult RealTextFiles::readText(const Text& path) {
  ReadResult r;
  std::string bytes, reason;
  bool notFound = false;
  if (!readAllBytes(toUtf8(path), bytes, reason, notFound)) {
    r.error = errorOf(notFound ? FileError::Kind::NotFound : FileError::Kind::Unreadable, path, reason);
    return r;
  }
  r.emptyFile = bytes.empty();
  DecodeResult d = decodeCp932(bytes);
  std::string().swap(bytes);
  if (!d.ok) {
    r.error = notShiftJis(path, d);
    return r;
  }
  r.text = std::move(d.text);
  return r;
}

ReadResult RealTextFiles::readFirstLine(const Text& path) {
  ReadResult r;
  int fd = ::open(toUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    bool notFound = errno == ENOENT || errno == ENOTDIR;
    r.error = errorOf(notFound ? FileError::Kind::NotFound : FileError::Kind::Unreadable, path,
                      systemReason(errno));
    return r;
  }
  // A CR byte never occurs inside a two-byte code page 932 character, so the first line ends at
  // the first CR byte and nothing after it needs reading.
  std::string bytes;
  char buf[1 << 16];
  bool sawCr = false;
  while (!sawCr) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      r.error = errorOf(FileError::Kind::Unreadable, path, systemReason(errno));
      ::close(fd);
      return r;
    }
    if (n == 0) break;
    const char* cr = static_cast<const char*>(std::memchr(buf, '\r', static_cast<std::size_t>(n)));
    bytes.append(buf, cr ? static_cast<std::size_t>(cr - buf) : static_cast<std::size_t>(n));
    sawCr = cr != nullptr;
  }
  ::close(fd);
  r.emptyFile = bytes.empty() && !sawCr;
  DecodeResult d = decodeCp932(bytes, !sawCr);
  if (!d.ok) {
    r.error = notShiftJis(path, d);
    return r;
  }
  r.text = std::move(d.text);
  return r;
}

FileError RealTextFiles::writeText(const Text& path, TextView text) {
  EncodeResult e = encodeCp932(text);
  if (!e.ok) {
    FileError err = errorOf(FileError::Kind::Unencodable, path, {});
    err.character = e.errorChar;
    return err;
  }
  return writeBytes(path, e.bytes);
}

FileError RealTextFiles::writeParts(const Text& path, const std::vector<WritePart>& parts) {
  const std::string target = toUtf8(path);
  fs::path targetPath(target);
  fs::path folder = targetPath.parent_path();
  if (folder.empty()) folder = ".";
  // Keep the mode of a file being replaced; new files get the usual mode.
  mode_t mode = 0666;
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return errorOf(FileError::Kind::Unwritable, path, systemReason(EISDIR));
    mode = st.st_mode & 07777;
  }
  std::random_device rd;
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    tmp = (folder / ("." + targetPath.filename().string() + ".tmp" + std::to_string(rd() % 1000000)))
              .string();
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return errorOf(FileError::Kind::Unwritable, path, systemReason(errno));
  int err = 0;
  bool ok = true;
  for (const WritePart& part : parts) {
    if (!part.base64) {
      ok = writeAll(fd, part.bytes.data(), part.bytes.size(), err);
    } else {
      constexpr std::size_t kSlice = 3 * 16384;  // a multiple of three: the pieces join exactly
      for (std::size_t at = 0; ok && at < part.bytes.size(); at += kSlice) {
        const std::string encoded = base64(part.bytes.substr(at, kSlice));
        ok = writeAll(fd, encoded.data(), encoded.size(), err);
      }
    }
    if (!ok) break;
  }
  if (ok && ::fsync(fd) != 0) {
    err = errno;
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    err = errno;
    ok = false;
  }
  if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) {
    err = errno;
    ok = false;
  }
  if (!ok) {
    ::unlink(tmp.c_str());
    return errorOf(FileError::Kind::Unwritable, path, systemReason(err));
  }
  return {};
}

bool RealFileSystem::fileExists(const Text& path) {
  struct stat st {};
  return ::stat(toUtf8(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

Text RealFileSystem::programFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return currentDirectory();
  return fromUtf8(exe.parent_path().string());
}

Text RealFileSystem::currentDirectory() {
  std::error_code ec;
  return fromUtf8(fs::current_path(ec).string());
}

bool RealFileSystem::setCurrentDirectory(const Text& path) {
  return ::chdir(toUtf8(path).c_str()) == 0;
}

std::vector<Text> RealFileSystem::drives() {
  std::vector<Text> out{u"/"};
  std::ifstream mounts("/proc/self/mounts");
  std::string dev, dir, type, rest;
  while (mounts >> dev >> dir >> type && std::getline(mounts, rest)) {
    // Real volumes only: the pseudo file systems of the kernel are no place for text files.
    if (dev.rfind("/dev/", 0) != 0 || dir == "/") continue;
    if (dir.rfind("/boot", 0) == 0 || dir.rfind("/snap/", 0) == 0) continue;
    Text t = fromUtf8(dir);
    if (std::find(out.begin(), out.end(), t) == out.end()) out.push_back(t);
  }
  Text home = fromUtf8(std::getenv("HOME") ? std::getenv("HOME") : "");
  if (!home.empty() && std::find(out.begin(), out.end(), home) == out.end()) out.push_back(home);
  return out;
}

namespace {
std::vector<Text> listEntries(const Text& path, bool wantFolders, bool& ok) {
  std::vector<Text> out;
  std::error_code ec;
  fs::directory_iterator it(toUtf8(path), fs::directory_options::skip_permission_denied, ec);
  ok = !ec;
  if (ec) return out;
  for (const auto& entry : it) {
    std::error_code e2;
    bool isDir = entry.is_directory(e2);
    if (e2) continue;
    if (isDir != wantFolders) continue;
    if (!wantFolders && !entry.is_regular_file(e2)) continue;
    std::string name = entry.path().filename().string();
    if (wantFolders && !name.empty() && name[0] == '.') continue;
    out.push_back(fromUtf8(name));
  }
  std::sort(out.begin(), out.end());
  return out;
}
}  // namespace

std::vector<Text> RealFileSystem::folders(const Text& path, bool& ok) { return listEntries(path, true, ok); }
std::vector<Text> RealFileSystem::files(const Text& path, bool& ok) { return listEntries(path, false, ok); }

}  // namespace orv

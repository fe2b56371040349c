#include "platform/RealFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>

#include "text/Base64.h"
#include "text/Lines.h"
#include "text/ShiftJis.h"

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

/// A file descriptor closed when it goes out of scope, also when a read runs out of memory.
struct OpenFile {
  int fd = -1;
  OpenFile() = default;
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() {
    if (fd >= 0) ::close(fd);
  }
};

bool entryExists(const std::string& native) {
  struct stat st {};
  return ::lstat(native.c_str(), &st) == 0;
}

bool isAscii(TextView name) {
  return std::all_of(name.begin(), name.end(), [](char16_t c) { return c < 0x80; });
}

std::string stemOf(const std::string& name) { return name.substr(0, name.rfind('.')); }

// The bytes of one name inside the folder `folder` (empty, or ending in a separator). A name that
// exists is found in UTF-8, in code page 932, or as any entry that reads as it (a code page 932
// character with two codes). A new file takes code page 932 when its neighbour of the same stem is
// in code page 932 (the document beside its text file from a Windows archive), else UTF-8.
std::string nativeName(const std::string& folder, TextView name, bool last) {
  std::string utf8 = toUtf8(name);
  if (isAscii(name) || entryExists(folder + utf8)) return utf8;
  EncodeResult cp932 = encodeCp932(name);
  if (cp932.ok && entryExists(folder + cp932.bytes)) return cp932.bytes;
  const std::string utf8Stem = stemOf(utf8) + ".";
  const std::string cp932Stem = cp932.ok ? stemOf(cp932.bytes) + "." : std::string();
  bool utf8Sibling = false, cp932Sibling = false;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? "." : folder, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (nameFromBytes(entry) == name) return entry;
    utf8Sibling = utf8Sibling || entry.rfind(utf8Stem, 0) == 0;
    cp932Sibling = cp932Sibling || (cp932.ok && entry.rfind(cp932Stem, 0) == 0);
  }
  return last && cp932Sibling && !utf8Sibling ? cp932.bytes : utf8;
}

}  // namespace

// Each name is found as nativeName finds it, inside the folder found so far.
std::string nativePath(const Text& path) {
  std::string whole = toUtf8(path);
  if (isAscii(path) || entryExists(whole)) return whole;
  std::string out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = path.find(u'/', start);
    const TextView name = TextView(path).substr(start, slash == Text::npos ? Text::npos : slash - start);
    out += nativeName(out, name, slash == Text::npos);
    if (slash == Text::npos) return out;
    out += '/';
    start = slash + 1;
  }
}

namespace {

// A path the system gave, read name by name as the file list shows names.
Text pathFromNative(const std::string& native) {
  Text out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = native.find('/', start);
    out += nameFromBytes(std::string_view(native).substr(
        start, slash == std::string::npos ? std::string::npos : slash - start));
    if (slash == std::string::npos) return out;
    out += u'/';
    start = slash + 1;
  }
}

// Opens a path for reading only when it is a regular file. Nothing else is even opened: a named pipe
// without a writer would hold the window for ever, and opening a device can act on it. The open
// itself does not block either, in case the entry changed in between.
int openRegularFile(const Text& path, FileError& error, struct stat& st) {
  const std::string native = nativePath(path);
  if (::stat(native.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    error = errorOf(FileError::Kind::NotRegular, path, {});
    return -1;
  }
  const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    const bool notFound = errno == ENOENT || errno == ENOTDIR;
    error = errorOf(notFound ? FileError::Kind::NotFound : FileError::Kind::Unreadable, path,
                    systemReason(errno));
    return -1;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    error = errorOf(FileError::Kind::NotRegular, path, {});
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

// Memory a load may use: what the kernel reports as available, else the free pages.
std::uint64_t availableMemory() {
  std::ifstream meminfo("/proc/meminfo");
  std::string key, unit;
  std::uint64_t kib = 0;
  while (meminfo >> key >> kib && std::getline(meminfo, unit))
    if (key == "MemAvailable:") return kib * 1024;
  const long pages = ::sysconf(_SC_AVPHYS_PAGES);
  const long pageSize = ::sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return std::numeric_limits<std::uint64_t>::max();
  return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

// A load holds the file's bytes and their UTF-16 text (two bytes a character) together, and putting
// CR LF after every line may copy the text once more: about four bytes of memory for each byte.
constexpr std::uint64_t kMemoryPerFileByte = 4;

bool tooLargeToLoad(const struct stat& st) {
  return static_cast<std::uint64_t>(st.st_size) > availableMemory() / kMemoryPerFileByte;
}

// The preview of a file choice reads at most this much looking for the end of the first line.
constexpr std::size_t kFirstLineLimit = std::size_t{1} << 20;

// Follows a symbolic link to the file it names, also when that file does not exist yet; a path that
// is no link comes back as it is. False (with ELOOP) for a chain of links that does not end.
bool followLinks(std::string& native, int& err) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(native.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(native.c_str(), target.data(), target.size());
    if (n <= 0) return true;
    target.resize(static_cast<std::size_t>(n));
    const std::size_t slash = native.rfind('/');
    native =
        target.front() == '/' || slash == std::string::npos ? target : native.substr(0, slash + 1) + target;
  }
  err = ELOOP;
  return false;
}

// Read-only: no write permission bit for anyone (a file marked read-only, as chmod 444 gives, which
// counts even for the administrator, who may write anything), or the running user may not write it.
bool isReadOnly(const std::string& native, const struct stat& st) {
  return (st.st_mode & 0222) == 0 ||
         (::faccessat(AT_FDCWD, native.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES);
}

}  // namespace

ReadResult RealTextFiles::readText(const Text& path) {
  ReadResult r;
  struct stat st {};
  OpenFile file;
  file.fd = openRegularFile(path, r.error, st);
  if (file.fd < 0) return r;
  if (tooLargeToLoad(st)) {
    r.error = errorOf(FileError::Kind::TooLarge, path, {});
    r.error.size = st.st_size;
    return r;
  }
  std::string bytes;
  if (st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buf[1 << 16];
  for (;;) {
    ssize_t n = ::read(file.fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      r.error = errorOf(FileError::Kind::Unreadable, path, systemReason(errno));
      return r;
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  r.emptyFile = bytes.empty();
  DecodeResult d = decodeText(bytes);
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
  struct stat st {};
  OpenFile file;
  file.fd = openRegularFile(path, r.error, st);
  if (file.fd < 0) return r;
  // A CR byte never occurs inside a two-byte code page 932 character, so the first line ends at
  // the first CR byte and nothing after it needs reading. A longer first line is cut at the limit:
  // the preview only counts its quotes.
  std::string bytes;
  char buf[1 << 16];
  bool sawCr = false, atEnd = false;
  while (!sawCr && !atEnd && bytes.size() < kFirstLineLimit) {
    ssize_t n = ::read(file.fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      r.error = errorOf(FileError::Kind::Unreadable, path, systemReason(errno));
      return r;
    }
    atEnd = n == 0;
    const char* cr = static_cast<const char*>(std::memchr(buf, '\r', static_cast<std::size_t>(n)));
    bytes.append(buf, cr ? static_cast<std::size_t>(cr - buf) : static_cast<std::size_t>(n));
    sawCr = cr != nullptr;
  }
  if (bytes.size() > kFirstLineLimit || (!sawCr && !atEnd))
    bytes.resize(wholeCharacters(std::string_view(bytes).substr(0, kFirstLineLimit)));
  r.emptyFile = bytes.empty() && !sawCr;
  DecodeResult d = decodeText(bytes, atEnd);
  if (!d.ok) {
    r.error = notShiftJis(path, d);
    return r;
  }
  r.text = std::move(d.text);
  return r;
}

FileError RealTextFiles::writeParts(const Text& path, const std::vector<WritePart>& parts) {
  // A link is followed: its target is the file replaced, and the link stays a link.
  std::string target = nativePath(path);
  int err = 0;
  if (!followLinks(target, err)) return errorOf(FileError::Kind::Unwritable, path, systemReason(err));
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  // Keep the mode of a file being replaced; new files get the usual mode.
  mode_t mode = 0666;
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return errorOf(FileError::Kind::Unwritable, path, systemReason(EISDIR));
    if (isReadOnly(target, st)) return errorOf(FileError::Kind::ReadOnly, path, {});
    mode = st.st_mode & 07777;
  }
  // The temporary name is short, whatever the target's length: a name near the system's limit
  // leaves no room for a suffix.
  std::random_device rd;
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    tmp = folder + ".orv" + std::to_string(rd() % 1000000) + ".tmp";
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return errorOf(FileError::Kind::Unwritable, path, systemReason(errno));
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
  // A link counts as the file it names; a link to nothing counts as a file too, so that a save asks
  // before writing through it.
  const std::string native = nativePath(path);
  struct stat st {};
  if (::lstat(native.c_str(), &st) != 0) return false;
  if (S_ISLNK(st.st_mode) && ::stat(native.c_str(), &st) != 0) return true;
  return !S_ISDIR(st.st_mode);
}

bool RealFileSystem::readOnly(const Text& path) {
  std::string target = nativePath(path);
  int err = 0;
  struct stat st {};
  return followLinks(target, err) && ::stat(target.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
         isReadOnly(target, st);
}

Text RealFileSystem::programFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return currentDirectory();
  return pathFromNative(exe.parent_path().string());
}

const Folders& RealFileSystem::folders() {
  if (folders_) return *folders_;
  FolderFacts facts;
  facts.programFolder = programFolder();
  const auto has = [](const Text& folder) {
    return ::access(nativePath(joinPath(folder, u"search.mvo")).c_str(), R_OK) == 0;
  };
  facts.filesBeside = has(facts.programFolder);
  facts.filesInShare = has(shareFolderOf(facts.programFolder));
  facts.programFolderWritable = ::access(nativePath(facts.programFolder).c_str(), W_OK) == 0;
  facts.xdgDataHome = fromUtf8(std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "");
  facts.home = fromUtf8(std::getenv("HOME") ? std::getenv("HOME") : "");
  folders_ = decideFolders(facts);
  if (folders_->work != facts.programFolder) {
    std::error_code ec;
    fs::create_directories(nativePath(folders_->work), ec);
  }
  return *folders_;
}

Text RealFileSystem::currentDirectory() {
  std::error_code ec;
  return pathFromNative(fs::current_path(ec).string());
}

bool RealFileSystem::setCurrentDirectory(const Text& path) { return ::chdir(nativePath(path).c_str()) == 0; }

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
Result<std::vector<Text>> listEntries(const Text& path, bool wantFolders) {
  std::vector<Text> out;
  std::error_code ec;
  fs::directory_iterator it(nativePath(path), fs::directory_options::skip_permission_denied, ec);
  if (ec) return fail(fromUtf8(ec.message()));
  for (const auto& entry : it) {
    std::error_code e2;
    bool isDir = entry.is_directory(e2);
    if (e2) continue;
    if (isDir != wantFolders) continue;
    if (!wantFolders && !entry.is_regular_file(e2)) continue;
    std::string name = entry.path().filename().string();
    if (wantFolders && !name.empty() && name[0] == '.') continue;
    out.push_back(nameFromBytes(name));
  }
  std::sort(out.begin(), out.end());
  return out;
}
}  // namespace

Result<std::vector<Text>> RealFileSystem::folders(const Text& path) { return listEntries(path, true); }
Result<std::vector<Text>> RealFileSystem::files(const Text& path) { return listEntries(path, false); }

}  // namespace orv

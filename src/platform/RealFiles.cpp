#include "platform/RealFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>

#include "text/LargeBuffer.h"
#include "text/Lines.h"
#include "text/ListFiles.h"
#include "text/ShiftJis.h"

namespace orv {
namespace fs = std::filesystem;

namespace {

FileError errorOf(FileError::Kind kind, const Text& path, int errorNumber = 0) {
  FileError e;
  e.kind = kind;
  e.path = path;
  e.errorNumber = errorNumber;
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
  std::string utf8 = nameBytes(name);
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
  std::string whole = nameBytes(path);
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

Text pathFromBytes(std::string_view native) {
  Text out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = native.find('/', start);
    out +=
        nameFromBytes(native.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
    if (slash == std::string::npos) return out;
    out += u'/';
    start = slash + 1;
  }
}

namespace {

// Opens a path for reading only when it is a regular file. Nothing else is even opened: a named pipe
// without a writer would hold the window for ever, and opening a device can act on it. The open
// itself does not block either, in case the entry changed in between.
int openRegularFile(const Text& path, FileError& error, struct stat& st) {
  const std::string native = nativePath(path);
  if (::stat(native.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    error = errorOf(FileError::Kind::NotRegular, path);
    return -1;
  }
  const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    const bool notFound = errno == ENOENT || errno == ENOTDIR;
    error = errorOf(notFound ? FileError::Kind::NotFound : FileError::Kind::Unreadable, path, errno);
    return -1;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    error = errorOf(FileError::Kind::NotRegular, path);
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

namespace {

// Everything left to read from `fd`, refused as too large once it passes `limit` bytes.
bool readToEnd(int fd, const Text& path, std::uint64_t limit, std::string& bytes, FileError& error) {
  char buf[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errorOf(FileError::Kind::Unreadable, path, errno);
      return false;
    }
    if (n == 0) return true;
    bytes.append(buf, static_cast<std::size_t>(n));
    if (bytes.size() > limit) {
      error = errorOf(FileError::Kind::TooLarge, path);
      error.size = static_cast<std::int64_t>(bytes.size());
      return false;
    }
  }
}

// The whole file's bytes, unless it is no plain file, is too large for the memory free, or cannot be read.
bool readWhole(const Text& path, std::string& bytes, FileError& error) {
  struct stat st {};
  OpenFile file;
  file.fd = openRegularFile(path, error, st);
  if (file.fd < 0) return false;
  if (tooLargeToLoad(st)) {
    error = errorOf(FileError::Kind::TooLarge, path);
    error.size = st.st_size;
    return false;
  }
  if (st.st_size > 0) reserveLarge(bytes, static_cast<std::size_t>(st.st_size));
  return readToEnd(file.fd, path, std::numeric_limits<std::uint64_t>::max(), bytes, error);
}

// A workbook's archive is read whole, even for its first row: its directory is at its end. What a
// part inflates to is bounded as a text file's size is.
ReadResult readList(const Text& path, bool preview) {
  ReadResult r;
  std::string bytes;
  if (!readWhole(path, bytes, r.error)) return r;
  return listText(path, bytes, loadLimit(), preview);
}

}  // namespace

ReadResult RealTextFiles::readText(const Text& path) { return readList(path, false); }

std::uint64_t loadLimit() { return availableMemory() / kMemoryPerFileByte; }

FileError readStream(int fd, const Text& name, std::string& bytes) {
  FileError error;
  readToEnd(fd, name, loadLimit(), bytes, error);
  return error;
}

void reserveStandardStreams() {
  for (int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC); fd >= 0;
       fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC))
    if (fd > STDERR_FILENO) {
      ::close(fd);
      return;
    }
}

FileError writeStream(int fd, const Text& name, std::string_view bytes) {
  int err = 0;
  return writeAll(fd, bytes.data(), bytes.size(), err) ? FileError{}
                                                       : errorOf(FileError::Kind::Unwritable, name, err);
}

ReadResult RealTextFiles::readFirstLine(const Text& path) {
  if (listFormatOf(path) == ListFormat::Workbook) return readList(path, true);
  ReadResult r;
  struct stat st {};
  OpenFile file;
  file.fd = openRegularFile(path, r.error, st);
  if (file.fd < 0) return r;
  // A CR byte never occurs inside a two-byte code page 932 character, so the first line ends at
  // the first CR byte (in UTF-16 the first CR unit) and nothing after it needs reading. A longer first
  // line is cut at the limit: the preview only counts its quotes.
  std::string bytes;
  char buf[1 << 16];
  bool sawCr = false, atEnd = false;
  while (!sawCr && !atEnd && bytes.size() < kFirstLineLimit) {
    ssize_t n = ::read(file.fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      r.error = errorOf(FileError::Kind::Unreadable, path, errno);
      return r;
    }
    atEnd = n == 0;
    // Searched again from the start: a UTF-16 CR may straddle two reads, and its mark tells where
    // units begin.
    bytes.append(buf, static_cast<std::size_t>(n));
    const std::size_t cr = firstLineEnd(bytes);
    sawCr = cr != std::string::npos;
    if (sawCr) bytes.resize(cr);
  }
  if (bytes.size() > kFirstLineLimit || (!sawCr && !atEnd))
    bytes.resize(wholeCharacters(std::string_view(bytes).substr(0, kFirstLineLimit)));
  r = listText(path, bytes, 0, true, atEnd);
  r.emptyFile = bytes.empty() && !sawCr;
  return r;
}

namespace {

// The temporary file being written, removed when SIGINT or SIGTERM ends the process in the middle of a
// save: the signal's default action would leave it behind for good. Only a signal whose action is
// still the default is caught, so a program that ignores or handles it keeps its own way.
char gTemporary[PATH_MAX];
volatile std::sig_atomic_t gTemporaryOpen = 0;

extern "C" void removeTemporaryAndDie(int number) {
  if (gTemporaryOpen) ::unlink(gTemporary);
  ::signal(number, SIG_DFL);
  ::raise(number);
}

void catchEndingSignals() {
  static const bool caught = [] {
    for (const int number : {SIGINT, SIGTERM}) {
      struct sigaction was {};
      if (::sigaction(number, nullptr, &was) != 0 || was.sa_handler != SIG_DFL) continue;
      struct sigaction now {};
      now.sa_handler = removeTemporaryAndDie;
      sigemptyset(&now.sa_mask);
      ::sigaction(number, &now, nullptr);
    }
    return true;
  }();
  (void)caught;
}

/// Registers `path` as the temporary file to remove on an ending signal for as long as it lives.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& path) {
    if (path.size() >= sizeof gTemporary) return;
    std::memcpy(gTemporary, path.c_str(), path.size() + 1);
    gTemporaryOpen = 1;
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() { gTemporaryOpen = 0; }
};

// When this process started; a temporary file of ours not written since then belongs to a save that
// ended without cleaning up (killed, or the machine stopped).
const struct timespec kProcessStart = [] {
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now;
}();

// Temporary files are named for their target: ".orv" and eight hex digits of the target's name, then a
// random part. The name stays short whatever the target's length (a name near the system's limit
// leaves no room for a suffix), and a later save of the same target can find what an earlier one left.
std::string temporaryPrefix(std::string_view targetName) {
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (const char c : targetName) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08x", hash);
  return std::string(".orv") + hex + "-";
}

void removeStaleTemporaries(const std::string& folder, const std::string& prefix) {
  std::error_code ec;
  for (fs::directory_iterator it(folder.empty() ? "." : folder, ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(prefix, 0) != 0 || !name.ends_with(".tmp")) continue;
    struct stat st {};
    if (::lstat((folder + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    const bool older =
        st.st_mtim.tv_sec < kProcessStart.tv_sec ||
        (st.st_mtim.tv_sec == kProcessStart.tv_sec && st.st_mtim.tv_nsec < kProcessStart.tv_nsec);
    if (older) ::unlink((folder + name).c_str());
  }
}

// Renames the finished temporary file into place. Without leave to replace, the rename fails when the
// target exists by now; where the file system cannot rename so, a hard link (which never replaces) is
// made and the temporary name removed.
bool putInPlace(const std::string& tmp, const std::string& target, TextFiles::Replace replace, int& err) {
  if (replace == TextFiles::Replace::Allowed) {
    if (::rename(tmp.c_str(), target.c_str()) == 0) return true;
  } else {
    if (::renameat2(AT_FDCWD, tmp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno == EINVAL || errno == ENOSYS) {
      if (::link(tmp.c_str(), target.c_str()) == 0) {
        ::unlink(tmp.c_str());
        return true;
      }
    }
  }
  err = errno;
  return false;
}

bool writeWhole(int fd, std::string_view bytes, int& err) {
  if (!writeAll(fd, bytes.data(), bytes.size(), err)) return false;
  if (::fsync(fd) != 0) {
    err = errno;
    return false;
  }
  return true;
}

}  // namespace

FileError RealTextFiles::writeBytes(const Text& path, std::string_view bytes, Replace replace) {
  // A link is followed: its target is the file replaced, and the link stays a link.
  std::string target = nativePath(path);
  int err = 0;
  if (!followLinks(target, err)) return errorOf(FileError::Kind::Unwritable, path, err);
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  // Keep the mode of a file being replaced; new files get the usual mode. Only a regular file is
  // replaced: a rename over a device, a pipe or a socket would put a plain file in its place.
  mode_t mode = 0666;
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return errorOf(FileError::Kind::NotRegularTarget, path);
    if (isReadOnly(target, st)) return errorOf(FileError::Kind::ReadOnly, path);
    if (replace == Replace::Never) return errorOf(FileError::Kind::AppearedMeanwhile, path);
    mode = st.st_mode & 07777;
  }
  const std::string prefix = folder + temporaryPrefix(std::string_view(target).substr(folder.size()));
  removeStaleTemporaries(folder, prefix.substr(folder.size()));
  catchEndingSignals();
  std::random_device rd;
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    tmp = prefix + std::to_string(rd() % 1000000) + ".tmp";
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return errorOf(FileError::Kind::Unwritable, path, errno);
  const TemporaryFile registered(tmp);
  bool ok = writeWhole(fd, bytes, err);
  if (::close(fd) != 0 && ok) {
    err = errno;
    ok = false;
  }
  ok = ok && putInPlace(tmp, target, replace, err);
  if (!ok) {
    ::unlink(tmp.c_str());
    if (err == EEXIST) return errorOf(FileError::Kind::AppearedMeanwhile, path);
    return errorOf(FileError::Kind::Unwritable, path, err);
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

FileError::Kind RealFileSystem::writeRefusal(const Text& target, const Text& source) {
  std::string native = nativePath(target);
  int err = 0;
  struct stat st {};
  if (!followLinks(native, err) || ::stat(native.c_str(), &st) != 0) return FileError::Kind::None;
  if (!S_ISREG(st.st_mode)) return FileError::Kind::NotRegularTarget;
  struct stat was {};
  if (!source.empty() && ::stat(nativePath(source).c_str(), &was) == 0 && was.st_dev == st.st_dev &&
      was.st_ino == st.st_ino)
    return FileError::Kind::SameAsInput;
  return isReadOnly(native, st) ? FileError::Kind::ReadOnly : FileError::Kind::None;
}

Text RealFileSystem::programFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return currentDirectory();
  return pathFromBytes(exe.parent_path().string());
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
  return pathFromBytes(fs::current_path(ec).string());
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

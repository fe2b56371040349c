// The real disk, in a scratch folder: what an in-memory disk cannot show.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "app/Messages.h"
#include "common/TextTest.h"
#include "platform/RealFiles.h"
#include "text/ShiftJis.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

struct Scratch : ScratchFolder {
  Scratch() : ScratchFolder("orv-files") {}
  Text at(const std::string& name) const { return fromUtf8((path / name).string()); }
  std::string bytesOf(const std::string& name) const { return orv::bytesOf(path / name); }
  long entries(const std::string& sub) const { return std::distance(fs::directory_iterator(path / sub), {}); }
  RealTextFiles files;
  RealFileSystem disk;
};

// A save goes through a short temporary name beside the file, also beside a name near the limit, and
// leaves nothing else; a link is written through and stays a link, even a dangling one.
TEST(RealTextFiles, WritesThroughAShortTemporaryNameAndLinksAndRefusesReadOnlyFilesAndWhatIsNoFile) {
  Scratch dir;
  for (const std::string& name : {std::string("doc.xml"), std::string(251, 'n') + ".xml"}) {
    std::ofstream(dir.path / name) << "old content";
    EXPECT_FALSE(dir.files.writeBytes(dir.at(name), "new content")) << name.size();
    EXPECT_EQ(dir.bytesOf(name), "new content") << name.size();
  }
  fs::create_directories(dir.path / "folder.xml");
  EXPECT_EQ(dir.files.writeBytes(dir.at("missing-folder/doc.xml"), "x").errorNumber, ENOENT);
  std::ofstream(dir.path / "ro.xml") << "old";
  fs::permissions(dir.path / "ro.xml", fs::perms::owner_read);
  fs::create_directories(dir.path / "sub");
  std::ofstream(dir.path / "sub/real.xml") << "old";
  fs::create_symlink("sub/real.xml", dir.path / "link.xml");
  fs::create_symlink("sub/new.xml", dir.path / "dangling.xml");
  fs::create_symlink("ro.xml", dir.path / "ro-link.xml");
  for (const char* readOnly : {"ro.xml", "ro-link.xml"}) {
    EXPECT_EQ(dir.disk.writeRefusal(dir.at(readOnly), {}), FileError::Kind::ReadOnly) << readOnly;
    EXPECT_EQ(dir.files.writeBytes(dir.at(readOnly), "new").kind, FileError::Kind::ReadOnly) << readOnly;
  }
  EXPECT_EQ(dir.disk.writeRefusal(dir.at("link.xml"), {}), FileError::Kind::None);
  EXPECT_TRUE(dir.disk.fileExists(dir.at("dangling.xml"))) << "so that a save asks before writing through it";
  EXPECT_FALSE(dir.disk.fileExists(dir.at("sub")));
  for (const char* link : {"link.xml", "dangling.xml"}) {
    EXPECT_FALSE(dir.files.writeBytes(dir.at(link), "new")) << link;
    EXPECT_TRUE(fs::is_symlink(dir.path / link) && dir.bytesOf(link) == "new") << link;
  }
  EXPECT_TRUE(dir.bytesOf("ro.xml") == "old" && fs::is_directory(dir.path / "folder.xml"));
  EXPECT_EQ(dir.entries("."), 8) << "no temporary file is left";
  EXPECT_EQ(dir.entries("sub"), 2);
}

// What a save must never replace: anything but a regular file, the text being converted under another
// name, and a file made by someone else after the user was asked. Each stays as it was.
TEST(RealTextFiles, NeverReplacesWhatIsNoRegularFileNorTheTextItselfNorAFileMadeMeanwhile) {
  Scratch dir;
  std::ofstream(dir.path / "in.txt") << "\"a\"";
  for (const auto& [name, type] : {std::pair("fifo.xml", S_IFIFO), std::pair("sock.xml", S_IFSOCK)})
    ASSERT_EQ(::mknod((dir.path / name).c_str(), type | 0644, 0), 0) << name;
  fs::create_symlink("/dev/null", dir.path / "null.xml");
  fs::create_directory(dir.path / "dir.xml");
  fs::create_symlink("in.txt", dir.path / "in-link.xml");
  fs::create_hard_link(dir.path / "in.txt", dir.path / "in-hard.xml");
  const std::pair<const char*, FileError::Kind> rows[] = {
      {"fifo.xml", FileError::Kind::NotRegularTarget}, {"sock.xml", FileError::Kind::NotRegularTarget},
      {"null.xml", FileError::Kind::NotRegularTarget}, {"dir.xml", FileError::Kind::NotRegularTarget},
      {"in-link.xml", FileError::Kind::SameAsInput},   {"in-hard.xml", FileError::Kind::SameAsInput},
      {"in.txt", FileError::Kind::SameAsInput},        {"new.xml", FileError::Kind::None}};
  for (const auto& [name, kind] : rows) {
    EXPECT_EQ(dir.disk.writeRefusal(dir.at(name), dir.at("in.txt")), kind) << name;
    if (kind == FileError::Kind::NotRegularTarget) {
      EXPECT_EQ(dir.files.writeBytes(dir.at(name), "x").kind, kind) << name << ": refused by the write too";
    }
  }
  EXPECT_TRUE(fs::is_fifo(dir.path / "fifo.xml") && fs::is_socket(dir.path / "sock.xml") &&
              fs::is_symlink(dir.path / "null.xml") && fs::is_directory(dir.path / "dir.xml"));
  EXPECT_FALSE(dir.files.writeBytes(dir.at("new.xml"), "first", TextFiles::Replace::Never));
  const FileError second = dir.files.writeBytes(dir.at("new.xml"), "second", TextFiles::Replace::Never);
  EXPECT_TRUE(second.kind == FileError::Kind::AppearedMeanwhile && dir.bytesOf("new.xml") == "first");
  // A write that fails part-way (here past the file size the process may write) leaves nothing behind.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit was{}, small{};
  ::getrlimit(RLIMIT_FSIZE, &was);
  small = {4096, was.rlim_max};
  ::setrlimit(RLIMIT_FSIZE, &small);
  const FileError cut = dir.files.writeBytes(dir.at("new.xml"), std::string(100000, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &was);
  EXPECT_TRUE(cut.errorNumber == EFBIG && dir.bytesOf("new.xml") == "first");
  EXPECT_EQ(dir.entries("."), 8) << "no temporary file is left";
}

std::vector<fs::path> temporaries(const Scratch& dir) {
  std::vector<fs::path> out;
  for (const auto& entry : fs::directory_iterator(dir.path))
    if (entry.path().extension() == ".tmp") out.push_back(entry.path());
  return out;
}

// Starts a save of `bytes` in a child process and sends it `signal` once its temporary file holds data;
// the signal that ended the child.
int interruptedSave(const Scratch& dir, const std::string& name, const std::string& bytes, int signal) {
  const pid_t child = ::fork();
  if (child == 0) {
    RealTextFiles().writeBytes(dir.at(name), bytes);
    ::_exit(0);
  }
  for (std::error_code ec; temporaries(dir).empty() || fs::file_size(temporaries(dir)[0], ec) == 0;)
    ::usleep(100);
  ::kill(child, signal);
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

// Interrupted or killed during a save, the old document stays whole; SIGINT and SIGTERM also take the
// temporary file with them, and what SIGKILL leaves is cleared by the next save of that document once
// it is older than the saving process.
TEST(RealTextFiles, ASaveEndedBySignalLeavesTheOldDocumentAndNoTemporaryFileForGood) {
  Scratch dir;
  std::ofstream(dir.path / "doc.xml") << "old";
  const std::string large(32 << 20, 'x');
  for (const int signal : {SIGINT, SIGTERM, SIGKILL}) {
    EXPECT_EQ(interruptedSave(dir, "doc.xml", large, signal), signal);
    EXPECT_EQ(dir.bytesOf("doc.xml"), "old") << signal;
    EXPECT_EQ(temporaries(dir).size(), signal == SIGKILL ? 1u : 0u) << signal;
  }
  const fs::path stale = temporaries(dir).at(0);
  const fs::path fresh = fs::path(stale).replace_extension("9.tmp");
  fs::copy_file(stale, fresh);
  const timespec hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
  ::utimensat(AT_FDCWD, stale.c_str(), hourAgo, 0);
  EXPECT_FALSE(dir.files.writeBytes(dir.at("doc.xml"), "new"));
  EXPECT_EQ(temporaries(dir), std::vector<fs::path>{fresh}) << "the stale one cleared, a live one kept";
}

TEST(RealDisk, ReadsNamesInCodePage932ByTheirBytesAndOnlyRegularFilesNoMoreThanMemoryOrAPreviewNeeds) {
  Scratch dir;
  const std::string folder = encodeCp932(u"資料").bytes;
  fs::create_directories(dir.path / folder);
  std::ofstream(dir.path / folder / encodeCp932(u"センタ.txt").bytes) << "\"a\"";
  std::ofstream(dir.path / folder / "東京.txt") << "\"b\"";
  const Text inside = dir.at("資料");
  EXPECT_EQ(dir.disk.folders(fromUtf8(dir.path.string())).value(), std::vector<Text>{u"資料"});
  EXPECT_EQ(dir.disk.files(inside).value(), (std::vector<Text>{u"センタ.txt", u"東京.txt"}));
  EXPECT_TRUE(dir.disk.fileExists(inside + u"/センタ.txt"));
  EXPECT_TEXT_EQ(dir.files.readFirstLine(inside + u"/センタ.txt").text, u"\"a\"");
  EXPECT_FALSE(dir.files.writeBytes(inside + u"/センタ.xml", "<x/>") ||
               dir.files.writeBytes(inside + u"/東京.xml", "<y/>"));
  EXPECT_EQ(dir.bytesOf(folder + "/" + encodeCp932(u"センタ.xml").bytes), "<x/>") << "beside its text file";
  EXPECT_EQ(dir.bytesOf(folder + "/東京.xml"), "<y/>");
  // Names that read in no encoding are told apart and lead back to their own bytes.
  fs::create_directory(dir.path / "odd");
  for (const std::string b : {"\xFE", "\xFF", "\x82"})
    std::ofstream(dir.path / "odd" / (b + ".txt")) << +static_cast<unsigned char>(b[0]);
  const std::vector<Text> odd = dir.disk.files(dir.at("odd")).value();
  ASSERT_EQ(odd.size(), 3u);
  for (const Text& name : odd) {
    const std::string b = nameBytes(name).substr(0, 1),
                      mark = std::to_string(static_cast<unsigned char>(b[0]));
    EXPECT_TEXT_EQ(dir.files.readFirstLine(dir.at("odd") + u"/" + name).text, fromUtf8(mark));
    EXPECT_EQ(std::stoi(toUtf8(shownName(name)).substr(2, 2), nullptr, 16), std::stoi(mark))
        << "shown as \\xFE";
    EXPECT_FALSE(dir.files.writeBytes(dir.at("odd") + u"/" + name.substr(0, 1) + u".xml", mark));
    EXPECT_EQ(dir.bytesOf("odd/" + b + ".xml"), mark);
  }
  const fs::path was = fs::current_path();
  EXPECT_TRUE(dir.disk.setCurrentDirectory(inside));
  EXPECT_TEXT_EQ(dir.disk.currentDirectory(), inside);
  fs::current_path(was);

  ASSERT_EQ(::mkfifo((dir.path / "pipe.txt").c_str(), 0644), 0);
  fs::create_directories(dir.path / "folder.txt");
  for (const Text& path : {dir.at("pipe.txt"), dir.at("folder.txt"), Text(u"/dev/null")})
    EXPECT_TRUE(dir.files.readText(path).error.kind == FileError::Kind::NotRegular &&
                dir.files.readFirstLine(path).error.kind == FileError::Kind::NotRegular)
        << toUtf8(path);
  std::ofstream(dir.path / "a.txt", std::ios::binary) << encodeCp932(u"\"住所\"\n,\"x\"\r\n\"second\"").bytes;
  EXPECT_TEXT_EQ(dir.files.readFirstLine(dir.at("a.txt")).text, u"\"住所\"\n,\"x\"");
  std::ofstream(dir.path / "utf16.txt", std::ios::binary)
      << std::string("\xff\xfe\x0d\x30\r\0x", 7);  // 」: 0D 30
  const ReadResult utf16 = dir.files.readFirstLine(dir.at("utf16.txt"));
  EXPECT_TRUE(utf16.text == u"」" && utf16.encoding == Encoding::Utf16Le);
  std::ofstream(dir.path / "empty.txt");
  EXPECT_TRUE(dir.files.readFirstLine(dir.at("empty.txt")).emptyFile);
  EXPECT_EQ(dir.files.readText(dir.at("none.txt")).error.kind, FileError::Kind::NotFound);
  // A first line of two-byte characters after one quote: the 1 MiB bound falls inside a character.
  std::string line = "\"";
  for (int i = 0; i < (1 << 20); ++i) line += "\x82\xa0";
  std::ofstream(dir.path / "long.txt", std::ios::binary) << line << "\r\n";
  EXPECT_TRUE(dir.files.readFirstLine(dir.at("long.txt")).text == u"\"" + Text(((1 << 20) - 1) / 2, u'あ'));
  // A sparse file far larger than memory is refused by its size; its preview reads only a prefix.
  std::ofstream(dir.path / "huge.txt");
  std::error_code ec;
  fs::resize_file(dir.path / "huge.txt", std::uintmax_t{1} << 40, ec);
  if (ec) GTEST_SKIP() << "this file system holds no sparse file of 1 TiB";
  ReadResult huge = dir.files.readText(dir.at("huge.txt"));
  EXPECT_EQ(huge.error.kind, FileError::Kind::TooLarge);
  EXPECT_TRUE(contains(msg::fileProblem(huge.error), u"1099511627776 バイト"));
  EXPECT_TRUE(dir.files.readFirstLine(dir.at("huge.txt")).error.binary) << "the zero bytes at its start";
}

}  // namespace
}  // namespace orv

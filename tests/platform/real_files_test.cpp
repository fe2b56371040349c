// The real disk, in a scratch folder: what an in-memory disk cannot show.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "app/Messages.h"
#include "common/TextTest.h"
#include "platform/RealFiles.h"
#include "text/Base64.h"
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
  std::string document(200001, '\0');
  for (std::size_t i = 0; i < document.size(); ++i) document[i] = static_cast<char>(i * 7919 >> 3);
  ASSERT_FALSE(dir.files.writeParts(dir.at("page.htm"), {{"<x>", false}, {document, true}, {"</x>", false}}));
  EXPECT_EQ(dir.bytesOf("page.htm"), "<x>" + base64(document) + "</x>") << "slices join into one base64";
  fs::create_directories(dir.path / "folder.xml");
  for (const char* path : {"missing-folder/doc.xml", "folder.xml"}) {
    const FileError e = dir.files.writeBytes(dir.at(path), "x");
    EXPECT_TRUE(e.kind == FileError::Kind::Unwritable && !e.reason.empty()) << path;
  }
  std::ofstream(dir.path / "ro.xml") << "old";
  fs::permissions(dir.path / "ro.xml", fs::perms::owner_read);
  fs::create_directories(dir.path / "sub");
  std::ofstream(dir.path / "sub/real.xml") << "old";
  fs::create_symlink("sub/real.xml", dir.path / "link.xml");
  fs::create_symlink("sub/new.xml", dir.path / "dangling.xml");
  fs::create_symlink("ro.xml", dir.path / "ro-link.xml");
  for (const char* readOnly : {"ro.xml", "ro-link.xml"}) {
    EXPECT_TRUE(dir.disk.readOnly(dir.at(readOnly))) << readOnly;
    EXPECT_EQ(dir.files.writeBytes(dir.at(readOnly), "new").kind, FileError::Kind::ReadOnly) << readOnly;
  }
  EXPECT_FALSE(dir.disk.readOnly(dir.at("link.xml")));
  EXPECT_TRUE(dir.disk.fileExists(dir.at("dangling.xml"))) << "so that a save asks before writing through it";
  EXPECT_FALSE(dir.disk.fileExists(dir.at("sub")));
  for (const char* link : {"link.xml", "dangling.xml"}) {
    EXPECT_FALSE(dir.files.writeBytes(dir.at(link), "new")) << link;
    EXPECT_TRUE(fs::is_symlink(dir.path / link) && dir.bytesOf(link) == "new") << link;
  }
  EXPECT_TRUE(dir.bytesOf("ro.xml") == "old" && fs::is_directory(dir.path / "folder.xml"));
  EXPECT_EQ(dir.entries("."), 9) << "no temporary file is left";
  EXPECT_EQ(dir.entries("sub"), 2);
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

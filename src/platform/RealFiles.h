#pragma once
#include <optional>
#include <string_view>

#include "platform/Files.h"
#include "platform/Folders.h"

namespace orv {

/// Text files on the real disk.
class RealTextFiles : public TextFiles {
 public:
  ReadResult readText(const Text& path) override;
  ReadResult readFirstLine(const Text& path) override;
  using TextFiles::writeBytes;
  FileError writeBytes(const Text& path, std::string_view bytes, Replace replace) override;
};

/// The most memory a list's text may take: what a load may use of the memory free.
std::uint64_t loadLimit();
/// Everything readable from an open stream (standard input), bounded by loadLimit; `name` names it in
/// errors.
FileError readStream(int fd, const Text& name, std::string& bytes);
/// Standard input, output and error that the caller closed are opened read-only on /dev/null, so that no
/// file opened later takes their place (the document meant for standard output would land in it) and
/// writing to a closed standard output fails.
void reserveStandardStreams();
/// `bytes` written whole to an open stream (standard output); the system's reason when they cannot be.
FileError writeStream(int fd, const Text& name, std::string_view bytes);

/// The real file system; the program folder is taken from the running executable.
class RealFileSystem : public FileSystem {
 public:
  bool fileExists(const Text& path) override;
  FileError::Kind writeRefusal(const Text& target, const Text& source) override;
  Text programFolder() override;
  Text resourceFolder() override { return folders().resources; }
  /// Created on first use when it is the user's data folder.
  Text workFolder() override { return folders().work; }
  Text currentDirectory() override;
  bool setCurrentDirectory(const Text& path) override;
  std::vector<Text> drives() override;
  Result<std::vector<Text>> folders(const Text& path) override;
  Result<std::vector<Text>> files(const Text& path) override;

 private:
  const Folders& folders();
  std::optional<Folders> folders_;
};

/// The bytes the system knows `path` by: names are UTF-8, but those unpacked from Windows archives
/// are code page 932 bytes, and a new file beside such a file takes them too.
std::string nativePath(const Text& path);

/// A path the system gave (or a command line argument), read name by name as the file list shows names:
/// nativePath gives its bytes back.
Text pathFromBytes(std::string_view native);

}  // namespace orv

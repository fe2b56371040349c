#pragma once
// Files, folders and the opener, behind interfaces so the model runs without a real disk or desktop.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/Result.h"
#include "text/ShiftJis.h"
#include "text/Text.h"
#include "workbook/Workbook.h"

namespace orv {

/// What went wrong with a file, with enough detail for a message the user can act on.
struct FileError {
  enum class Kind {
    None,
    NotFound,
    Unreadable,
    NotShiftJis,
    Unencodable,
    Unwritable,
    NotRegular,         ///< a folder, named pipe or device where a file to read was expected
    TooLarge,           ///< more than the free memory can load
    ReadOnly,           ///< a file that a save may not replace
    NotRegularTarget,   ///< a save's target is a folder, named pipe, device or socket
    SameAsInput,        ///< a save's target is the text file being converted, by another name
    AppearedMeanwhile,  ///< a file of the target's name was made while the save was being written
    Workbook            ///< a workbook that cannot or must not be read (`workbook` says why)
  };
  Kind kind = Kind::None;
  Text path;
  int errorNumber = 0;            ///< the system's error number, for read and write failures
  std::string reason;             ///< a reason of no error number (the compressor's), else empty
  std::int64_t line = 0;          ///< NotShiftJis: 1-based line of the bad bytes
  std::string bytes;              ///< NotShiftJis: the bad bytes
  bool binary = false;            ///< NotShiftJis: the file is not text at all
  bool control = false;           ///< NotShiftJis: `bytes` is a control character XML cannot carry
  bool utf16WithoutMark = false;  ///< NotShiftJis: UTF-16 without its byte order mark
  bool mixed = false;             ///< NotShiftJis: UTF-8 before `line`, code page 932 from it on
  Encoding encoding = Encoding::CodePage932;  ///< NotShiftJis: what the file was read as
  std::int64_t size = 0;                      ///< TooLarge: the file's size in bytes
  char32_t character = 0;                     ///< Unencodable: the character code page 932 cannot hold
  bool replacing = false;  ///< Unwritable: a file was there and stays as it was (set by the caller)
  WorkbookText::Problem workbook = WorkbookText::Problem::None;  ///< Workbook: what is wrong
  std::string part, cell;  ///< Workbook: the part and the cell ("B7") the problem is in
  explicit operator bool() const { return kind != Kind::None; }
};

/// An error of `kind` about `path`, without further detail.
inline FileError fileError(FileError::Kind kind, const Text& path) {
  FileError e;
  e.kind = kind;
  e.path = path;
  return e;
}

/// The decoder's refusal of the file at `path`, with the line and the bytes it names.
inline FileError notShiftJis(const Text& path, const DecodeResult& d) {
  FileError e = fileError(FileError::Kind::NotShiftJis, path);
  e.line = d.errorLine;
  e.bytes = d.errorBytes;
  e.binary = d.binary;
  e.control = d.control;
  e.utf16WithoutMark = d.utf16WithoutMark;
  e.mixed = d.mixed;
  e.encoding = d.encoding;
  return e;
}

struct ReadResult {
  Text text;
  FileError error;
  bool emptyFile = false;                     ///< the file holds no byte, so it has no line
  Encoding encoding = Encoding::CodePage932;  ///< what the text was read from
  Text sheetName;                             ///< a workbook's: the sheet read
  int sheetCount = 0;                         ///< a workbook's: how many worksheets it has
};

/// The text of a list file's `bytes` as a load reads it: a workbook's first sheet as quoted text when
/// `path` names a workbook, else the bytes decoded (`atEnd`: they are the whole file). With `preview`,
/// only the first line (a workbook's first row, without its line end). No part of a workbook may
/// inflate to more than `limit` bytes, nor its text take more.
ReadResult listText(const Text& path, std::string_view bytes, std::uint64_t limit, bool preview,
                    bool atEnd = true);

/// Shift_JIS (code page 932) text files, read and written whole.
class TextFiles {
 public:
  virtual ~TextFiles() = default;
  /// The whole file decoded, exactly as it stands (line ends included).
  virtual ReadResult readText(const Text& path) = 0;
  /// The file's first line by the line rule (it ends at CR; an LF alone stays in it), read without
  /// reading the rest of the file. An empty file sets `emptyFile`.
  virtual ReadResult readFirstLine(const Text& path) = 0;
  /// Bytes already encoded, written through a temporary file beside the target, then renamed into
  /// place: a failure leaves what was there untouched. With `Replace::Never` the rename itself fails
  /// (AppearedMeanwhile) when a file of that name exists by then, so that a file made by someone else
  /// after the user was asked is never replaced.
  enum class Replace { Allowed, Never };
  virtual FileError writeBytes(const Text& path, std::string_view bytes, Replace replace) = 0;
  FileError writeBytes(const Text& path, std::string_view bytes) {
    return writeBytes(path, bytes, Replace::Allowed);
  }
};

/// Folders, drives and the program's place.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  /// True for a file, and for a link whose file does not exist yet (writing there creates it).
  virtual bool fileExists(const Text& path) = 0;
  /// Why a save may not write `target`: a read-only file (ReadOnly), a folder, pipe, device or socket
  /// (NotRegularTarget), or the very file `source` is, by a link or another name (SameAsInput); links
  /// are followed. None when it may.
  virtual FileError::Kind writeRefusal(const Text& target, const Text& source) = 0;
  /// The folder that holds the program file, without a trailing separator.
  virtual Text programFolder() = 0;
  /// Where the program's own files (page template, sample, how-to) are read.
  virtual Text resourceFolder() { return programFolder(); }
  /// Where the program writes files of its own (the search page, the sample's working copy): the
  /// program's folder, or the user's data folder when the program is installed.
  virtual Text workFolder() { return programFolder(); }
  virtual Text currentDirectory() = 0;
  virtual bool setCurrentDirectory(const Text& path) = 0;
  /// File system roots and mounted volumes.
  virtual std::vector<Text> drives() = 0;
  /// Names of the folders directly inside `path`, sorted; the system's reason when it cannot be listed.
  virtual Result<std::vector<Text>> folders(const Text& path) = 0;
  /// Names of the plain files directly inside `path`, sorted.
  virtual Result<std::vector<Text>> files(const Text& path) = 0;
};

/// Hands a path to the desktop, which opens it in the application associated with its type.
/// Returns at once; the outcome is not examined.
class Opener {
 public:
  virtual ~Opener() = default;
  virtual void open(const Text& path) = 0;
};

/// The window's mouse pointer: busy while a long action runs.
class Pointer {
 public:
  virtual ~Pointer() = default;
  virtual void setBusy(bool busy) = 0;
};

}  // namespace orv

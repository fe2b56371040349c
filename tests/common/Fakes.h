#pragma once
// Test doubles for the platform: scripted dialogs, an in-memory disk that fails on demand, a
// recording opener and pointer; a harness that builds a Form1 over them; whole-state snapshots; the
// steps a user takes in the window, for tests that drive whole actions from loading to saving.
#include <cerrno>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "text/Base64.h"
#include "text/ListFiles.h"
#include "text/ShiftJis.h"

namespace orv {

struct ShownBox {
  Text text;
  Buttons buttons;
  Text caption;
};

/// Answers from a script (OK when the script is empty) and records every box shown, every file the
/// desktop is asked to open and every change of the busy pointer.
class FakeDesktop : public Dialogs, public Opener, public Pointer {
 public:
  Answer show(const Text& text, Buttons buttons, const Text& caption) override {
    shown.push_back({text, buttons, caption});
    if (script.empty()) return Answer::Ok;
    const Answer a = script.front();
    script.pop_front();
    return a;
  }
  std::vector<Text> texts() const {  ///< the texts of the boxes shown, in order
    std::vector<Text> out;
    for (const auto& box : shown) out.push_back(box.text);
    return out;
  }
  void open(const Text& path) override { opened.push_back(path); }
  void setBusy(bool busy) override { changes.push_back(busy); }
  std::deque<Answer> script;
  std::vector<ShownBox> shown;
  std::vector<Text> opened;
  std::vector<bool> changes;
};

/// Files and folders in memory. Paths are absolute or taken from the current directory.
class FakeDisk : public TextFiles, public FileSystem {
 public:
  ReadResult readText(const Text& path) override { return read(path, false); }
  ReadResult readFirstLine(const Text& path) override { return read(path, true); }
  using TextFiles::writeBytes;
  FileError writeBytes(const Text& path, std::string_view bytes, Replace replace) override {
    const Text p = absolute(path), folder = p.substr(0, std::max<std::size_t>(p.rfind(u'/'), 1));
    FileError e = fileError(FileError::Kind::Unwritable, path);
    e.errorNumber = ENOSPC;
    if (failWrites.count(p) || !folderSet.count(folder)) return e;
    if (replace == Replace::Never && contents.count(p))
      return fileError(FileError::Kind::AppearedMeanwhile, path);
    contents[p] = bytes;
    ++writes;
    return {};
  }
  bool fileExists(const Text& path) override { return contents.count(absolute(path)) > 0; }
  FileError::Kind writeRefusal(const Text& target, const Text&) override {
    return readOnlyFiles.count(absolute(target)) ? FileError::Kind::ReadOnly : FileError::Kind::None;
  }
  Text programFolder() override { return u"/opt/orvessa"; }
  Text resourceFolder() override { return resources; }
  Text workFolder() override { return work; }
  Text currentDirectory() override { return cwd; }
  bool setCurrentDirectory(const Text& path) override {
    if (folderSet.count(path)) cwd = path;
    return folderSet.count(path) > 0;
  }
  std::vector<Text> drives() override { return driveList; }
  Result<std::vector<Text>> folders(const Text& path) override {
    return childrenOf(path, {folderSet.begin(), folderSet.end()});
  }
  Result<std::vector<Text>> files(const Text& path) override {
    std::vector<Text> paths;
    for (const auto& entry : contents) paths.push_back(entry.first);
    return childrenOf(path, paths);
  }

  /// Puts a file, its text encoded as code page 932.
  void put(const Text& path, const Text& text) { contents[absolute(path)] = encodeCp932(text).bytes; }
  void putBytes(const Text& path, const std::string& bytes) { contents[absolute(path)] = bytes; }
  /// The decoded text of a file; empty when missing.
  Text textOf(const Text& path) {
    return fileExists(path) ? decodeText(contents[absolute(path)]).text : Text();
  }
  Text absolute(const Text& path) const {
    return path.starts_with(u'/') ? path : (cwd == u"/" ? Text() : cwd) + u"/" + path;
  }

  std::map<Text, std::string> contents;
  std::set<Text> folderSet{u"/", u"/opt", u"/opt/orvessa", u"/mnt", u"/mnt/usb", u"/data"};
  /// Reads that fail with this kind; TooLarge throws std::bad_alloc, as memory running out would.
  std::map<Text, FileError::Kind> readErrors;
  std::set<Text> failWrites;
  std::set<Text> readOnlyFiles;
  std::vector<Text> driveList{u"/", u"/mnt/usb"};
  Text cwd = u"/";
  Text resources = u"/opt/orvessa", work = u"/opt/orvessa";  ///< apart for an installed program
  int writes = 0;
  std::uint64_t readLimit = std::uint64_t{256} << 20;  ///< what a workbook's part may inflate to

 private:
  ReadResult read(const Text& path, bool firstLine) {
    ReadResult failed;
    if (const auto e = readErrors.find(absolute(path)); e != readErrors.end()) {
      if (e->second == FileError::Kind::TooLarge) throw std::bad_alloc();
      failed.error = fileError(e->second, path);
      if (e->second == FileError::Kind::Unreadable) failed.error.errorNumber = EACCES;
      return failed;
    }
    const auto it = contents.find(absolute(path));
    failed.error = fileError(FileError::Kind::NotFound, path);
    if (it == contents.end()) return failed;
    const bool text = listFormatOf(path) != ListFormat::Workbook;
    const std::size_t end = firstLine && text ? firstLineEnd(it->second) : std::string::npos;
    ReadResult r = listText(path, std::string_view(it->second).substr(0, end), readLimit, firstLine,
                            end == std::string::npos);
    if (text) r.emptyFile = it->second.empty();
    return r;
  }
  /// The names directly inside the folder `path` among `paths`.
  Result<std::vector<Text>> childrenOf(const Text& path, const std::vector<Text>& paths) const {
    if (folderSet.count(path) == 0) return fail(u"no such folder");
    std::vector<Text> out;
    const Text prefix = path == u"/" ? Text(u"/") : path + u"/";
    for (const Text& c : paths)
      if (c.size() > prefix.size() && c.starts_with(prefix) && c.find(u'/', prefix.size()) == Text::npos)
        out.push_back(c.substr(prefix.size()));
    return out;
  }
};

/// A Form1 over fresh doubles, started up and loaded as the window does it.
struct Harness {
  Harness() : form(std::make_unique<Form1>(Platform{dialogs, disk, disk, opener, pointer})) {
    form->startUp();
    form->windowLoad();
  }
  FakeDesktop dialogs;
  FakeDesktop &opener = dialogs, &pointer = dialogs;
  FakeDisk disk;
  std::unique_ptr<Form1> form;
  Form1& f() { return *form; }
};

/// Every control and window-level value, for whole-state comparisons.
struct Snapshot {
  std::vector<ControlState> controls;
  std::vector<Text> combo;
  std::int64_t fieldCount, modeValue, sampleFlag, lineCount;
  Text headerTemplate, searchPageText, searchPagePath;
  bool headerArmed;
  /// One line per control and value, so that a failed comparison shows what differs.
  std::string str() const {
    std::ostringstream out;
    for (std::size_t i = 0; i < controls.size(); ++i)
      out << "control " << i << " " << toUtf8(controls[i].text) << " enabled " << controls[i].enabled
          << " visible " << controls[i].visible << " background " << controls[i].background << "\n";
    for (const Text& item : combo) out << "list item " << toUtf8(item) << "\n";
    out << "fields " << fieldCount << " lines " << lineCount << " mode " << modeValue << " sample "
        << sampleFlag << " header armed " << headerArmed << "\n"
        << toUtf8(headerTemplate) << "\n"
        << toUtf8(searchPagePath) << "\n"
        << toUtf8(searchPageText) << "\n";
    return out.str();
  }
};

inline Snapshot snapshot(const Form1& f) {
  Snapshot s{{},          f.comboItems(),   f.fieldCount,     f.modeValue,      f.sampleFlag,
             f.lineCount, f.headerTemplate, f.searchPageText, f.searchPagePath, f.headerArmed};
  for (int i = 0; i < kControlCount; ++i) {
    const Ctl c = static_cast<Ctl>(i);
    s.controls.push_back({f.text(c), f.enabled(c), f.visible(c), f.background(c)});
  }
  return s;
}

/// A small search page template with every placeholder, its last line without a line end.
inline const Text kTestTemplate =
    u"<table>\r\n[thead]\r\n[tbody]\r\n</table>\r\n<p>[xmlfile]</"
    u"p>\r\n<p><search_field>|[kennsaku_field]|[pagesize]</p>";
inline const Text kTemplatePath = u"/opt/orvessa/search.mvo";
inline const Text kPagePath = u"/opt/orvessa/XmlSearchTemp.htm";

inline void putTemplate(Harness& h, const Text& text = kTestTemplate) { h.disk.put(kTemplatePath, text); }

/// Types the path into `Text5` (and the field count into `Text1` when given) and presses OK.
inline void load(Harness& h, const Text& path, const Text& fieldCount = {}) {
  h.f().textEdited(kPathBox, path);
  if (!fieldCount.empty()) h.f().textEdited(kFieldCountBox, fieldCount);
  h.f().click(kLoadButton);
}

/// Types the parent name and the field names, box after box.
inline void name(Harness& h, const Text& parent, const std::vector<Text>& fields) {
  h.f().textEdited(kParentNameBox, parent);
  for (std::size_t i = 0; i < fields.size(); ++i)
    h.f().textEdited(fieldNameBox(static_cast<int>(i)), fields[i]);
}

/// Puts the file (and the test template, unless a template is there) on the disk, loads the file with
/// its fields counted, names the elements and converts.
inline void convertFile(Harness& h, const Text& path, const Text& content, const Text& parent,
                        const std::vector<Text>& fields) {
  if (!h.disk.fileExists(kTemplatePath)) putTemplate(h);
  h.disk.put(path, content);
  load(h, path);
  name(h, parent, fields);
  h.f().click(kConvertButton);
}

}  // namespace orv

#pragma once
// Test doubles for the platform: scripted dialogs, an in-memory disk that fails on demand, a
// recording opener and pointer; a harness that builds a Form1 over them; whole-state snapshots.
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/Form1.h"

namespace orv {

struct ShownBox {
  Text text;
  Buttons buttons;
  Text caption;
};

/// Answers from a script (OK when the script is empty) and records every box shown.
class FakeDialogs : public Dialogs {
 public:
  Answer show(const Text& text, Buttons buttons, const Text& caption) override;
  std::vector<Text> texts() const;  ///< the texts of the boxes shown, in order
  std::deque<Answer> script;
  std::vector<ShownBox> shown;
};

/// Files and folders in memory. Paths are absolute or taken from the current directory.
class FakeDisk : public TextFiles, public FileSystem {
 public:
  ReadResult readText(const Text& path) override;
  ReadResult readFirstLine(const Text& path) override;
  FileError writeParts(const Text& path, const std::vector<WritePart>& parts) override;
  bool fileExists(const Text& path) override { return contents.count(absolute(path)) > 0; }
  bool readOnly(const Text& path) override { return readOnlyFiles.count(absolute(path)) > 0; }
  Text programFolder() override { return u"/opt/orvessa"; }
  Text currentDirectory() override { return cwd; }
  bool setCurrentDirectory(const Text& path) override;
  std::vector<Text> drives() override { return driveList; }
  Result<std::vector<Text>> folders(const Text& path) override;
  Result<std::vector<Text>> files(const Text& path) override;

  /// Puts a file, its text encoded as code page 932.
  void put(const Text& path, const Text& text);
  void putBytes(const Text& path, const std::string& bytes) { contents[absolute(path)] = bytes; }
  /// The decoded text of a file; empty when missing.
  Text textOf(const Text& path);
  Text absolute(const Text& path) const;

  std::map<Text, std::string> contents;
  std::set<Text> folderSet{u"/", u"/opt", u"/opt/orvessa", u"/mnt", u"/mnt/usb", u"/data"};
  /// Reads that fail with this kind; TooLarge throws std::bad_alloc, as memory running out would.
  std::map<Text, FileError::Kind> readErrors;
  std::set<Text> failWrites;
  std::set<Text> readOnlyFiles;
  std::vector<Text> driveList{u"/", u"/mnt/usb"};
  Text cwd = u"/";
  int writes = 0;
};

class RecordingOpener : public Opener {
 public:
  void open(const Text& path) override { opened.push_back(path); }
  std::vector<Text> opened;
};

class RecordingPointer : public Pointer {
 public:
  void setBusy(bool busy) override { changes.push_back(busy); }
  std::vector<bool> changes;
};

/// A Form1 over fresh doubles, started up and loaded as the window does it.
struct Harness {
  Harness();
  FakeDialogs dialogs;
  FakeDisk disk;
  RecordingOpener opener;
  RecordingPointer pointer;
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
};
Snapshot snapshot(const Form1& form);
/// The names and fields that differ, one per line; empty when equal.
std::string differences(const Snapshot& a, const Snapshot& b);

}  // namespace orv

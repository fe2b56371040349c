#include "common/Fakes.h"

#include <sstream>

#include "text/Base64.h"
#include "text/ShiftJis.h"

namespace orv {
namespace {
FileError failure(FileError::Kind kind, const Text& path, const char* reason) {
  FileError e;
  e.kind = kind;
  e.path = path;
  e.reason = reason;
  return e;
}
}  // namespace

Answer FakeDialogs::show(const Text& text, Buttons buttons, const Text& caption) {
  shown.push_back({text, buttons, caption});
  if (script.empty()) return Answer::Ok;
  Answer a = script.front();
  script.pop_front();
  return a;
}

std::vector<Text> FakeDialogs::texts() const {
  std::vector<Text> out;
  for (const auto& box : shown) out.push_back(box.text);
  return out;
}

FakeDisk::FakeDisk() { folderSet = {u"/", u"/opt", u"/opt/orvessa", u"/mnt", u"/mnt/usb", u"/data"}; }

Text FakeDisk::absolute(const Text& path) const {
  if (!path.empty() && path[0] == u'/') return path;
  return cwd == u"/" ? u"/" + path : cwd + u"/" + path;
}

ReadResult FakeDisk::readText(const Text& path) {
  ReadResult r;
  Text p = absolute(path);
  auto it = contents.find(p);
  if (outOfMemory.count(p)) throw std::bad_alloc();
  if (auto e = readErrors.find(p); e != readErrors.end()) {
    r.error = failure(e->second, path, "");
    return r;
  }
  if (failReads.count(p)) {
    r.error = failure(FileError::Kind::Unreadable, path, "Permission denied");
    return r;
  }
  if (it == contents.end()) {
    r.error = failure(FileError::Kind::NotFound, path, "No such file or directory");
    return r;
  }
  r.emptyFile = it->second.empty();
  DecodeResult d = decodeCp932(it->second);
  if (!d.ok) {
    r.error.kind = FileError::Kind::NotShiftJis;
    r.error.path = path;
    r.error.line = d.errorLine;
    r.error.bytes = d.errorBytes;
    r.error.utf8 = d.utf8;
    r.error.binary = d.binary;
    r.error.control = d.control;
    return r;
  }
  r.text = std::move(d.text);
  return r;
}

ReadResult FakeDisk::readFirstLine(const Text& path) {
  ReadResult r;
  Text p = absolute(path);
  auto it = contents.find(p);
  if (failReads.count(p) || readErrors.count(p) || outOfMemory.count(p) || it == contents.end())
    return readText(path);
  auto cr = it->second.find('\r');
  std::string first = it->second.substr(0, cr);
  r.emptyFile = it->second.empty();
  DecodeResult d = decodeCp932(first, cr == std::string::npos);
  if (!d.ok) return readText(path);
  r.text = d.text;
  return r;
}

FileError FakeDisk::writeText(const Text& path, TextView text) {
  EncodeResult e = encodeCp932(text);
  if (!e.ok) {
    FileError err = failure(FileError::Kind::Unencodable, path, "");
    err.character = e.errorChar;
    return err;
  }
  return writeBytes(path, e.bytes);
}

FileError FakeDisk::writeParts(const Text& path, const std::vector<WritePart>& parts) {
  std::string bytes;
  for (const WritePart& part : parts) bytes += part.base64 ? base64(part.bytes) : std::string(part.bytes);
  Text p = absolute(path);
  auto slash = p.rfind(u'/');
  Text parent = slash == 0 ? Text(u"/") : p.substr(0, slash);
  if (failWrites.count(p) || !folderSet.count(parent))
    return failure(FileError::Kind::Unwritable, path, "No space left on device");
  contents[p] = bytes;
  ++writes;
  return {};
}

bool FakeDisk::fileExists(const Text& path) { return contents.count(absolute(path)) > 0; }

bool FakeDisk::setCurrentDirectory(const Text& path) {
  if (!folderSet.count(path)) return false;
  cwd = path;
  return true;
}

namespace {
std::vector<Text> childrenOf(const Text& path, const std::vector<Text>& candidates) {
  std::vector<Text> out;
  Text prefix = path == u"/" ? Text(u"/") : path + u"/";
  for (const Text& c : candidates) {
    if (c.size() > prefix.size() && c.compare(0, prefix.size(), prefix) == 0 &&
        c.find(u'/', prefix.size()) == Text::npos)
      out.push_back(c.substr(prefix.size()));
  }
  return out;
}
}  // namespace

Result<std::vector<Text>> FakeDisk::folders(const Text& path) {
  if (folderSet.count(path) == 0) return fail(u"no such folder");
  return childrenOf(path, std::vector<Text>(folderSet.begin(), folderSet.end()));
}

Result<std::vector<Text>> FakeDisk::files(const Text& path) {
  if (folderSet.count(path) == 0) return fail(u"no such folder");
  std::vector<Text> names;
  for (const auto& [p, bytes] : contents) names.push_back(p);
  return childrenOf(path, names);
}

void FakeDisk::put(const Text& path, const Text& text) {
  EncodeResult e = encodeCp932(text);
  contents[absolute(path)] = e.bytes;
}

Text FakeDisk::textOf(const Text& path) {
  auto it = contents.find(absolute(path));
  return it == contents.end() ? Text() : decodeCp932(it->second).text;
}

Harness::Harness() {
  form = std::make_unique<Form1>(Platform{dialogs, disk, disk, opener, pointer});
  form->startUp();
  form->windowLoad();
}

Snapshot snapshot(const Form1& form) {
  Snapshot s;
  for (int i = 0; i < kControlCount; ++i) {
    Ctl c = static_cast<Ctl>(i);
    s.controls.push_back({form.text(c), form.enabled(c), form.visible(c), form.background(c)});
  }
  s.combo = form.comboItems();
  s.fieldCount = form.fieldCount;
  s.modeValue = form.modeValue;
  s.sampleFlag = form.sampleFlag;
  s.lineCount = form.lineCount;
  s.headerTemplate = form.headerTemplate;
  s.searchPageText = form.searchPageText;
  s.searchPagePath = form.searchPagePath;
  s.headerArmed = form.headerArmed;
  return s;
}

std::string differences(const Snapshot& a, const Snapshot& b) {
  std::ostringstream out;
  for (std::size_t i = 0; i < a.controls.size(); ++i) {
    const auto& x = a.controls[i];
    const auto& y = b.controls[i];
    if (x.text != y.text) out << "control " << i << " text: " << toUtf8(x.text) << " / " << toUtf8(y.text) << "\n";
    if (x.enabled != y.enabled) out << "control " << i << " enabled: " << x.enabled << " / " << y.enabled << "\n";
    if (x.visible != y.visible) out << "control " << i << " visible: " << x.visible << " / " << y.visible << "\n";
    if (x.background != y.background) out << "control " << i << " background differs\n";
  }
  if (a.combo != b.combo) out << "combo items differ\n";
  if (a.fieldCount != b.fieldCount) out << "fieldCount " << a.fieldCount << " / " << b.fieldCount << "\n";
  if (a.modeValue != b.modeValue) out << "modeValue " << a.modeValue << " / " << b.modeValue << "\n";
  if (a.sampleFlag != b.sampleFlag) out << "sampleFlag differs\n";
  if (a.lineCount != b.lineCount) out << "lineCount " << a.lineCount << " / " << b.lineCount << "\n";
  if (a.headerTemplate != b.headerTemplate) out << "headerTemplate differs\n";
  if (a.searchPageText != b.searchPageText) out << "searchPageText differs\n";
  if (a.searchPagePath != b.searchPagePath) out << "searchPagePath differs\n";
  if (a.headerArmed != b.headerArmed) out << "headerArmed differs\n";
  return out.str();
}

}  // namespace orv

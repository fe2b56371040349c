#include "common/Fakes.h"

#include <sstream>

#include "text/Base64.h"
#include "text/ShiftJis.h"

namespace orv {

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

Text FakeDisk::absolute(const Text& path) const {
  if (!path.empty() && path[0] == u'/') return path;
  return cwd == u"/" ? u"/" + path : cwd + u"/" + path;
}

ReadResult FakeDisk::readText(const Text& path) {
  ReadResult r;
  const auto it = contents.find(absolute(path));
  if (const auto e = readErrors.find(absolute(path)); e != readErrors.end()) {
    if (e->second == FileError::Kind::TooLarge) throw std::bad_alloc();
    r.error = fileError(e->second, path);
    if (e->second == FileError::Kind::Unreadable) r.error.reason = "Permission denied";
  } else if (it == contents.end()) {
    r.error = fileError(FileError::Kind::NotFound, path);
  } else if (DecodeResult d = decodeText(it->second); !d.ok) {
    r.error = fileError(FileError::Kind::NotShiftJis, path);
    r.error.line = d.errorLine;
    r.error.bytes = d.errorBytes;
    r.error.binary = d.binary;
    r.error.control = d.control;
  } else {
    r.emptyFile = it->second.empty();
    r.text = std::move(d.text);
  }
  return r;
}

ReadResult FakeDisk::readFirstLine(const Text& path) {
  const auto it = contents.find(absolute(path));
  if (readErrors.count(absolute(path)) || it == contents.end()) return readText(path);
  const auto cr = it->second.find('\r');
  DecodeResult d = decodeText(it->second.substr(0, cr), cr == std::string::npos);
  if (!d.ok) return readText(path);
  ReadResult r;
  r.emptyFile = it->second.empty();
  r.text = d.text;
  return r;
}

FileError FakeDisk::writeParts(const Text& path, const std::vector<WritePart>& parts) {
  std::string bytes;
  for (const WritePart& part : parts) bytes += part.base64 ? base64(part.bytes) : std::string(part.bytes);
  const Text p = absolute(path);
  const auto slash = p.rfind(u'/');
  if (failWrites.count(p) || !folderSet.count(slash == 0 ? Text(u"/") : p.substr(0, slash))) {
    FileError e = fileError(FileError::Kind::Unwritable, path);
    e.reason = "No space left on device";
    return e;
  }
  contents[p] = bytes;
  ++writes;
  return {};
}

bool FakeDisk::setCurrentDirectory(const Text& path) {
  if (!folderSet.count(path)) return false;
  cwd = path;
  return true;
}

namespace {
std::vector<Text> childrenOf(const Text& path, const std::vector<Text>& candidates) {
  std::vector<Text> out;
  const Text prefix = path == u"/" ? Text(u"/") : path + u"/";
  for (const Text& c : candidates) {
    if (c.size() > prefix.size() && c.starts_with(prefix) && c.find(u'/', prefix.size()) == Text::npos)
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

void FakeDisk::put(const Text& path, const Text& text) { contents[absolute(path)] = encodeCp932(text).bytes; }

Text FakeDisk::textOf(const Text& path) {
  const auto it = contents.find(absolute(path));
  return it == contents.end() ? Text() : decodeText(it->second).text;
}

Harness::Harness() {
  form = std::make_unique<Form1>(Platform{dialogs, disk, disk, opener, pointer});
  form->startUp();
  form->windowLoad();
}

Snapshot snapshot(const Form1& form) {
  Snapshot s;
  for (int i = 0; i < kControlCount; ++i) {
    const Ctl c = static_cast<Ctl>(i);
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
    if (x.text != y.text)
      out << "control " << i << " text: " << toUtf8(x.text) << " / " << toUtf8(y.text) << "\n";
    if (x.enabled != y.enabled || x.visible != y.visible || x.background != y.background)
      out << "control " << i << " enabled, visible or background differs\n";
  }
  const auto differ = [&](bool d, const char* what) { out << (d ? what : ""); };
  differ(a.combo != b.combo, "combo items\n");
  differ(a.fieldCount != b.fieldCount || a.lineCount != b.lineCount, "field or line count\n");
  differ(a.modeValue != b.modeValue || a.sampleFlag != b.sampleFlag, "mode value or sample flag\n");
  differ(a.headerTemplate != b.headerTemplate || a.headerArmed != b.headerArmed, "header template\n");
  differ(a.searchPageText != b.searchPageText || a.searchPagePath != b.searchPagePath, "search page\n");
  return out.str();
}

}  // namespace orv

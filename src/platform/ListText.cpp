#include "platform/Files.h"
#include "text/ListFiles.h"

namespace orv {

ReadResult listText(const Text& path, std::string_view bytes, std::uint64_t limit, bool preview, bool atEnd) {
  ReadResult r;
  if (listFormatOf(path) != ListFormat::Workbook) {
    DecodeResult d = decodeText(bytes, atEnd);
    r.emptyFile = bytes.empty() && atEnd;
    if (!d.ok) {
      r.error = notShiftJis(path, d);
      return r;
    }
    r.text = std::move(d.text);
    r.encoding = d.encoding;
    return r;
  }
  WorkbookText w = readWorkbook(bytes, limit, preview ? 1 : -1);
  if (!w.ok()) {
    r.error = fileError(FileError::Kind::Workbook, path);
    r.error.workbook = w.problem;
    r.error.part = std::move(w.part);
    r.error.cell = std::move(w.cell);
    r.error.reason = std::move(w.reason);
    r.error.character = w.character;
    return r;
  }
  r.text = std::move(w.text);
  if (preview && r.text.ends_with(kCrLf)) r.text.resize(r.text.size() - kCrLf.size());
  r.emptyFile = r.text.empty();
  r.encoding = Encoding::Utf8;
  r.sheetName = std::move(w.sheetName);
  r.sheetCount = w.sheetCount;
  return r;
}

}  // namespace orv

#include "workbook/Workbook.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>
#include <vector>

#include "workbook/Cells.h"
#include "workbook/Parts.h"

namespace orv {
namespace {

using workbook::NumberKind;
using workbook::PartStatus;
using workbook::XmlHandler;
using workbook::ZipArchive;

constexpr std::int64_t kLastRow = 1048576;
constexpr std::int64_t kLastColumn = 16384;

// A relationship's target, resolved from the folder of the part that names it: "worksheets/a.xml" from
// "xl/workbook.xml" is "xl/worksheets/a.xml"; "/xl/a.xml" is from the archive's root; ".." climbs.
std::string resolveTarget(std::string_view fromFolder, std::string_view target) {
  std::string path =
      target.starts_with('/') ? std::string(target.substr(1)) : std::string(fromFolder) + std::string(target);
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    const std::string name = path.substr(start, slash - start);
    if (name == "..") {
      if (!names.empty()) names.pop_back();
    } else if (!name.empty() && name != ".") {
      names.push_back(name);
    }
    start = slash + 1;
  }
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : "/") + n;
  return out;
}

std::string folderOf(std::string_view part) {
  const std::size_t slash = part.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(part.substr(0, slash + 1));
}

// The relationships of a part: its targets by id and by the last word of their type.
struct Relationships : XmlHandler {
  std::map<std::string, std::string, std::less<>> byId;
  std::map<std::string, std::string, std::less<>> byType;  ///< the first of each type
  std::string folder;
  void start(std::string_view local, const workbook::Attributes& a) override {
    if (local != "Relationship" || a.get("TargetMode") == "External") return;
    const std::string target = resolveTarget(folder, a.get("Target"));
    byId.emplace(std::string(a.get("Id")), target);
    const std::string_view type = a.get("Type");
    byType.emplace(std::string(type.substr(type.rfind('/') + 1)), target);
  }
};

// The sheets a workbook lists, in their order, and its date system.
struct SheetList : XmlHandler {
  struct Sheet {
    std::string name, id;
    bool visible;
  };
  std::vector<Sheet> sheets;
  bool from1904 = false;
  void start(std::string_view local, const workbook::Attributes& a) override {
    if (local == "sheet")
      sheets.push_back({std::string(a.get("name")), std::string(a.get("id")),
                        a.get("state").empty() || a.get("state") == "visible"});
    else if (local == "workbookPr")
      from1904 = a.get("date1904") == "1" || a.get("date1904") == "true";
  }
};

// Collects the text of `t` elements, leaving out phonetic runs (`rPh`): a rich text's runs are joined.
struct RunText {
  std::string utf8;
  int inT = 0, inPhonetic = 0;
  void start(std::string_view local) {
    if (local == "t") ++inT;
    if (local == "rPh") ++inPhonetic;
  }
  void end(std::string_view local) {
    if (local == "t" && inT > 0) --inT;
    if (local == "rPh" && inPhonetic > 0) --inPhonetic;
  }
  void text(std::string_view s) {
    if (inT > 0 && inPhonetic == 0) utf8 += s;
  }
};

// The workbook's strings, one after another in one text: a sheet of a million distinct values would
// otherwise hold a million small allocations.
struct SharedStrings : XmlHandler {
  Text all;
  std::vector<std::size_t> ends;  ///< where each string ends in `all`
  std::size_t size() const { return ends.size(); }
  TextView operator[](std::size_t i) const {
    const std::size_t start = i == 0 ? 0 : ends[i - 1];
    return TextView(all).substr(start, ends[i] - start);
  }
  RunText run;
  bool inItem = false;
  void start(std::string_view local, const workbook::Attributes&) override {
    if (local == "si") inItem = true, run.utf8.clear();
    run.start(local);
  }
  void end(std::string_view local) override {
    run.end(local);
    if (local == "si" && inItem) {
      all += workbook::unescapeString(run.utf8);
      ends.push_back(all.size());
      inItem = false;
    }
  }
  void text(std::string_view s) override {
    if (inItem) run.text(s);
  }
};

// The number format of each cell style, as the kind of value it shows.
struct Styles : XmlHandler {
  std::map<int, NumberKind> custom;
  std::vector<NumberKind> cellKinds;
  bool inCellFormats = false;
  static int number(std::string_view s) {
    int v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
  }
  void start(std::string_view local, const workbook::Attributes& a) override {
    if (local == "numFmt") {
      custom[number(a.get("numFmtId"))] = workbook::customFormatKind(a.get("formatCode"));
    } else if (local == "cellXfs") {
      inCellFormats = true;
    } else if (local == "xf" && inCellFormats) {
      const int id = number(a.get("numFmtId"));
      const auto it = custom.find(id);
      cellKinds.push_back(it != custom.end() ? it->second : workbook::builtInFormatKind(id));
    }
  }
  void end(std::string_view local) override {
    if (local == "cellXfs") inCellFormats = false;
  }
  void text(std::string_view) override {}
};

struct Range {
  std::int64_t firstRow, firstColumn, lastRow, lastColumn;
};

std::optional<Range> parseRange(std::string_view ref) {
  const std::size_t colon = ref.find(':');
  const auto a = workbook::parseReference(ref.substr(0, colon));
  const auto b = colon == std::string_view::npos ? a : workbook::parseReference(ref.substr(colon + 1));
  if (!a || !b || a->row < 1 || b->row < 1) return std::nullopt;
  return Range{std::min(a->row, b->row), std::min(a->column, b->column), std::max(a->row, b->row),
               std::max(a->column, b->column)};
}

// Where a problem stops the sheet's reading.
struct Failure {
  WorkbookText::Problem problem = WorkbookText::Problem::None;
  std::string cell, reason;
  char16_t character = 0;
};

// The rows of a worksheet, streamed into the quoted text as they are read.
class SheetReader : public XmlHandler {
 public:
  SheetReader(const SharedStrings& strings, const Styles& styles, bool from1904, std::uint64_t limit,
              std::int64_t maxRows, const std::vector<Range>& merges)
      : strings_(strings),
        styles_(styles),
        from1904_(from1904),
        limit_(limit),
        maxRows_(maxRows),
        merges_(merges) {}

  Text out;  ///< the rows read so far
  std::vector<Range> mergesFound;
  Failure failure;

  void start(std::string_view local, const workbook::Attributes& a) override {
    if (local == "row") {
      startRow(a.get("r"));
    } else if (local == "c" && inRow_) {
      startCell(a);
    } else if (inCell_ && (local == "v" || local == "is")) {
      inValue_ = local == "v";
      inInline_ = inInline_ || local == "is";
    } else if (inInline_) {
      run_.start(local);
    } else if (local == "mergeCell") {
      if (const auto r = parseRange(a.get("ref"));
          r && (r->lastRow > r->firstRow || r->lastColumn > r->firstColumn))
        mergesFound.push_back(*r);
    }
  }

  void end(std::string_view local) override {
    if (local == "v") {
      inValue_ = false;
    } else if (local == "is") {
      inInline_ = false;
    } else if (inInline_) {
      run_.end(local);
    } else if (local == "c" && inCell_) {
      endCell();
    } else if (local == "row" && inRow_) {
      endRow();
    }
  }

  void text(std::string_view s) override {
    if (inValue_)
      value_ += s;
    else if (inInline_)
      run_.text(s);
  }

 private:
  void fail(WorkbookText::Problem problem, std::string cell = {}, std::string reason = {}) {
    if (failure.problem != WorkbookText::Problem::None) return;
    failure.problem = problem;
    failure.cell = std::move(cell);
    failure.reason = std::move(reason);
    stop();
  }

  void startRow(std::string_view r) {
    std::int64_t row = row_ + 1;
    if (!r.empty()) {
      auto [p, ec] = std::from_chars(r.data(), r.data() + r.size(), row);
      if (ec != std::errc() || p != r.data() + r.size() || row < 1)
        return fail(WorkbookText::Problem::Broken, {}, "row number \"" + std::string(r) + "\"");
    }
    if (row > kLastRow) return fail(WorkbookText::Problem::BeyondGrid, workbook::referenceOf(0, row));
    row_ = row;
    column_ = -1;
    inRow_ = true;
    for (Text& v : values_) v.clear();
    used_ = 0;
  }

  void startCell(const workbook::Attributes& a) {
    std::int64_t column = column_ + 1;
    if (const std::string_view r = a.get("r"); !r.empty()) {
      const auto p = workbook::parseReference(r);
      if (!p) return fail(WorkbookText::Problem::Broken, {}, "cell reference \"" + std::string(r) + "\"");
      column = p->column;
    }
    if (column >= kLastColumn)
      return fail(WorkbookText::Problem::BeyondGrid, workbook::referenceOf(column, row_));
    column_ = column;
    type_.assign(a.get("t"));
    const std::string_view style = a.get("s");
    int s = 0;
    std::from_chars(style.data(), style.data() + style.size(), s);
    kind_ = s >= 0 && static_cast<std::size_t>(s) < styles_.cellKinds.size() ? styles_.cellKinds[s]
                                                                             : NumberKind::Plain;
    inCell_ = true;
    value_.clear();
    run_.utf8.clear();
  }

  void endCell() {
    inCell_ = false;
    if (covered(row_, column_)) return;
    const TextView value = cellValue();
    if (failure.problem != WorkbookText::Problem::None || value.empty()) return;
    const auto column = static_cast<std::size_t>(column_);
    if (values_.size() <= column) values_.resize(column + 1);
    Text& kept = values_[column];
    kept.clear();
    // A line break inside a cell stays in its value, as an LF: a CR would end the record.
    for (std::size_t i = 0; i < value.size(); ++i) {
      const char16_t c = value[i];
      if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF) {
        failure.character = c;
        return fail(WorkbookText::Problem::ControlCharacter, workbook::referenceOf(column_, row_));
      }
      if (c != u'\r')
        kept += c;
      else if (i + 1 >= value.size() || value[i + 1] != u'\n')
        kept += u'\n';
    }
    used_ = std::max(used_, column + 1);
  }

  // The cell's value as it shows, in `scratch_` unless it is a shared string.
  TextView cellValue() {
    if (type_ == "s") {
      std::size_t index = 0;
      auto [p, ec] = std::from_chars(value_.data(), value_.data() + value_.size(), index);
      if (ec != std::errc() || index >= strings_.size()) {
        fail(WorkbookText::Problem::Broken, workbook::referenceOf(column_, row_),
             "shared string \"" + value_ + "\"");
        return {};
      }
      return strings_[index];
    }
    scratch_ = shownValue();
    return scratch_;
  }

  Text shownValue() const {
    if (type_ == "inlineStr") return workbook::unescapeString(run_.utf8);
    if (type_ == "b") return value_.empty() ? Text() : value_ == "0" ? Text(u"FALSE") : Text(u"TRUE");
    if (type_ == "e" || type_ == "str") return workbook::unescapeString(value_);
    if (type_ == "d") return value_.empty() ? Text() : workbook::isoDate(value_, kind_);
    if (value_.empty()) return {};
    double number = 0;
    auto [p, ec] = std::from_chars(value_.data(), value_.data() + value_.size(), number);
    if (ec != std::errc() || p != value_.data() + value_.size()) return fromUtf8(value_);
    if (kind_ != NumberKind::Plain)
      if (Text date = workbook::serialDate(number, kind_, from1904_); !date.empty()) return date;
    return workbook::generalNumber(number);
  }

  // A cell inside a merged range other than its first takes no value.
  bool covered(std::int64_t row, std::int64_t column) const {
    for (const Range& m : merges_)
      if (row >= m.firstRow && row <= m.lastRow && column >= m.firstColumn && column <= m.lastColumn &&
          (row != m.firstRow || column != m.firstColumn))
        return true;
    return false;
  }

  void endRow() {
    inRow_ = false;
    if (used_ == 0) return;  // a row with no value is no record
    if (width_ == 0) width_ = used_;
    const std::size_t fields = std::max(used_, width_);
    for (std::size_t i = 0; i < fields; ++i) {
      if (i) out += u',';
      out += kQuote;
      if (i < used_) {
        for (char16_t c : values_[i]) {
          if (c == kQuote) out += kQuote;
          out += c;
        }
      }
      out += kQuote;
    }
    out += kCrLf;
    if (out.size() * sizeof(char16_t) > limit_) return fail(WorkbookText::Problem::TooLarge);
    if (maxRows_ >= 0 && ++rows_ >= maxRows_) stop();
  }

  const SharedStrings& strings_;
  const Styles& styles_;
  bool from1904_;
  std::uint64_t limit_;
  std::int64_t maxRows_;
  const std::vector<Range>& merges_;

  std::int64_t row_ = 0, column_ = -1, rows_ = 0;
  bool inRow_ = false, inCell_ = false, inValue_ = false, inInline_ = false;
  std::string type_;  // copied: the attributes last only as long as the element's start
  NumberKind kind_ = NumberKind::Plain;
  std::string value_;
  RunText run_;
  std::vector<Text> values_;  ///< the row's values by column, their buffers kept from row to row
  Text scratch_;
  std::size_t used_ = 0, width_ = 0;
};

// An old binary workbook, or a password-protected one, is a compound file, not a zip: the protected
// one holds its encrypted package under these stream names.
bool isCompoundFile(std::string_view bytes) {
  return bytes.starts_with(std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
}

bool holdsUtf16Name(std::string_view bytes, std::u16string_view name) {
  std::string pattern;
  for (char16_t c : name) pattern += static_cast<char>(c), pattern += '\0';
  return bytes.find(pattern) != std::string_view::npos;
}

WorkbookText problem(WorkbookText::Problem p, std::string part = {}, std::string reason = {}) {
  WorkbookText w;
  w.problem = p;
  w.part = std::move(part);
  w.reason = std::move(reason);
  return w;
}

// The problem of a part that did not read, or None.
WorkbookText::Problem problemOf(PartStatus status) {
  switch (status) {
    case PartStatus::Ok:
    case PartStatus::Stopped:
      return WorkbookText::Problem::None;
    case PartStatus::TooLarge:
      return WorkbookText::Problem::TooLarge;
    case PartStatus::Encrypted:
      return WorkbookText::Problem::Protected;
    case PartStatus::Doctype:
      return WorkbookText::Problem::Doctype;
    case PartStatus::Missing:
    case PartStatus::Broken:
      break;
  }
  return WorkbookText::Problem::Broken;
}

}  // namespace

WorkbookText readWorkbook(std::string_view bytes, std::uint64_t limit, std::int64_t maxRows) {
  using Problem = WorkbookText::Problem;
  if (isCompoundFile(bytes))
    return problem(holdsUtf16Name(bytes, u"EncryptedPackage") || holdsUtf16Name(bytes, u"EncryptionInfo")
                       ? Problem::Protected
                       : Problem::OldFormat);
  const std::unique_ptr<ZipArchive> zip = ZipArchive::open(bytes);
  if (!zip) return problem(Problem::NotWorkbook);

  std::string error;
  // A part read whole into `handler`; false with `failed` set when it did not read.
  WorkbookText failed;
  auto read = [&](const std::string& part, XmlHandler& handler, bool optional) {
    const PartStatus status = workbook::parsePart(*zip, part, limit, handler, error);
    if (status == PartStatus::Missing && optional) return true;
    const Problem p = problemOf(status);
    if (p == Problem::None) return true;
    failed = problem(p, part, status == PartStatus::Missing ? "missing" : error);
    return false;
  };

  Relationships root;
  if (!read("_rels/.rels", root, true)) return failed;
  const auto office = root.byType.find("officeDocument");
  const std::string workbookPart = office != root.byType.end() ? office->second : "xl/workbook.xml";
  if (!zip->has(workbookPart)) return problem(Problem::NotWorkbook);

  SheetList list;
  Relationships parts;
  parts.folder = folderOf(workbookPart);
  const std::string relsPart = parts.folder + "_rels/" + workbookPart.substr(parts.folder.size()) + ".rels";
  if (!read(workbookPart, list, false) || !read(relsPart, parts, false)) return failed;

  // The first visible worksheet (a chart sheet has no rows), else the first worksheet.
  const SheetList::Sheet* chosen = nullptr;
  std::string sheetPart;
  int worksheets = 0;
  for (const SheetList::Sheet& sheet : list.sheets) {
    const auto target = parts.byId.find(sheet.id);
    if (target == parts.byId.end() || !zip->has(target->second) ||
        target->second.find("chartsheets/") != std::string::npos)
      continue;
    ++worksheets;
    if (!chosen || (!chosen->visible && sheet.visible)) {
      chosen = &sheet;
      sheetPart = target->second;
    }
  }
  if (!chosen) return problem(Problem::Broken, workbookPart, "no worksheet");

  SharedStrings strings;
  Styles styles;
  if (const auto s = parts.byType.find("sharedStrings");
      s != parts.byType.end() && !read(s->second, strings, true))
    return failed;
  if (const auto s = parts.byType.find("styles"); s != parts.byType.end() && !read(s->second, styles, true))
    return failed;

  // The sheet in one pass; its merged ranges come after its rows, so a sheet that has some is read once
  // more with them known.
  std::vector<Range> merges;
  for (;;) {
    SheetReader reader(strings, styles, list.from1904, limit, maxRows, merges);
    const PartStatus status = workbook::parsePart(*zip, sheetPart, limit, reader, error);
    if (reader.failure.problem != Problem::None) {
      WorkbookText w = problem(reader.failure.problem, sheetPart, reader.failure.reason);
      w.cell = reader.failure.cell;
      w.character = reader.failure.character;
      return w;
    }
    if (const Problem p = problemOf(status); p != Problem::None)
      return problem(p, sheetPart, status == PartStatus::Missing ? "missing" : error);
    if (merges.empty() && !reader.mergesFound.empty() && status == PartStatus::Ok) {
      merges = std::move(reader.mergesFound);
      continue;
    }
    WorkbookText w;
    w.text = std::move(reader.out);
    w.sheetName = fromUtf8(chosen->name);
    w.sheetCount = worksheets;
    return w;
  }
}

}  // namespace orv

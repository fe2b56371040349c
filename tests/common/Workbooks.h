#pragma once
// Small workbooks made in the tests: a zip of the parts given, written with libzip, and the parts a
// one-sheet workbook needs around its sheet's rows.
#include <zip.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace orv::test {

using Parts = std::map<std::string, std::string>;

/// The parts as a zip archive, in memory.
inline std::string zipOf(const Parts& parts) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* memory = zip_source_buffer_create(nullptr, 0, 0, &error);
  zip_t* zip = memory ? zip_open_from_source(memory, ZIP_TRUNCATE, &error) : nullptr;
  if (!zip) throw std::runtime_error("zip_open_from_source");
  zip_source_keep(memory);  // the archive's bytes stay readable after it is closed
  for (const auto& [name, body] : parts) {
    zip_source_t* source = zip_source_buffer(zip, body.data(), body.size(), 0);
    if (!source || zip_file_add(zip, name.c_str(), source, ZIP_FL_OVERWRITE) < 0)
      throw std::runtime_error("zip_file_add");
  }
  if (zip_close(zip) != 0) throw std::runtime_error("zip_close");
  std::string bytes;
  zip_stat_t st;
  if (zip_source_stat(memory, &st) == 0 && zip_source_open(memory) == 0) {
    bytes.resize(static_cast<std::size_t>(st.size));
    if (zip_source_read(memory, bytes.data(), st.size) != static_cast<zip_int64_t>(st.size)) bytes.clear();
    zip_source_close(memory);
  }
  zip_source_free(memory);
  zip_error_fini(&error);
  return bytes;
}

/// A workbook of the sheets given (name, its `sheetData` and what follows it), with shared strings and
/// styles when given; `hidden` sheets by index; `extra` parts added or replacing.
struct WorkbookParts {
  using Sheets = std::vector<std::pair<std::string, std::string>>;
  WorkbookParts() = default;
  /// One sheet: its name and what follows its `<sheetData>`.
  WorkbookParts(std::string name, std::string data) : sheets{{std::move(name), std::move(data)}} {}
  Sheets sheets;
  std::vector<std::string> sharedStrings;  ///< each an `si` element's inside
  std::string styles;                      ///< the inside of `styleSheet`
  std::vector<int> hidden;
  bool from1904 = false;
  Parts extra;

  std::string bytes() const {
    const std::string ns = R"( xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
    const std::string type = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    auto relation = [&](const std::string& id, const std::string& kind, const std::string& target) {
      return "<Relationship Id=\"" + id + "\" Type=\"" + type + kind + "\" Target=\"" + target + "\"/>";
    };
    Parts p;
    p["_rels/.rels"] =
        "<Relationships>" + relation("rId1", "officeDocument", "xl/workbook.xml") + "</Relationships>";
    std::string list, rels = relation("rIdS", "sharedStrings", "sharedStrings.xml") +
                             relation("rIdT", "styles", "/xl/styles.xml");
    for (std::size_t i = 0; i < sheets.size(); ++i) {
      const std::string n = std::to_string(i + 1);
      const bool isHidden = std::find(hidden.begin(), hidden.end(), static_cast<int>(i)) != hidden.end();
      list += "<sheet name=\"" + sheets[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"" +
              (isHidden ? " state=\"hidden\"" : "") + "/>";
      rels += relation("rId" + n, "worksheet", "worksheets/sheet" + n + ".xml");
      p["xl/worksheets/sheet" + n + ".xml"] =
          "<worksheet" + ns + "><sheetData>" + sheets[i].second + "</worksheet>";
    }
    p["xl/workbook.xml"] = "<workbook" + ns + " xmlns:r=\"" + type.substr(0, type.size() - 1) + "\">" +
                           (from1904 ? "<workbookPr date1904=\"1\"/>" : "") + "<sheets>" + list +
                           "</sheets></workbook>";
    p["xl/_rels/workbook.xml.rels"] = "<Relationships>" + rels + "</Relationships>";
    std::string si;
    for (const std::string& s : sharedStrings) si += "<si>" + s + "</si>";
    p["xl/sharedStrings.xml"] = "<sst" + ns + ">" + si + "</sst>";
    p["xl/styles.xml"] = "<styleSheet" + ns + ">" + styles + "</styleSheet>";
    for (const auto& [name, body] : extra) p[name] = body;
    return zipOf(p);
  }
};

/// One sheet of the rows given, nothing else.
inline std::string workbookOf(const std::string& rows) {
  return WorkbookParts("Sheet1", rows + "</sheetData>").bytes();
}

}  // namespace orv::test

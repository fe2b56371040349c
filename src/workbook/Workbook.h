#pragma once
// The first sheet of a spreadsheet workbook (.xlsx) as the tool's own quoted text: every value quoted,
// a double quote doubled, CR LF after each row, values as the spreadsheet shows them.
#include <cstdint>
#include <string>
#include <string_view>

#include "text/Text.h"

namespace orv {

struct WorkbookText {
  enum class Problem {
    None,
    NotWorkbook,       ///< neither a zip archive nor an old binary workbook
    Protected,         ///< encrypted with a password
    OldFormat,         ///< the binary format before .xlsx
    TooLarge,          ///< a part, or the text it makes, beyond the memory a load may use
    Doctype,           ///< a part declares a document type (entities are never expanded)
    BeyondGrid,        ///< a cell past 1,048,576 rows or 16,384 columns
    ControlCharacter,  ///< a value holds a control character XML cannot carry
    Broken             ///< a part missing or not well-formed
  };
  Problem problem = Problem::None;
  Text text;
  Text sheetName;
  int sheetCount = 0;
  std::string part;        ///< the part a problem was found in
  std::string cell;        ///< BeyondGrid, ControlCharacter: the cell ("B7")
  char16_t character = 0;  ///< ControlCharacter
  std::string reason;      ///< Broken: what is wrong
  bool ok() const { return problem == Problem::None; }
};

/// The first visible worksheet of the workbook in `bytes`. Rows with no value are left out; a row
/// shorter than the first row is filled with empty values up to its width; a merged range keeps its
/// value in its first cell only. No part may inflate to more than `limit` bytes, nor the text take more.
/// With `maxRows`, only that many rows are read (a preview).
WorkbookText readWorkbook(std::string_view bytes, std::uint64_t limit, std::int64_t maxRows = -1);

}  // namespace orv

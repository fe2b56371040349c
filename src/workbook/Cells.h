#pragma once
// A workbook cell's value as a spreadsheet shows it: numbers in the general format, dates and times
// by the kind of their number format, the escapes of the workbook's string type undone.
#include <cstdint>
#include <optional>
#include <string_view>

#include "text/Text.h"

namespace orv::workbook {

/// How a number format shows a cell's number.
enum class NumberKind { Plain, Date, Time, DateTime, Duration };

/// The kind of a built-in number format by its id: the dates and times of every locale's table (the
/// Japanese era formats among them), else Plain.
NumberKind builtInFormatKind(int id);
/// The kind of a custom format code such as `yyyy"年"m"月"d"日"` or `[h]:mm:ss`: read in its first
/// section, outside quoted text, escaped characters and brackets (colours, locales; `[h]`, `[m]`, `[s]`
/// are elapsed times); `m` is minutes beside hours or seconds, else a month.
NumberKind customFormatKind(std::string_view code);

/// A number in the general format: rounded to 15 significant digits, as a spreadsheet shows it, and
/// written as the shortest decimal that reads back as that double, without an exponent from 1e-6 up to
/// 1e21 ("12", "3.5", "1000000", "0.3" for 0.30000000000000004), else as "1.5E+21".
Text generalNumber(double value);
/// A serial day number (whole days since the workbook's epoch, the fraction the time of day) as the
/// kind shows it: "yyyy/mm/dd", "hh:mm:ss" or both with a space; a duration (`[h]:mm:ss`) counts its
/// hours past a day ("25:30:00"). The 1900 system counts the day
/// 1900/02/29 that never was, as the spreadsheets do. Empty for a value no date can show (negative,
/// past 9999/12/31).
Text serialDate(double serial, NumberKind kind, bool from1904);
/// An ISO 8601 date-time of a date cell ("2024-01-05T13:45:00Z") as the kind shows it.
Text isoDate(std::string_view iso, NumberKind kind);

/// The string type's escapes undone: `_x000D_` is the character U+000D, `_x005F_` an underscore.
Text unescapeString(std::string_view utf8);

/// A cell reference's column (0 for A) and row (1-based); nullopt for what is no reference.
struct CellPosition {
  std::int64_t column = 0;
  std::int64_t row = 0;  ///< 0 where the reference names a column only
};
std::optional<CellPosition> parseReference(std::string_view ref);
/// "B7": a column and a 1-based row as a reference.
std::string referenceOf(std::int64_t column, std::int64_t row);

}  // namespace orv::workbook

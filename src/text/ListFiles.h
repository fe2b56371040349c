#pragma once
// Which files the tool reads as lists, by their names.
#include "text/Text.h"

namespace orv {

enum class ListFormat { None, Text, Workbook };

/// What a name says the file holds: ".txt" and ".csv" are text, ".xlsx" a workbook, and ".xls" the old
/// binary workbook (read only to tell the user what it is); letter case ignored.
ListFormat listFormatOf(TextView name);

/// The length of the extension that makes `name` a list (".csv" 4, ".xlsx" 5), else 0.
std::size_t listExtensionLength(TextView name);

}  // namespace orv

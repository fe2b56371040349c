#pragma once
// A first record that names the columns, as spreadsheets export a list.
#include <vector>

#include "text/Text.h"

namespace orv {

/// The records looked at below a first record to tell whether it is a header.
inline constexpr std::size_t kHeaderSample = 50;

/// True when the first of `records` reads as the titles of the columns below it: every title is
/// non-empty and distinct, and in some column the title differs in kind from every value below it (the
/// title is text where the values are numbers, dates, postal codes or phone numbers; or the title is
/// usable as an XML name where no value below is). A list whose rows are all alike is no header.
bool looksLikeHeader(const std::vector<std::vector<Text>>& records);

}  // namespace orv

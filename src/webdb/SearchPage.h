#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Text.h"

namespace orv {
Text headerRow(const std::vector<Text>& names);
Text dataRow(const std::vector<Text>& names);
Text fillTableRows(TextView templateText, const std::vector<Text>& names);
Text fillSearchField(TextView page, TextView field, std::int64_t lineCount);
Text fillSavedDocument(TextView page, TextView xmlPath, std::string_view xmlBytes);
std::string base64(std::string_view bytes);
}  // namespace orv

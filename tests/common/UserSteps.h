#pragma once
// Steps a user takes in the window, for tests that drive whole actions from loading to saving.
#include <vector>

#include "common/Fakes.h"

namespace orv {

/// A small search page template with every placeholder, its last line without a line end.
inline const Text kTestTemplate =
    u"<table>\r\n[thead]\r\n[tbody]\r\n</table>\r\n<p>[xmlfile]</"
    u"p>\r\n<p><search_field>|[kennsaku_field]|[pagesize]</p>";
inline const Text kTemplatePath = u"/opt/orvessa/search.mvo";
inline const Text kPagePath = u"/opt/orvessa/XmlSearchTemp.htm";

inline void putTemplate(Harness& h, const Text& text = kTestTemplate) { h.disk.put(kTemplatePath, text); }

/// Types the path into `Text5` (and the field count into `Text1` when given) and presses OK.
inline void load(Harness& h, const Text& path, const Text& fieldCount = {}) {
  h.f().textEdited(kPathBox, path);
  if (!fieldCount.empty()) h.f().textEdited(kFieldCountBox, fieldCount);
  h.f().click(kLoadButton);
}

/// Types the parent name and the field names, box after box.
inline void name(Harness& h, const Text& parent, const std::vector<Text>& fields) {
  h.f().textEdited(kParentNameBox, parent);
  for (std::size_t i = 0; i < fields.size(); ++i)
    h.f().textEdited(fieldNameBox(static_cast<int>(i)), fields[i]);
}

/// Puts the file (and the test template, unless a template is there) on the disk, loads the file with
/// its fields counted, names the elements and converts.
inline void convertFile(Harness& h, const Text& path, const Text& content, const Text& parent,
                        const std::vector<Text>& fields) {
  if (!h.disk.fileExists(kTemplatePath)) putTemplate(h);
  h.disk.put(path, content);
  load(h, path);
  name(h, parent, fields);
  h.f().click(kConvertButton);
}

}  // namespace orv

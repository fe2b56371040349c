#include "convert/XmlName.h"

#include <cstddef>

#include "app/Messages.h"
#include "text/ShiftJis.h"

namespace orv {
namespace {

bool inRange(char32_t c, char32_t low, char32_t high) { return c >= low && c <= high; }

bool isNameStartChar(char32_t c) {
  return inRange(c, u'A', u'Z') || c == u'_' || inRange(c, u'a', u'z') || inRange(c, 0xC0, 0xD6) ||
         inRange(c, 0xD8, 0xF6) || inRange(c, 0xF8, 0x2FF) || inRange(c, 0x370, 0x37D) ||
         inRange(c, 0x37F, 0x1FFF) || inRange(c, 0x200C, 0x200D) || inRange(c, 0x2070, 0x218F) ||
         inRange(c, 0x2C00, 0x2FEF) || inRange(c, 0x3001, 0xD7FF) || inRange(c, 0xF900, 0xFDCF) ||
         inRange(c, 0xFDF0, 0xFFFD) || inRange(c, 0x10000, 0xEFFFF);
}

bool isNameChar(char32_t c) {
  return isNameStartChar(c) || c == u'-' || c == u'.' || inRange(c, u'0', u'9') || c == 0xB7 ||
         inRange(c, 0x300, 0x36F) || inRange(c, 0x203F, 0x2040);
}

}  // namespace

bool isXmlName(TextView name) {
  if (name.empty()) return false;
  bool first = true;
  for (std::size_t i = 0; i < name.size();) {
    const auto [c, units] = codePointAt(name, i);
    i += units;
    if (isSurrogate(c)) return false;  // half a pair is no character at all
    if (!(first ? isNameStartChar(c) : isNameChar(c))) return false;
    first = false;
  }
  return true;
}

Text xmlNameFrom(TextView title) {
  Text out;
  for (std::size_t i = 0; i < title.size();) {
    const auto [c, units] = codePointAt(title, i);
    if (out.empty() && !isNameStartChar(c) && isNameChar(c)) out += u'_';
    if (isSurrogate(c) || !isNameChar(c)) {
      out += u'_';
    } else {
      out.append(title.substr(i, units));
    }
    i += units;
  }
  return out.empty() ? Text(u"_") : out;
}

// A name a document in Shift_JIS cannot carry is as unusable as one XML does not allow; told with the
// character, so the user knows what to change.
Result<void> usableName(const Text& name, const Text& what) {
  if (!isXmlName(name)) return fail(msg::notAnXmlName(name, what));
  EncodeResult e = encodeCp932(name);
  if (!e.ok) return fail(msg::nameNotWritable(name, what, e.errorChar));
  return {};
}

}  // namespace orv

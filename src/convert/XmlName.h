#pragma once
// Element names that the document can carry.
#include "text/Result.h"
#include "text/Text.h"

namespace orv {

/// True when `name` is an XML 1.0 Name (a name-start character, then name characters, by the ranges of
/// the fifth edition), read as UTF-16 with surrogate pairs. The colon is refused: the document has no
/// namespaces, so a prefix would be meaningless. Japanese names such as "住所1" or "ﾌﾘｶﾞﾅ" pass.
bool isXmlName(TextView name);

/// Whether `name` can name an element of the document: an XML name that Shift_JIS can hold. The refusal
/// says which name it is (`what`: "親要素名", "要素1の名前") and, for a character, which one.
Result<void> usableName(const Text& name, const Text& what);

/// An element name made from a column's title: every character a name cannot hold becomes "_", and a
/// "_" goes in front of a title that cannot begin a name (a digit, "-", "."); an empty title gives "_".
Text xmlNameFrom(TextView title);

}  // namespace orv

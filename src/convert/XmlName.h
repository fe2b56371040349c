#pragma once
// Element names that the document can carry.
#include "text/Text.h"

namespace orv {

/// True when `name` is an XML 1.0 Name (a name-start character, then name characters, by the ranges of
/// the fifth edition), read as UTF-16 with surrogate pairs. The colon is refused: the document has no
/// namespaces, so a prefix would be meaningless. Japanese names such as "住所1" or "ﾌﾘｶﾞﾅ" pass.
bool isXmlName(TextView name);

/// An element name made from a column's title: every character a name cannot hold becomes "_", and a
/// "_" goes in front of a title that cannot begin a name (a digit, "-", "."); an empty title gives "_".
Text xmlNameFrom(TextView title);

}  // namespace orv

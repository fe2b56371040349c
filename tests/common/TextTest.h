#pragma once
// Readable failures for UTF-16 text: GoogleTest shows std::u16string as escapes otherwise.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "text/Text.h"

/// Compares two texts through UTF-8 so that a failure shows Japanese as it reads.
#define EXPECT_TEXT_EQ(a, b) EXPECT_EQ(::orv::toUtf8(a), ::orv::toUtf8(b))
#define ASSERT_TEXT_EQ(a, b) ASSERT_EQ(::orv::toUtf8(a), ::orv::toUtf8(b))

namespace orv {
/// UTF-16 from a UTF-8 literal, for test data written with u8 or plain literals.
inline Text T(std::string_view utf8) { return fromUtf8(utf8); }
}  // namespace orv

#pragma once
// Readable failures for UTF-16 text (GoogleTest shows std::u16string as escapes otherwise), and a real
// file's bytes and a scratch folder for the tests that write to disk.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "text/Text.h"

/// Compares two texts through UTF-8 so that a failure shows Japanese as it reads.
#define EXPECT_TEXT_EQ(a, b) EXPECT_EQ(::orv::toUtf8(a), ::orv::toUtf8(b))
#define ASSERT_TEXT_EQ(a, b) ASSERT_EQ(::orv::toUtf8(a), ::orv::toUtf8(b))

namespace orv {
/// UTF-16 from a UTF-8 literal, for test data written with u8 or plain literals.
inline Text T(std::string_view utf8) { return fromUtf8(utf8); }

/// The whole content of a file on disk; empty when it cannot be read.
inline std::string bytesOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

/// A fresh folder of its own under the system's temporary folder, removed with all it holds at the end.
struct ScratchFolder {
  explicit ScratchFolder(const std::string& name)
      : path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path); }
  std::filesystem::path path;
};
}  // namespace orv

// Assembles the search page template from its source tree and makes it pure ASCII, as the tool reads it.
//
// The markup (page.html) names the files that go into it: a line that is exactly
// "<!-- include a.js b.js -->" becomes those files, one after another. Every line ends in CR LF. From script
// files (.js) the module lines go: an "import" line and an "export { ... }" line are dropped and a leading
// "export " is cut, so the modules, written to run one by one under Node, run here as one script in a fixed
// order.
//
// Then every character beyond ASCII becomes a character reference (&#x30C7;) in the markup and a \u
// escape (\u30C7, a surrogate pair beyond U+FFFF) inside a script, where a reference would not be read.
// ASCII survives every code page the tool writes the page in.
//   ascii_page PAGE.html OUT.mvo
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>

namespace {

std::optional<std::string> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return text;
}

bool startsWith(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

/// The name a module's line declares at its top level ("const NAME", "function NAME", "class NAME"...),
/// or nothing.
std::string declaredName(const std::string& line) {
  for (const char* keyword : {"const ", "let ", "function ", "async function ", "class "}) {
    if (!startsWith(line, keyword)) continue;
    const std::size_t start = std::string(keyword).size();
    std::size_t end = start;
    while (end < line.size() &&
           (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_' || line[end] == '$'))
      ++end;
    return line.substr(start, end - start);
  }
  return {};
}

/// The lines of `text` onto `out`, each ended by CR LF as the tool's templates are (whatever the source
/// uses); from a script, its module lines taken out. The modules of one script block share one scope:
/// a name two of them declare (in `declared`, with the file that declared it) would stop the block
/// from running at all, so it fails the build instead.
bool appendLines(const std::string& text, const std::string& file,
                 std::map<std::string, std::string>* declared, std::string& out) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (declared && (startsWith(line, "import ") || startsWith(line, "export {"))) continue;
    if (declared && startsWith(line, "export ")) line = line.substr(7);
    if (const std::string name = declared ? declaredName(line) : std::string(); !name.empty()) {
      if (const auto [at, fresh] = declared->emplace(name, file); !fresh) {
        std::fprintf(stderr, "%s: %s is declared in %s too, in the same script block\n", file.c_str(),
                     name.c_str(), at->second.c_str());
        return false;
      }
    }
    out += line + "\r\n";
  }
  return true;
}

/// The markup with every include line replaced by its files; false (with a message) for a missing file.
bool assemble(const std::filesystem::path& page, std::string& out) {
  const auto markup = readFile(page);
  if (!markup) {
    std::fprintf(stderr, "%s: cannot read\n", page.c_str());
    return false;
  }
  const std::string open = "<!-- include ";
  const std::string close = " -->";
  std::istringstream lines(*markup);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!startsWith(line, open) || line.size() < open.size() + close.size() ||
        line.compare(line.size() - close.size(), close.size(), close) != 0) {
      out += line + "\r\n";
      continue;
    }
    std::istringstream names(line.substr(open.size(), line.size() - open.size() - close.size()));
    std::map<std::string, std::string> declared;
    for (std::string name; names >> name;) {
      const auto path = page.parent_path() / name;
      const auto text = readFile(path);
      if (!text) {
        std::fprintf(stderr, "%s: cannot read %s\n", page.c_str(), path.c_str());
        return false;
      }
      if (!appendLines(*text, name, path.extension() == ".js" ? &declared : nullptr, out)) return false;
    }
  }
  // The markup's last line keeps its lack of a line end.
  if (!markup->empty() && markup->back() != '\n') out.resize(out.size() - 2);
  return true;
}

std::string hex(std::uint32_t value, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*X", digits, static_cast<unsigned>(value));
  return buf;
}

/// The code point of the UTF-8 sequence at `i`, moving `i` past it; false for bytes that are not UTF-8.
bool nextCodePoint(const std::string& s, std::size_t& i, std::uint32_t& cp) {
  const auto b = static_cast<unsigned char>(s[i]);
  const int length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
  if (length == 0 || i + static_cast<std::size_t>(length) > s.size()) return false;
  cp = length == 1 ? b : b & (0x7F >> length);
  for (int k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
    if ((c & 0xC0) != 0x80) return false;
    cp = cp << 6 | (c & 0x3F);
  }
  i += static_cast<std::size_t>(length);
  return true;
}

/// The page in ASCII; false (with the byte's place) for text that is not UTF-8.
bool toAscii(const std::string& source, std::string& out) {
  bool inScript = false;
  for (std::size_t i = 0; i < source.size();) {
    if (source.compare(i, 7, "<script") == 0) inScript = true;
    if (source.compare(i, 9, "</script>") == 0) inScript = false;
    std::uint32_t cp = 0;
    const std::size_t at = i;
    if (!nextCodePoint(source, i, cp)) {
      std::fprintf(stderr, "byte %zu of the assembled page is not UTF-8\n", at);
      return false;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (!inScript) {
      out += "&#x" + hex(cp, 4) + ";";
    } else if (cp < 0x10000) {
      out += "\\u" + hex(cp, 4);
    } else {
      out +=
          "\\u" + hex(0xD800 + ((cp - 0x10000) >> 10), 4) + "\\u" + hex(0xDC00 + ((cp - 0x10000) & 0x3FF), 4);
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: ascii_page PAGE.html OUT.mvo\n");
    return 2;
  }
  std::string page;
  std::string out;
  if (!assemble(argv[1], page) || !toAscii(page, out)) return 1;
  std::ofstream file(argv[2], std::ios::binary);
  file << out;
  return file.flush() ? 0 : 1;
}

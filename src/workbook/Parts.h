#pragma once
// The two readers a workbook needs: its zip archive, part by part and bounded, and each part's XML as
// a stream of elements by their local names (namespaces ignored, so that strict and transitional
// workbooks read alike). A document type declaration is refused, so no entity is ever expanded.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace orv::workbook {

class ZipArchive {
 public:
  /// Null when `bytes` (which must outlive the archive) are no zip archive.
  static std::unique_ptr<ZipArchive> open(std::string_view bytes);
  ~ZipArchive();
  enum class Read { Ok, Missing, TooLarge, Encrypted, Broken, Stopped };
  /// The part `name` (letter case ignored) handed to `sink` in pieces as it is inflated; TooLarge once
  /// more than `limit` bytes came out. `sink` returns false to stop (Stopped).
  Read read(const std::string& name, std::uint64_t limit, const std::function<bool(std::string_view)>& sink);
  bool has(const std::string& name) const;

 private:
  struct Impl;
  explicit ZipArchive(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

/// An element's attributes, looked up by local name.
class Attributes {
 public:
  explicit Attributes(const char** raw) : raw_(raw) {}
  std::string_view get(std::string_view local) const;

 private:
  const char** raw_;
};

class XmlStream;

class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  virtual void start(std::string_view local, const Attributes& attributes) = 0;
  virtual void end(std::string_view /*local*/) {}
  virtual void text(std::string_view /*utf8*/) {}

 protected:
  /// Ends the parse from inside a handler: the part reads as Stopped.
  void stop();

 private:
  friend class XmlStream;
  XmlStream* stream_ = nullptr;
};

class XmlStream {
 public:
  explicit XmlStream(XmlHandler& handler);
  ~XmlStream();
  enum class Status { Ok, Stopped, Doctype, Broken };
  /// Parses the next piece; `last` for the final one.
  Status feed(std::string_view piece, bool last);
  /// Ends the parse from inside a handler: the feed returns Stopped.
  void stop();
  /// Expat's words and the line, for a Broken part.
  std::string error() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

/// A whole part through `handler`: the archive's status, else the stream's as Ok, Stopped, Doctype or
/// Broken (with `error` set to what the stream says).
enum class PartStatus { Ok, Missing, TooLarge, Encrypted, Broken, Stopped, Doctype };
PartStatus parsePart(ZipArchive& zip, const std::string& name, std::uint64_t limit, XmlHandler& handler,
                     std::string& error);

}  // namespace orv::workbook

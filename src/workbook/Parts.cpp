#include "workbook/Parts.h"

#include <expat.h>
#include <zip.h>

namespace orv::workbook {

struct ZipArchive::Impl {
  zip_t* archive = nullptr;
  ~Impl() {
    if (archive) zip_discard(archive);
  }
};

ZipArchive::ZipArchive(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ZipArchive::~ZipArchive() = default;

std::unique_ptr<ZipArchive> ZipArchive::open(std::string_view bytes) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
  if (!source) return nullptr;
  auto impl = std::make_unique<Impl>();
  impl->archive = zip_open_from_source(source, ZIP_RDONLY, &error);
  zip_error_fini(&error);
  if (!impl->archive) {
    zip_source_free(source);
    return nullptr;
  }
  return std::unique_ptr<ZipArchive>(new ZipArchive(std::move(impl)));
}

bool ZipArchive::has(const std::string& name) const {
  return zip_name_locate(impl_->archive, name.c_str(), ZIP_FL_NOCASE) >= 0;
}

ZipArchive::Read ZipArchive::read(const std::string& name, std::uint64_t limit,
                                  const std::function<bool(std::string_view)>& sink) {
  const zip_int64_t index = zip_name_locate(impl_->archive, name.c_str(), ZIP_FL_NOCASE);
  if (index < 0) return Read::Missing;
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(impl_->archive, static_cast<zip_uint64_t>(index), 0, &st) == 0 &&
      (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
    return Read::Encrypted;
  // The size the archive states is checked first, and the bytes that really come out as they come.
  if ((st.valid & ZIP_STAT_SIZE) && st.size > limit) return Read::TooLarge;
  zip_file_t* file = zip_fopen_index(impl_->archive, static_cast<zip_uint64_t>(index), 0);
  if (!file) return Read::Broken;
  char buf[1 << 16];
  std::uint64_t total = 0;
  Read result = Read::Ok;
  for (;;) {
    const zip_int64_t n = zip_fread(file, buf, sizeof buf);
    if (n < 0) {
      result = Read::Broken;
      break;
    }
    if (n == 0) break;
    total += static_cast<std::uint64_t>(n);
    if (total > limit) {
      result = Read::TooLarge;
      break;
    }
    if (!sink(std::string_view(buf, static_cast<std::size_t>(n)))) {
      result = Read::Stopped;
      break;
    }
  }
  zip_fclose(file);
  return result;
}

namespace {
// A name without its prefix: "x:row" is "row". Namespaces are not resolved (that costs the parser half
// its speed); the local names of the parts read are the same in every namespace a workbook uses.
std::string_view localName(const char* name) {
  const std::string_view full(name);
  const std::size_t colon = full.rfind(':');
  return colon == std::string_view::npos ? full : full.substr(colon + 1);
}
}  // namespace

std::string_view Attributes::get(std::string_view local) const {
  for (const char** a = raw_; a && *a; a += 2)
    if (localName(*a) == local) return a[1];
  return {};
}

struct XmlStream::Impl {
  XML_Parser parser;
  XmlHandler& handler;
  bool doctype = false;
  bool stopped = false;
};

XmlStream::XmlStream(XmlHandler& handler) : impl_(new Impl{XML_ParserCreate(nullptr), handler}) {
  handler.stream_ = this;
  XML_Parser p = impl_->parser;
  XML_SetUserData(p, impl_.get());
  XML_SetElementHandler(
      p,
      [](void* data, const XML_Char* name, const XML_Char** attributes) {
        static_cast<Impl*>(data)->handler.start(localName(name), Attributes(attributes));
      },
      [](void* data, const XML_Char* name) { static_cast<Impl*>(data)->handler.end(localName(name)); });
  XML_SetCharacterDataHandler(p, [](void* data, const XML_Char* s, int len) {
    static_cast<Impl*>(data)->handler.text(std::string_view(s, static_cast<std::size_t>(len)));
  });
  // No part of a workbook has a document type; one would bring entities to expand or fetch.
  XML_SetStartDoctypeDeclHandler(p, [](void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    auto* impl = static_cast<Impl*>(data);
    impl->doctype = true;
    XML_StopParser(impl->parser, XML_FALSE);
  });
  XML_SetParamEntityParsing(p, XML_PARAM_ENTITY_PARSING_NEVER);
}

XmlStream::~XmlStream() {
  impl_->handler.stream_ = nullptr;
  XML_ParserFree(impl_->parser);
}

XmlStream::Status XmlStream::feed(std::string_view piece, bool last) {
  const XML_Status s = XML_Parse(impl_->parser, piece.data(), static_cast<int>(piece.size()), last);
  if (impl_->doctype) return Status::Doctype;
  if (impl_->stopped) return Status::Stopped;
  return s == XML_STATUS_OK ? Status::Ok : Status::Broken;
}

void XmlHandler::stop() {
  if (stream_) stream_->stop();
}

void XmlStream::stop() {
  impl_->stopped = true;
  XML_StopParser(impl_->parser, XML_FALSE);
}

std::string XmlStream::error() const {
  return std::string(XML_ErrorString(XML_GetErrorCode(impl_->parser))) + " (line " +
         std::to_string(XML_GetCurrentLineNumber(impl_->parser)) + ")";
}

PartStatus parsePart(ZipArchive& zip, const std::string& name, std::uint64_t limit, XmlHandler& handler,
                     std::string& error) {
  XmlStream xml(handler);
  XmlStream::Status parsed = XmlStream::Status::Ok;
  const ZipArchive::Read read = zip.read(name, limit, [&](std::string_view piece) {
    parsed = xml.feed(piece, false);
    return parsed == XmlStream::Status::Ok;
  });
  switch (read) {
    case ZipArchive::Read::Missing:
      return PartStatus::Missing;
    case ZipArchive::Read::TooLarge:
      return PartStatus::TooLarge;
    case ZipArchive::Read::Encrypted:
      return PartStatus::Encrypted;
    case ZipArchive::Read::Broken:
      error = "the archive's data is damaged";
      return PartStatus::Broken;
    case ZipArchive::Read::Ok:
      parsed = xml.feed({}, true);
      break;
    case ZipArchive::Read::Stopped:
      break;
  }
  switch (parsed) {
    case XmlStream::Status::Ok:
      return PartStatus::Ok;
    case XmlStream::Status::Stopped:
      return PartStatus::Stopped;
    case XmlStream::Status::Doctype:
      return PartStatus::Doctype;
    case XmlStream::Status::Broken:
      break;
  }
  error = xml.error();
  return PartStatus::Broken;
}

}  // namespace orv::workbook

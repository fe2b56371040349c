#include "text/ListFiles.h"

namespace orv {
namespace {

struct Extension {
  TextView name;
  ListFormat format;
};
constexpr Extension kExtensions[] = {{u".txt", ListFormat::Text},
                                     {u".csv", ListFormat::Text},
                                     {u".xlsx", ListFormat::Workbook},
                                     {u".xls", ListFormat::Workbook}};

const Extension* extensionOf(TextView name) {
  for (const Extension& e : kExtensions)
    if (endsWithIgnoringCase(name, e.name)) return &e;
  return nullptr;
}

}  // namespace

ListFormat listFormatOf(TextView name) {
  const Extension* e = extensionOf(name);
  return e ? e->format : ListFormat::None;
}

std::size_t listExtensionLength(TextView name) {
  const Extension* e = extensionOf(name);
  return e ? e->name.size() : 0;
}

}  // namespace orv

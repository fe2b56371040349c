// The command line: arguments parsed on a core application, which needs no display, then the
// conversion run through the window's model.
#include "cli/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <cstdio>
#include <string_view>

#include "app/Controls.h"
#include "app/Messages.h"
#include "cli/ConvertCommand.h"
#include "platform/HugePages.h"

namespace orv {
namespace {

// The POSIX order of the locale variables: the first one set decides.
bool japanese() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const QByteArray value = qgetenv(name);
    if (!value.isEmpty()) return value.startsWith("ja");
  }
  return false;
}

TextView said(const msg::Bilingual& text) { return japanese() ? text.ja : text.en; }

void print(std::FILE* to, TextView text) { std::fprintf(to, "%s", toUtf8(text).c_str()); }

ExitStatus usageError(const Text& why) {
  print(stderr, u"orvessa: " + why + u"\n" + Text(said(msg::kCliSeeHelp)) + u"\n");
  return kUsageError;
}

Text text(const QString& s) { return Text(reinterpret_cast<const char16_t*>(s.utf16()), s.size()); }

// A path as a user picks it in the file list: absolute, so the page finds the document wherever the
// page is written.
Text absolute(const QString& path) { return text(QDir::cleanPath(QDir::current().absoluteFilePath(path))); }

}  // namespace

int runCommandLine(int argc, char** argv) {
  if (std::string_view(argv[1]) == "convert") restartWithHugePages(argv);
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("orvessa"));
  QCommandLineParser parser;
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
  const QCommandLineOption parent(QStringLiteral("parent"), {}, QStringLiteral("NAME"));
  const QCommandLineOption fields(QStringLiteral("fields"), {}, QStringLiteral("A,B,C"));
  const QCommandLineOption webDb(QStringLiteral("web-db"));
  const QCommandLineOption searchField(QStringLiteral("search-field"), {}, QStringLiteral("NAME"));
  const QCommandLineOption output(QStringLiteral("output"), {}, QStringLiteral("FILE.xml"));
  const QCommandLineOption yes(QStringLiteral("yes"));
  parser.addOptions({help, version, parent, fields, webDb, searchField, output, yes});
  if (!parser.parse(QCoreApplication::arguments())) return usageError(text(parser.errorText()));
  if (parser.isSet(help)) {
    print(stdout, said(msg::kCliHelp));
    return 0;
  }
  if (parser.isSet(version)) {
    std::printf("Orvessa108 %s\n", ORV_VERSION);
    return 0;
  }

  const QStringList args = parser.positionalArguments();
  if (args.isEmpty() || args[0] != QStringLiteral("convert"))
    return usageError(Text(said(msg::kCliNoCommand)) + (args.isEmpty() ? Text() : text(args[0])));
  if (args.size() != 2) return usageError(Text(said(msg::kCliNoInput)));
  ConvertRequest request;
  request.input = absolute(args[1]);
  request.parent = text(parser.value(parent));
  for (const QString& name : parser.value(fields).split(QLatin1Char(',')))
    request.fields.push_back(text(name));
  if (!parser.isSet(parent) || !parser.isSet(fields) ||
      request.fields.size() > static_cast<std::size_t>(kNameBoxes))
    return usageError(Text(said(msg::kCliNames)));
  request.webDb = parser.isSet(webDb);
  request.searchField = text(parser.value(searchField));
  const bool known =
      std::find(request.fields.begin(), request.fields.end(), request.searchField) != request.fields.end();
  if (request.webDb != parser.isSet(searchField) || (request.webDb && !known))
    return usageError(Text(said(msg::kCliSearchField)));
  if (parser.isSet(output)) {
    if (!parser.value(output).endsWith(QStringLiteral(".xml")))
      return usageError(Text(said(msg::kCliOutput)));
    request.output = absolute(parser.value(output));
  }
  request.replace = parser.isSet(yes);
  return convertCommand(request);
}

}  // namespace orv

// The command line: arguments parsed on a core application, which needs no display, then the
// conversion run through the window's model.
#include "cli/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>

#include "app/Controls.h"
#include "app/Messages.h"
#include "cli/ConvertCommand.h"
#include "platform/RealFiles.h"
#include "text/ListFiles.h"

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

void print(std::FILE* to, TextView text) { std::fprintf(to, "%s", toUtf8(text).c_str()); }

ExitStatus usageError(const Text& why) {
  print(stderr, u"orvessa: " + why + u"\n" + msg::inLanguage(msg::kCliUsageLine) + u"\n" +
                    msg::inLanguage(msg::kCliSeeHelp) + u"\n");
  return kUsageError;
}

Text text(const QString& s) { return Text(reinterpret_cast<const char16_t*>(s.utf16()), s.size()); }
QString qtext(const Text& t) {
  return QString(reinterpret_cast<const QChar*>(t.data()), static_cast<qsizetype>(t.size()));
}

// The arguments by their own bytes: a file name that reads in no encoding still names its own file.
QStringList argumentsOf(int argc, char** argv) {
  QStringList out;
  for (int i = 0; i < argc; ++i) out << qtext(pathFromBytes(argv[i]));
  return out;
}

// A path as a user picks it in the file list: absolute, so the page finds the document wherever the
// page is written. A relative path needs the current folder's name; when the system cannot give it (a
// folder deeper than the system's limit), nothing, rather than a path into another folder.
std::optional<Text> absolute(const QString& path) {
  if (path.startsWith(QLatin1Char('/'))) return text(QDir::cleanPath(path));
  std::error_code ec;
  const std::filesystem::path current = std::filesystem::current_path(ec);
  if (ec) return std::nullopt;
  return text(QDir::cleanPath(qtext(pathFromBytes(current.string())) + QLatin1Char('/') + path));
}

ExitStatus noCurrentFolder(const QString& path) {
  print(stderr, u"orvessa: " + msg::inLanguage(msg::kCliNoCurrentFolder) + text(path) + u"\n");
  return kRefused;
}

}  // namespace

int runCommandLine(int argc, char** argv) {
  msg::setLanguage(japanese() ? msg::Language::Japanese : msg::Language::English);
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
  const QCommandLineOption header(QStringLiteral("header"));
  parser.addOptions({help, version, parent, fields, webDb, searchField, output, yes, header});
  if (!parser.parse(argumentsOf(argc, argv))) return usageError(text(parser.errorText()));
  if (parser.isSet(help)) {
    print(stdout, msg::inLanguage(msg::kCliHelp));
    return 0;
  }
  if (parser.isSet(version)) {
    std::printf("Orvessa108 %s\n", ORV_VERSION);
    return 0;
  }

  const QStringList args = parser.positionalArguments();
  if (args.isEmpty() || args[0] != QStringLiteral("convert"))
    return usageError(msg::inLanguage(msg::kCliNoCommand) + (args.isEmpty() ? Text() : text(args[0])));
  if (args.size() != 2) return usageError(msg::inLanguage(msg::kCliNoInput));
  if (listFormatOf(text(args[1])) == ListFormat::None)
    return usageError(msg::inLanguage(msg::kCliInputKind) + text(args[1]));
  ConvertRequest request;
  const std::optional<Text> input = absolute(args[1]);
  if (!input) return noCurrentFolder(args[1]);
  request.input = *input;
  request.parent = text(parser.value(parent));
  request.header = parser.isSet(header);
  if (parser.isSet(fields))
    for (const QString& name : parser.value(fields).split(QLatin1Char(',')))
      request.fields.push_back(text(name));
  if (!parser.isSet(parent) || (!parser.isSet(fields) && !request.header) ||
      request.fields.size() > static_cast<std::size_t>(kNameBoxes))
    return usageError(msg::inLanguage(msg::kCliNames));
  if (request.parent.empty() ||
      std::find(request.fields.begin(), request.fields.end(), Text()) != request.fields.end())
    return usageError(msg::inLanguage(msg::kCliEmptyName));
  request.webDb = parser.isSet(webDb);
  request.searchField = text(parser.value(searchField));
  const bool known =
      std::find(request.fields.begin(), request.fields.end(), request.searchField) != request.fields.end();
  // With names from the first record, the search field is checked against them once they are read.
  if (request.webDb != parser.isSet(searchField) || (request.webDb && !known && !request.fields.empty()))
    return usageError(msg::inLanguage(msg::kCliSearchField));
  if (parser.isSet(output)) {
    if (!parser.value(output).endsWith(QStringLiteral(".xml")))
      return usageError(msg::inLanguage(msg::kCliOutput));
    const std::optional<Text> out = absolute(parser.value(output));
    if (!out) return noCurrentFolder(parser.value(output));
    request.output = *out;
  }
  request.replace = parser.isSet(yes);
  return convertCommand(request);
}

}  // namespace orv

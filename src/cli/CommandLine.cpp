// The command line: arguments parsed on a core application, which needs no display, then the
// conversion run through the window's model for each input.
#include "cli/CommandLine.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string_view>

#include "app/Controls.h"
#include "app/Messages.h"
#include "cli/ConvertCommand.h"
#include "platform/RealFiles.h"
#include "text/ListFiles.h"

namespace orv {
namespace {

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

// Help and version on standard output, which a script may have closed or pointed at a full disk: a
// text that did not arrive is a failure, not a success.
int printOut(const Text& out) {
  const Text name = msg::inLanguage(msg::kCliStandardOutput);
  FileError err = writeStream(STDOUT_FILENO, name, toUtf8(out));
  if (!err) return kWritten;
  Text why = msg::fileProblem(err);
  std::replace(why.begin(), why.end(), u'\r', u'\n');
  print(stderr, u"orvessa: " + why + u"\n");
  return kRefused;
}

// The arguments by their own bytes: a file name that reads in no encoding still names its own file.
QStringList argumentsOf(int argc, char** argv) {
  QStringList out;
  for (int i = 0; i < argc; ++i) out << qtext(pathFromBytes(argv[i]));
  return out;
}

// The options as scripts give them: "--name value" or "--name=value", -h, -v and -q; "--" ends the
// options, and "-" alone is an input (standard input). An option given twice keeps its last value.
struct Arguments {
  std::map<QString, QString> values;
  std::set<QString> flags;
  QStringList positional;
  bool has(const char* name) const {
    const QString key = QString::fromLatin1(name);
    return values.count(key) || flags.count(key);
  }
  QString value(const char* name) const {
    const auto found = values.find(QString::fromLatin1(name));
    return found == values.end() ? QString() : found->second;
  }
};

std::optional<Text> parseArguments(const QStringList& args, Arguments& out) {
  static const QStringList valued = {QStringLiteral("parent"), QStringLiteral("fields"),
                                     QStringLiteral("search-field"), QStringLiteral("output"),
                                     QStringLiteral("page")};
  static const std::map<QString, QString> flags = {{QStringLiteral("web-db"), {}},
                                                   {QStringLiteral("yes"), {}},
                                                   {QStringLiteral("header"), {}},
                                                   {QStringLiteral("quiet"), QStringLiteral("q")},
                                                   {QStringLiteral("help"), QStringLiteral("h")},
                                                   {QStringLiteral("version"), QStringLiteral("v")}};
  bool options = true;
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (!options || arg == QStringLiteral("-") || !arg.startsWith(QLatin1Char('-'))) {
      out.positional << arg;
      continue;
    }
    if (arg == QStringLiteral("--")) {
      options = false;
      continue;
    }
    QString name = arg.mid(2);
    std::optional<QString> value;
    if (!arg.startsWith(QStringLiteral("--"))) {
      const auto shortName = std::find_if(flags.begin(), flags.end(), [&](const auto& flag) {
        return !flag.second.isEmpty() && arg == QLatin1Char('-') + flag.second;
      });
      if (shortName == flags.end()) return msg::inLanguage(msg::kCliUnknownOption) + text(arg);
      name = shortName->first;
    } else if (const qsizetype equals = name.indexOf(QLatin1Char('=')); equals >= 0) {
      value = name.mid(equals + 1);
      name.truncate(equals);
    }
    if (valued.contains(name)) {
      if (!value && i + 1 == args.size()) return msg::inLanguage(msg::kCliMissingValue) + text(arg);
      out.values[name] = value ? *value : args[++i];
    } else if (flags.count(name)) {
      if (value) return msg::inLanguage(msg::kCliNoValue) + u"--" + text(name);
      out.flags.insert(name);
    } else {
      return msg::inLanguage(msg::kCliUnknownOption) + text(arg);
    }
  }
  return std::nullopt;
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
  reserveStandardStreams();
  msg::setLanguage(msg::localeLanguage());
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("orvessa"));
  Arguments a;
  if (const std::optional<Text> wrong = parseArguments(argumentsOf(argc, argv), a)) return usageError(*wrong);
  if (a.has("help")) return printOut(msg::inLanguage(msg::kCliHelp));
  if (a.has("version")) return printOut(u"Orvessa108 " + fromUtf8(ORV_VERSION) + u"\n");

  const QStringList& args = a.positional;
  if (args.isEmpty() || args[0] != QStringLiteral("convert"))
    return usageError(msg::inLanguage(msg::kCliNoCommand) + (args.isEmpty() ? Text() : text(args[0])));
  const QStringList inputs = args.mid(1);
  if (inputs.isEmpty()) return usageError(msg::inLanguage(msg::kCliNoInput));
  for (const QString& input : inputs)
    if (input != QStringLiteral("-") && listFormatOf(text(input)) == ListFormat::None)
      return usageError(msg::inLanguage(msg::kCliInputKind) + text(input));
  if (inputs.size() > 1 && (a.has("output") || a.has("page")))
    return usageError(msg::inLanguage(msg::kCliOneInput));
  if (inputs.contains(QStringLiteral("-")) && !a.has("output"))
    return usageError(msg::inLanguage(msg::kCliStdinOutput));
  ConvertRequest request;
  request.parent = text(a.value("parent"));
  request.header = a.has("header");
  if (a.has("fields"))
    for (const QString& name : a.value("fields").split(QLatin1Char(',')))
      request.fields.push_back(text(name));
  if (!a.has("parent") || (!a.has("fields") && !request.header) ||
      request.fields.size() > static_cast<std::size_t>(kNameBoxes))
    return usageError(msg::inLanguage(msg::kCliNames));
  if (request.parent.empty() ||
      std::find(request.fields.begin(), request.fields.end(), Text()) != request.fields.end())
    return usageError(msg::inLanguage(msg::kCliEmptyName));
  request.webDb = a.has("web-db");
  request.searchField = text(a.value("search-field"));
  const bool known =
      std::find(request.fields.begin(), request.fields.end(), request.searchField) != request.fields.end();
  // With names from the first record, the search field is checked against them once they are read.
  if (request.webDb != a.has("search-field") || (request.webDb && !known && !request.fields.empty()))
    return usageError(msg::inLanguage(msg::kCliSearchField));
  const QString page = a.value("page");
  if (a.has("page") &&
      (!request.webDb || !(page.endsWith(QStringLiteral(".htm")) || page.endsWith(QStringLiteral(".html")))))
    return usageError(msg::inLanguage(msg::kCliPage));
  const QString output = a.value("output");
  if (a.has("output") && output != QStringLiteral("-") && !output.endsWith(QStringLiteral(".xml")))
    return usageError(msg::inLanguage(msg::kCliOutput));
  for (const auto& [path, into] : {std::pair{output, &request.output}, std::pair{page, &request.page}}) {
    if (path.isEmpty() || path == QStringLiteral("-")) continue;
    const std::optional<Text> full = absolute(path);
    if (!full) return noCurrentFolder(path);
    *into = *full;
  }
  if (output == QStringLiteral("-")) request.output = Text(kStandardStream);
  request.replace = a.has("yes");
  request.quiet = a.has("quiet");
  request.several = inputs.size() > 1;

  // Each input on its own, as if run alone; the status is the worst of them.
  ExitStatus worst = kWritten;
  for (const QString& input : inputs) {
    const std::optional<Text> path = input == QStringLiteral("-") ? Text(kStandardStream) : absolute(input);
    request.input = path ? *path : Text();
    worst = std::max(worst, path ? convertCommand(request) : noCurrentFolder(input));
  }
  return worst;
}

}  // namespace orv

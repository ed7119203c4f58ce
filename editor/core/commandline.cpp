#include "commandline.h"

#include "dialogproject.h"
#include "findingtext.h"
#include "language.h"
#include "optionsetting.h"
#include "productinfo.h"
#include "programbuilder.h"
#include "projectcheck.h"
#include "projectio.h"
#include "qttranslation.h"
#include "webpagebuilder.h"
#include "windowsprogrambuilder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMap>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace kq {

namespace {

// The options of Qt's window system, which QApplication takes away from the arguments: those
// that take a value, and those that stand alone.
const QStringList WindowSystemOptionsWithValue = {
    QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowicon"),
    QStringLiteral("qwindowtitle"),    QStringLiteral("session"),
    QStringLiteral("style"),           QStringLiteral("stylesheet"),
    QStringLiteral("display"),         QStringLiteral("geometry"),
    QStringLiteral("title"),           QStringLiteral("name"),
    QStringLiteral("visual"),          QStringLiteral("qmljsdebugger")};
const QStringList WindowSystemFlags = {QStringLiteral("reverse"), QStringLiteral("nograb"),
                                       QStringLiteral("dograb"), QStringLiteral("widgetcount"),
                                       QStringLiteral("testability")};

// The command line's options. Their descriptions are only read by the help, so parsing, which
// runs before the language is known, gives none.
struct Options
{
    using Describe = std::function<QString(TextId)>;

    explicit Options(const Describe &describe)
        : noSplash(QStringLiteral("no-splash"), describe(TextId::HelpNoSplash)),
          check(QStringLiteral("check"), describe(TextId::HelpCheck), QStringLiteral("FILE")),
          build(QStringLiteral("build"), describe(TextId::HelpBuild), QStringLiteral("FILE")),
          output({QStringLiteral("o"), QStringLiteral("output")}, describe(TextId::HelpOutput),
                 QStringLiteral("PROGRAM")),
          quiet({QStringLiteral("q"), QStringLiteral("quiet")}, describe(TextId::HelpQuiet)),
          force(QStringLiteral("force"), describe(TextId::HelpForce)),
          portable(QStringLiteral("portable"), describe(TextId::HelpPortable)),
          archive(QStringLiteral("archive"), describe(TextId::HelpArchive)),
          web(QStringLiteral("web"), describe(TextId::HelpWeb)),
          windows(QStringLiteral("windows"), describe(TextId::HelpWindows)),
          file(describe(TextId::HelpFile))
    {
    }

    // Qt's own help and version options, then ours, and the file.
    void addTo(QCommandLineParser &parser)
    {
        help = parser.addHelpOption();
        version = parser.addVersionOption();
        parser.addOptions(
            {noSplash, check, build, output, quiet, force, portable, archive, web, windows});
        parser.addPositionalArgument(QStringLiteral("FILE"), file, QStringLiteral("[FILE]"));
    }

    // Replaced by Qt's own when they are added to a parser.
    QCommandLineOption help{QStringLiteral("help")};
    QCommandLineOption version{QStringLiteral("version")};
    QCommandLineOption noSplash;
    QCommandLineOption check;
    QCommandLineOption build;
    QCommandLineOption output;
    QCommandLineOption quiet;
    QCommandLineOption force;
    QCommandLineOption portable;
    QCommandLineOption archive;
    QCommandLineOption web;
    QCommandLineOption windows;
    // What the help says of the project file named without an option.
    QString file;
};

} // namespace

QString commandLineHelp()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(languageText(TextId::HelpDescription).arg(ProductTitle));
    Options options([](TextId id) { return languageText(id); });
    options.addTo(parser);
    return parser.helpText();
}

namespace {

CommandLine wrong(const QString &reason)
{
    CommandLine line;
    line.action = CommandLine::Action::Wrong;
    line.text = reason;
    return line;
}

CommandLine wrong(TextId reason, const QStringList &args = {})
{
    CommandLine line;
    line.action = CommandLine::Action::Wrong;
    line.reason = reason;
    line.reasonArgs = args;
    return line;
}

// Options that only a build takes, and the options that belong to the window or to none.
std::optional<CommandLine> misplacedOption(const QCommandLineParser &parser, const Options &options,
                                           bool checking, bool building)
{
    for (const QCommandLineOption *option : {&options.output, &options.force, &options.portable,
                                             &options.archive, &options.web, &options.windows}) {
        if (parser.isSet(*option) && !building)
            return wrong(
                TextId::OptionGoesWith,
                {QStringLiteral("--") + option->names().constLast(), QStringLiteral("--build")});
    }
    if (parser.isSet(options.quiet) && !checking && !building)
        return wrong(TextId::OptionGoesWith,
                     {QStringLiteral("--quiet"), QStringLiteral("--check / --build")});
    if (parser.isSet(options.noSplash) && (checking || building))
        return wrong(TextId::NoSplashWithoutWindow);
    return std::nullopt;
}

// Why a path cannot be read as a project before anything is read from it, or nothing.
QString unreadable(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return languageText(TextId::FileMissing);
    if (info.isDir())
        return languageText(TextId::FileIsFolder);
    if (!info.isFile())
        return languageText(TextId::FileIsSpecial);
    if (!info.isReadable())
        return languageText(TextId::FileNotReadable);
    if (info.size() == 0)
        return languageText(TextId::FileEmpty);
    return QString();
}

// "FILE: step 3: error: text", or without the step for the project as a whole.
QString findingLine(const QString &file, const Finding &finding)
{
    QString line = file + QStringLiteral(": ");
    if (finding.step >= 0)
        line += languageText(TextId::ColumnStep).toLower() + u' ' + QString::number(finding.step) +
                QStringLiteral(": ");
    const bool error = finding.severity() == Finding::Severity::Error;
    line += languageText(error ? TextId::SeverityError : TextId::SeverityWarning).toLower() +
            QStringLiteral(": ");
    // One line each, whatever line breaks the language file gives a text.
    return line + FindingText::text(finding).replace(u'\r', u' ').replace(u'\n', u' ');
}

int runCheck(const CommandLine &line, const DialogProject &project, QTextStream &out)
{
    const QList<Finding> findings = ProjectCheck::check(project);
    if (!line.quiet) {
        for (const Finding &finding : findings)
            out << findingLine(line.file, finding) << Qt::endl;
    }
    if (ProjectCheck::errorCount(findings) > 0)
        return ExitErrors;
    return findings.isEmpty() ? ExitClean : ExitWarnings;
}

// A build of one file (the web page, the Windows program), which speaks the language of the
// editor's settings; `built` is the line that names the file and its size.
int runOneFileBuild(const CommandLine &line, QTextStream &out, QTextStream &err, TextId built,
                    const std::function<bool(QString *)> &write)
{
    useSettingsLanguage();
    QString error;
    if (!write(&error)) {
        err << QStringLiteral("tavlen: ") << error << Qt::endl;
        return ExitFailed;
    }
    if (!line.quiet)
        out << filledText(languageText(built),
                          {line.output, kilobytes(QFileInfo(line.output).size())})
            << Qt::endl;
    return ExitClean;
}

int runBuild(const CommandLine &line, const DialogProject &project, QTextStream &out,
             QTextStream &err)
{
    QString error;
    const int errors = ProjectCheck::errorCount(ProjectCheck::check(project));
    if (errors > 0 && !line.force) {
        err << line.file << QStringLiteral(": ")
            << pluralForm(languageText(TextId::NotBuiltForErrors), errors).arg(errors) << Qt::endl;
        return ExitErrors;
    }
    if (line.web)
        return runOneFileBuild(line, out, err, TextId::WebPageBuilt, [&](QString *failure) {
            return WebPageBuilder(project).write(line.output, failure);
        });
    if (line.windows)
        return runOneFileBuild(line, out, err, TextId::WindowsProgramBuilt, [&](QString *failure) {
            return WindowsProgramBuilder(project).write(line.output, windowsPlayerProgram(),
                                                        failure);
        });
    if (!line.portable) {
        if (!buildProgram(project, runnerProgram(), line.output, &error)) {
            err << QStringLiteral("tavlen: ") << error << Qt::endl;
            return ExitFailed;
        }
        if (!line.quiet)
            out << QFileInfo(line.output).absoluteFilePath() << Qt::endl;
        return ExitClean;
    }
    PortableBuild build;
    QString archive;
    // An archive that may not be replaced refuses the build before the folder is written.
    const BuildTarget packed{
        BuildTarget::Kind::Archive, archivePath(line.output), project.path(), {}};
    if ((line.archive && !packed.mayWrite(&error)) ||
        !buildPortable(project, portableRunnerProgram(), line.output, &build, &error) ||
        (line.archive && !packFolder(line.output, &archive, &error))) {
        err << QStringLiteral("tavlen: ") << error << Qt::endl;
        return ExitFailed;
    }
    if (line.quiet)
        return ExitClean;
    for (const QString &file : std::as_const(build.bundled))
        out << filledText(languageText(TextId::BundledFile), {file}) << Qt::endl;
    out << filledText(languageText(TextId::LeftToSystem),
                      {build.leftToSystem.join(QStringLiteral(", "))})
        << Qt::endl;
    out << filledText(
               languageText(TextId::PortableBuilt),
               {build.program, QString::number(build.bundled.size()), megabytes(build.folderBytes)})
        << Qt::endl;
    if (!archive.isEmpty())
        out << filledText(languageText(TextId::ArchiveBuilt),
                          {archive, megabytes(QFileInfo(archive).size())})
            << Qt::endl;
    return ExitClean;
}

// Checking and building start alike: a project that cannot be read ends both.
int runOnProject(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    useSettingsLanguage();
    DialogProject project;
    // A reason names the file it concerns first, once.
    QString error = unreadable(line.file);
    if (!error.isEmpty())
        error = line.file + QStringLiteral(": ") + error;
    else if (const auto opened = ProjectIO::openPath(project, line.file, &error); !opened)
        error = error.isEmpty()
                    ? line.file + QStringLiteral(": ") + languageText(TextId::FileNotProject)
                    : error;
    if (!error.isEmpty()) {
        err << error << Qt::endl;
        return ExitUnreadable;
    }
    return line.action == CommandLine::Action::Check ? runCheck(line, project, out)
                                                     : runBuild(line, project, out, err);
}

// The arguments (the program name first) apart from Qt's window system options, and those
// options by name with their values (empty for a flag).
struct SplitArguments
{
    QStringList rest;
    QMap<QString, QString> windowSystem;
};

SplitArguments splitArguments(const QStringList &arguments)
{
    SplitArguments split{arguments.mid(0, 1), {}};
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--") {
            split.rest += arguments.mid(i);
            break;
        }
        // Qt reads "-style x", "-style=x" and the same with two dashes.
        const QString name = QString(argument)
                                 .remove(QRegularExpression(QStringLiteral("^--?")))
                                 .section(u'=', 0, 0);
        const bool option = argument.startsWith(u'-');
        if (option && WindowSystemFlags.contains(name) && !argument.contains(u'=')) {
            split.windowSystem.insert(name, QString());
        } else if (option && WindowSystemOptionsWithValue.contains(name)) {
            split.windowSystem.insert(name, argument.contains(u'=') ? argument.section(u'=', 1)
                                                                    : arguments.value(++i));
        } else {
            split.rest << argument;
        }
    }
    return split;
}

// Qt's window systems that show windows on a display server: X11 and Wayland.
bool needsDisplayServer(const QString &platform)
{
    const QString name = platform.section(u':', 0, 0);
    return name == u"xcb" || name.startsWith(u"wayland");
}

} // namespace

void useSettingsLanguage()
{
    const QString language = optionSetting(OptionRead, OptionLanguage);
    if (language.isEmpty() || languageHeaderValue(language, QStringLiteral("GetFile")) != language)
        languageHeaderValue(DefaultLanguageFile, QStringLiteral("GetFile"));
    QtTranslation::follow(languageHeaderValue(activeLanguageFile(), QStringLiteral("GetId")));
}

QString wrongReason(const CommandLine &line)
{
    return line.reason ? filledText(languageText(*line.reason), line.reasonArgs) : line.text;
}

QStringList withoutWindowSystemOptions(const QStringList &arguments)
{
    return splitArguments(arguments).rest;
}

bool lacksDisplay(const QStringList &arguments, const QProcessEnvironment &environment)
{
    const SplitArguments split = splitArguments(arguments);
    // Qt tries each window system of a list "a;b" in turn; without any, it takes X11's.
    const QString platform = split.windowSystem.value(
        QStringLiteral("platform"), environment.value(QStringLiteral("QT_QPA_PLATFORM")));
    const QStringList platforms = platform.split(u';', Qt::SkipEmptyParts);
    if (!std::all_of(platforms.cbegin(), platforms.cend(), needsDisplayServer))
        return false;
    return split.windowSystem.value(QStringLiteral("display")).isEmpty() &&
           environment.value(QStringLiteral("DISPLAY")).isEmpty() &&
           environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
}

int refuseWithoutDisplay(QTextStream &err)
{
    err << QStringLiteral("tavlen: ") << languageText(TextId::NeedsDisplay) << Qt::endl;
    return ExitNoDisplay;
}

bool runsWithoutWindow(const QStringList &arguments)
{
    return parseCommandLine(withoutWindowSystemOptions(arguments)).action !=
           CommandLine::Action::Edit;
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    Options options([](TextId) { return QString(); });
    options.addTo(parser);
    if (!parser.parse(arguments))
        return wrong(parser.errorText());

    CommandLine line;
    // --help-all would add Qt's own options, which only the editor's window takes.
    if (parser.isSet(options.help) || parser.isSet(QStringLiteral("help-all"))) {
        line.action = CommandLine::Action::Help;
        return line;
    }
    if (parser.isSet(options.version)) {
        line.action = CommandLine::Action::Version;
        return line;
    }
    const bool checking = parser.isSet(options.check);
    const bool building = parser.isSet(options.build);
    if (checking && building)
        return wrong(TextId::OptionsExclude,
                     {QStringLiteral("--check"), QStringLiteral("--build")});
    if (const std::optional<CommandLine> misplaced =
            misplacedOption(parser, options, checking, building))
        return *misplaced;
    if (parser.isSet(options.web) &&
        (parser.isSet(options.portable) || parser.isSet(options.archive)))
        return wrong(TextId::OptionsExclude,
                     {QStringLiteral("--web"), parser.isSet(options.portable)
                                                   ? QStringLiteral("--portable")
                                                   : QStringLiteral("--archive")});
    if (parser.isSet(options.windows)) {
        for (const QCommandLineOption *other :
             {&options.web, &options.portable, &options.archive}) {
            if (parser.isSet(*other))
                return wrong(TextId::OptionsExclude,
                             {QStringLiteral("--windows"),
                              QStringLiteral("--") + other->names().constLast()});
        }
    }
    const QStringList files = parser.positionalArguments();
    if (checking || building) {
        if (!files.isEmpty())
            return wrong(TextId::OneFileTooMany,
                         {checking ? QStringLiteral("--check") : QStringLiteral("--build"),
                          files.constFirst()});
        if (building && parser.value(options.output).isEmpty())
            return wrong(TextId::OptionNeeds,
                         {QStringLiteral("--build"), QStringLiteral("-o PROGRAM")});
        line.action = checking ? CommandLine::Action::Check : CommandLine::Action::Build;
        line.file = parser.value(checking ? options.check : options.build);
        line.output = parser.value(options.output);
    } else if (files.size() > 1) {
        return wrong(TextId::OneFileForTheEditor, {files.at(1)});
    } else {
        line.file = files.value(0);
    }
    line.noSplash = parser.isSet(options.noSplash);
    line.quiet = parser.isSet(options.quiet);
    line.force = parser.isSet(options.force);
    line.archive = parser.isSet(options.archive);
    line.portable = parser.isSet(options.portable) || line.archive;
    line.web = parser.isSet(options.web);
    line.windows = parser.isSet(options.windows);
    return line;
}

int runWithoutWindow(const CommandLine &line, QTextStream &out, QTextStream &err)
{
    switch (line.action) {
    case CommandLine::Action::Help:
        out << commandLineHelp();
        return ExitClean;
    case CommandLine::Action::Version:
        out << QCoreApplication::applicationName() << u' ' << QCoreApplication::applicationVersion()
            << Qt::endl;
        return ExitClean;
    case CommandLine::Action::Check:
    case CommandLine::Action::Build:
        return runOnProject(line, out, err);
    case CommandLine::Action::Wrong:
    case CommandLine::Action::Edit:
        break;
    }
    err << QStringLiteral("tavlen: ") << wrongReason(line) << u' ' << languageText(TextId::SeeHelp)
        << Qt::endl;
    return ExitWrongCommand;
}

bool showsStartupPicture(const CommandLine &commandLine, const QString &setting)
{
    return !commandLine.noSplash && commandLine.file.isEmpty() && setting != u'0';
}

} // namespace kq

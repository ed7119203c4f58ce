#include "projectio.h"

#include "buttonscript.h"
#include "codepage.h"
#include "dialogproject.h"
#include "failure.h"
#include "projectfile.h"
#include "reasontext.h"
#include "textlines.h"
#include "wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kq::ProjectIO {

namespace {

constexpr ReasonText TooManyLines{TextId::TooManyLines,
                                  u"%1, line %2: a project holds at most %3 dialogs."};
constexpr ReasonText TooFewFields{TextId::TooFewFields,
                                  u"%1, line %2: a dialog needs four fields separated by \"; \"."};
constexpr ReasonText NoDialog{TextId::NoDialog, u"%1: the file holds no dialog."};

qint16 iconCode(const QString &name)
{
    if (name == u"Ошибка")
        return 1;
    if (name == u"Предупреждение")
        return 2;
    if (name == u"Информация")
        return 3;
    if (name == u"Вопрос")
        return 4;
    return 0; // "Без значка" and every unknown name
}

// Button captions of a set; a window has at most two buttons, so a third one is dropped.
std::pair<QString, QString> buttonCaptions(const QString &setName)
{
    const QString ok = QStringLiteral("ОК"); // Cyrillic О and К
    const QString yes = QStringLiteral("Да");
    const QString no = QStringLiteral("Нет");
    if (setName == ok)
        return {ok, {}};
    if (setName == u"ОК и Отмена")
        return {ok, QStringLiteral("Отмена")};
    if (setName == u"Да и Нет" || setName == u"Да, Нет и Отмена")
        return {yes, no};
    return {};
}

// A file of that name in the folder, found in any letter case: programs built elsewhere and
// copied around keep names such as "QUIZ.DLL". The name is taken literally, never as a pattern:
// a program "quiz[1]" must not find "quiz1.dll". A file of exactly that name goes first.
QString fileBeside(const QDir &folder, const QString &name)
{
    QString found;
    for (const QString &entry : folder.entryList(QDir::Files | QDir::Hidden)) {
        if (entry == name)
            return folder.filePath(entry);
        if (found.isEmpty() && entry.compare(name, Qt::CaseInsensitive) == 0)
            found = folder.filePath(entry);
    }
    return found;
}

} // namespace

bool loadProjectFile(DialogProject &project, const QString &path, QString *error)
{
    ProjectFile file;
    if (!file.open(path, ProjectFile::Access::ReadOnly))
        return failWith(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    QString reason;
    if (!project.load(file, &reason))
        return failWith(error, QStringLiteral("%1: %2").arg(path, reason));
    return true;
}

bool saveProjectFile(DialogProject &project, const QString &path, QString *error)
{
    if (!writeWholeFile(path, project.fileBytes(), error))
        return false;
    // The editor goes on with what the file holds, as the next open would find it.
    if (!loadProjectFile(project, path, error))
        return false;
    project.setPath(path);
    return true;
}

bool writeDataFile(const DialogProject &project, const QString &path, QString *error)
{
    return writeWholeFile(path, project.fileBytes(), error);
}

bool importLegacyProject(DialogProject &project, const QString &path, QString *error)
{
    project.setPath({});
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failWith(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    // A read that breaks off must not pass for a shorter project.
    if (file.error() != QFileDevice::NoError)
        return failWith(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    file.close();
    const QList<QByteArray> lines = splitTextLines(bytes);
    int i = 0;
    for (int lineNumber = 1; lineNumber <= lines.size(); ++lineNumber) {
        const QByteArray &line = lines.at(lineNumber - 1);
        // Blank lines, a trailing one above all, hold no dialog and are passed over.
        if (line.trimmed().isEmpty())
            continue;
        if (++i > DialogProject::MaxDialogs)
            return failWith(error, TooManyLines.with({path, QString::number(lineNumber),
                                                      QString::number(DialogProject::MaxDialogs)}));
        const QStringList fields = fromCodePage(line).split(QStringLiteral("; "));
        if (fields.size() < 4)
            return failWith(error, TooFewFields.with({path, QString::number(lineNumber)}));
        DialogRecord record = DialogRecord::cleared();
        record.text = QString(fields.at(0)).replace(u'#', QStringLiteral("\r\n"));
        record.caption = fields.at(1);
        record.type = DialogRecord::Message;
        record.ico = iconCode(fields.at(2));
        std::tie(record.btn1, record.btn2) = buttonCaptions(fields.at(3));
        record.btnscr1 = ButtonScript::GoNext;
        record.btnscr2 = ButtonScript::GoNext;
        // Stored as a project file stores it: a text longer than its field is cut to the width,
        // so that the editor, the test run and the built program all show the same.
        project.record(i) = DialogRecord::fromBytes(record.toBytes());
        project.setDialogCount(qint16(i));
    }
    if (i == 0)
        return failWith(error, NoDialog.with({path}));

    project.clearRecord(0);
    project.record(0).text = QStringLiteral("0");
    return true;
}

std::optional<OpenedKind> openPath(DialogProject &project, const QString &path, QString *error)
{
    const QFileInfo chosen(path);
    if (!chosen.isFile()) {
        failWith(error, ReasonText{TextId::NoSuchFile, u"%1: no such file"}.with({path}));
        return std::nullopt;
    }

    project.clear();
    // Only a project that loaded is saved back to where it came from; any other outcome
    // leaves no path, so a Save cannot overwrite a file with what was not read from it.
    project.setPath({});
    const QString ending = path.right(4).toUpper();
    if (ending == u"DLG2") {
        if (!loadProjectFile(project, path, error))
            return std::nullopt;
        project.setPath(path);
        return OpenedKind::Project;
    }
    if (ending == u".DLG") {
        if (!importLegacyProject(project, path, error))
            return std::nullopt;
        return OpenedKind::Legacy;
    }
    // Any other file is a built program when its data file, or an older program's "main.dlg",
    // lies beside it, whatever dots its own name holds.
    const QString dataPath =
        fileBeside(chosen.dir(), QFileInfo(buildDataFilePath(path)).fileName());
    if (!dataPath.isEmpty()) {
        if (!loadProjectFile(project, dataPath, error))
            return std::nullopt;
        return OpenedKind::ProgramData;
    }
    const QString legacyPath = fileBeside(chosen.dir(), QStringLiteral("main.dlg"));
    if (!legacyPath.isEmpty()) {
        if (!importLegacyProject(project, legacyPath, error))
            return std::nullopt;
        return OpenedKind::ProgramLegacy;
    }
    constexpr ReasonText noKnownKind{
        TextId::UnknownFileKind,
        u"%1: neither a project (.dlg2, .dlg) nor a built program with its data file"};
    failWith(error, noKnownKind.with({path}));
    return std::nullopt;
}

QString projectFileName(const QString &typed)
{
    const QString ending = QStringLiteral(".dlg2");
    if (typed.isEmpty() || typed.endsWith(ending, Qt::CaseInsensitive))
        return typed;
    return typed + ending;
}

QString buildDataFilePath(const QString &programPath)
{
    QString base = programPath;
    if (base.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        base.chop(4);
    return base + QStringLiteral(".dll");
}

} // namespace kq::ProjectIO

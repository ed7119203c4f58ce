#include "projectio.h"

#include "buttonscript.h"
#include "codepage.h"
#include "dialogproject.h"
#include "projectfile.h"
#include "textlines.h"
#include "wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kq::ProjectIO {

namespace {

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

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

bool isBuiltProgram(const QFileInfo &file)
{
    return file.fileName().endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive) ||
           (file.suffix().isEmpty() && file.isExecutable());
}

} // namespace

bool loadProjectFile(DialogProject &project, const QString &path, QString *error)
{
    ProjectFile file;
    if (!file.open(path, ProjectFile::Access::ReadOnly))
        return fail(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    if (!project.load(file))
        return fail(error, QStringLiteral("%1: %2").arg(path, project.errorString()));
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
        return fail(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    // A read that breaks off must not pass for a shorter project.
    if (file.error() != QFileDevice::NoError)
        return fail(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    file.close();
    QList<QByteArray> lines = splitTextLines(bytes);
    // An empty file is one empty line, which holds no dialog.
    if (lines.isEmpty())
        lines.append(QByteArray());

    for (int i = 1; i <= lines.size(); ++i) {
        if (i > DialogProject::MaxDialogs)
            return fail(error, QStringLiteral("%1, line %2: a project holds at most %3 dialogs.")
                                   .arg(path)
                                   .arg(i)
                                   .arg(DialogProject::MaxDialogs));
        const QStringList fields = fromCodePage(lines.at(i - 1)).split(QStringLiteral("; "));
        if (fields.size() < 4)
            return fail(error, QStringLiteral("%1, line %2: a dialog needs four fields "
                                              "separated by \"; \".")
                                   .arg(path)
                                   .arg(i));
        DialogRecord record = DialogRecord::cleared();
        record.text = QString(fields.at(0)).replace(u'#', QStringLiteral("\r\n"));
        record.caption = fields.at(1);
        record.type = DialogRecord::Message;
        record.ico = iconCode(fields.at(2));
        std::tie(record.btn1, record.btn2) = buttonCaptions(fields.at(3));
        record.btnscr1 = ButtonScript::GoNext;
        record.btnscr2 = ButtonScript::GoNext;
        project.record(i) = record;
        project.setDialogCount(qint16(i));
    }

    project.clearRecord(0);
    project.record(0).text = QStringLiteral("0");
    return true;
}

OpenResult openPath(DialogProject &project, const QString &path)
{
    OpenResult result;
    const QFileInfo chosen(path);
    if (!chosen.isFile())
        return result;

    project.clear();
    // Only a project that loaded is saved back to where it came from; any other outcome
    // leaves no path, so a Save cannot overwrite a file with what was not read from it.
    project.setPath({});
    const QString ending = path.right(4).toUpper();
    if (ending == u"DLG2") {
        result.kind = OpenedKind::Project;
        result.ok = loadProjectFile(project, path, &result.error);
        if (result.ok)
            project.setPath(path);
    } else if (ending == u".DLG") {
        result.kind = OpenedKind::Legacy;
        result.ok = importLegacyProject(project, path, &result.error);
    } else if (isBuiltProgram(chosen)) {
        const QString dataPath = buildDataFilePath(path);
        const QString legacyPath = chosen.dir().filePath(QStringLiteral("main.dlg"));
        if (QFileInfo(dataPath).isFile()) {
            result.kind = OpenedKind::ProgramData;
            result.ok = loadProjectFile(project, dataPath, &result.error);
        } else if (QFileInfo(legacyPath).isFile()) {
            result.kind = OpenedKind::ProgramLegacy;
            result.ok = importLegacyProject(project, legacyPath, &result.error);
        }
    }
    return result;
}

QString buildDataFilePath(const QString &programPath)
{
    QString base = programPath;
    if (base.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        base.chop(4);
    return base + QStringLiteral(".dll");
}

} // namespace kq::ProjectIO

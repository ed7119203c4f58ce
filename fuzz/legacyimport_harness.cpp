#include "harnesses.h"
#include "scratchfolder.h"

#include "dialogproject.h"
#include "projectio.h"

namespace kq::Fuzz {

void legacyImport(const QByteArray &input)
{
    static const QString path = scratchPath(QStringLiteral("legacy/input.dlg"));
    require(writeScratchFile(path, input), "the scratch file is written");
    DialogProject project;
    QString error;
    const bool imported = ProjectIO::importLegacyProject(project, path, &error);
    require(project.dialogCount() >= 0 && project.dialogCount() <= DialogProject::MaxDialogs,
            "the dialog count stays 0 to 99");
    require(imported || !error.isEmpty(), "a failed import says why");
    if (!imported)
        return;
    require(project.path().isEmpty(), "an imported project has no path");
    for (int i = 1; i <= project.dialogCount(); ++i) {
        const DialogRecord &record = project.record(i);
        require(record.type == DialogRecord::Message, "every imported dialog is a message");
        require(record.ico >= 0 && record.ico <= 5, "an imported icon is one of the strip's");
    }
    // What was imported can be written as a project and read back unchanged.
    const QByteArray bytes = project.fileBytes();
    require(bytes.size() == project.fileRecordCount() * DialogRecord::Size,
            "the project file holds whole records");
    for (int i = 0; i < project.fileRecordCount(); ++i) {
        const DialogRecord written = DialogRecord::fromBytes(bytes.mid(i * DialogRecord::Size));
        require(written.toBytes() == bytes.mid(i * DialogRecord::Size, DialogRecord::Size),
                "a written record reads back to the same bytes");
    }
}

} // namespace kq::Fuzz

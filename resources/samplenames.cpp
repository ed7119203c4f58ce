#include "samplenames.h"

namespace kq {

QStringList sampleFileNames(const QString &languageId)
{
    QStringList names{QStringLiteral("FormatC.dlg2"), QStringLiteral("VirusModification.dlg2"),
                      QStringLiteral("tester.dlg"), QStringLiteral("trojan.dlg"),
                      QStringLiteral("virus.dlg")};
    if (languageId == u"1")
        names << QStringLiteral("Quiz.dlg2") << QStringLiteral("DeskCleanup.dlg2");
    return names;
}

} // namespace kq

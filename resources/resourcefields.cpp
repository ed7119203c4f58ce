#include "resourcefields.h"

#include "dialogrecord.h"
#include "textlinereader.h"

#include <QStringList>

namespace kq {

QString readTypeLine(const QString &path)
{
    TextLineReader file(path);
    return readTypeLine(file);
}

QString readTypeLine(TextLineReader &file)
{
    const std::optional<QString> magic = file.readLine();
    if (!magic)
        return QString::number(file.errorCode()) + QStringLiteral("LangErr");
    if (*magic != QLatin1String(MagicLine))
        return QStringLiteral("LangErr1");
    const std::optional<QString> type = file.readLine();
    if (!type)
        return QString::number(file.errorCode()) + QStringLiteral("LangErr");
    if (!type->startsWith(u'!'))
        return QStringLiteral("LangErr2");
    return *type;
}

QString skipToSection(TextLineReader &file, const QString &header)
{
    while (const std::optional<QString> line = file.readLine()) {
        if (*line == header)
            return header;
    }
    if (file.errorCode() == FileErrorCode::InputPastEnd)
        return QStringLiteral("LangErr3");
    return QString::number(file.errorCode()) + QStringLiteral("LangErr");
}

QString lineField(const QString &line, qint16 n, const QString &delimiter)
{
    // An empty line holds no field at all, and an empty delimiter leaves the line whole.
    QStringList fields;
    if (!line.isEmpty())
        fields = delimiter.isEmpty() ? QStringList{line} : line.split(delimiter);
    if (n < 0 || n >= fields.size())
        return QStringLiteral("LangErr4");
    QString field = trimmedSpaces(fields.at(n));
    field.replace(u'\\', u',');
    field.replace(u'#', u'\r');
    return field;
}

std::optional<QString> readHeaderValue(const QString &path, const QString &type,
                                       const QString &section,
                                       std::initializer_list<HeaderKey> keys,
                                       const QString &selector, const HeaderCodes &codes,
                                       QString *errorCode)
{
    const auto fail = [errorCode](const QString &code) -> std::optional<QString> {
        *errorCode = code;
        return std::nullopt;
    };
    // One reading of the file serves both checks: the section search goes on after the type
    // line, since neither of the first two lines can be a section header once they have passed.
    TextLineReader file(path);
    if (readTypeLine(file) != type)
        return fail(QString::fromUtf16(codes.wrongType));
    if (skipToSection(file, section) != section)
        return fail(QString::fromUtf16(codes.damaged));
    QString value;
    for (const HeaderKey &entry : keys) {
        const std::optional<QString> line = file.readLine();
        if (!line) {
            return fail(codes.endIsDamage ? QString::fromUtf16(codes.damaged)
                                          : QString::number(file.errorCode()) +
                                                QString::fromUtf16(codes.generalSuffix));
        }
        if (lineField(*line, 0, QStringLiteral("=")) != entry.key)
            return fail(QString::fromUtf16(codes.damaged));
        if (selector == entry.selector)
            value = lineField(*line, 1, QStringLiteral("="));
    }
    return value;
}

} // namespace kq

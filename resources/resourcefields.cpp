#include "resourcefields.h"

#include "textlinereader.h"

#include <QStringList>

namespace kq {

namespace {

QString trimmedSpaces(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace

QString ReadFileType(const QString &path)
{
    TextLineReader file(path);
    QString magic;
    if (!file.readLine(&magic))
        return QString::number(file.errorCode()) + QStringLiteral("LangErr");
    if (magic != QLatin1String(MagicLine))
        return QStringLiteral("LangErr1");
    QString type;
    if (!file.readLine(&type))
        return QString::number(file.errorCode()) + QStringLiteral("LangErr");
    if (!type.startsWith(u'!'))
        return QStringLiteral("LangErr2");
    return type;
}

QString FindSection(TextLineReader &file, const QString &header)
{
    QString line;
    while (file.readLine(&line)) {
        if (line == header)
            return header;
    }
    if (file.errorCode() == FileErrorCode::InputPastEnd)
        return QStringLiteral("LangErr3");
    return QString::number(file.errorCode()) + QStringLiteral("LangErr");
}

QString SplitField(const QString &line, qint16 n, const QString &delimiter)
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

HeaderCheck ReadHeaderLines(TextLineReader &file, std::initializer_list<HeaderKey> keys,
                            const QString &selector, QString *value)
{
    QString line;
    for (const HeaderKey &entry : keys) {
        if (!file.readLine(&line))
            return HeaderCheck::ReadFailed;
        if (SplitField(line, 0, QStringLiteral("=")) != entry.key)
            return HeaderCheck::WrongKey;
        if (selector == entry.selector)
            *value = SplitField(line, 1, QStringLiteral("="));
    }
    return HeaderCheck::Valid;
}

} // namespace kq

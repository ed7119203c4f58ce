#include "recentprojects.h"

#include "optionsetting.h"

#include <QDir>
#include <QFileInfo>

namespace kq::RecentProjects {

namespace {

// One setting holds the whole list; no path holds a line break.
constexpr QChar Separator = u'\n';

QString absolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

bool samePath(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    return absolute(a).compare(absolute(b), Qt::CaseInsensitive) == 0;
#else
    return absolute(a) == absolute(b);
#endif
}

} // namespace

QStringList withRemoved(const QStringList &list, const QString &path)
{
    QStringList kept;
    for (const QString &entry : list) {
        if (!samePath(entry, path))
            kept << entry;
    }
    return kept;
}

QStringList withAdded(const QStringList &list, const QString &path)
{
    if (path.isEmpty())
        return list;
    QStringList added = withRemoved(list, path);
    added.prepend(absolute(path));
    return added.mid(0, MaxCount);
}

QStringList read()
{
    const QStringList stored =
        optionSetting(OptionRead, OptionRecentProjects).split(Separator, Qt::SkipEmptyParts);
    return stored.mid(0, MaxCount);
}

void write(const QStringList &list)
{
    optionSetting(OptionWrite, OptionRecentProjects, list.mid(0, MaxCount).join(Separator));
}

QStringList add(const QString &path)
{
    const QStringList list = withAdded(read(), path);
    write(list);
    return list;
}

QStringList remove(const QString &path)
{
    const QStringList list = withRemoved(read(), path);
    write(list);
    return list;
}

} // namespace kq::RecentProjects

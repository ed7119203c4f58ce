#include "optionsetting.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace kq {

QString settingsApplicationName()
{
    return settingsApplicationName(QCoreApplication::applicationFilePath());
}

QString settingsApplicationName(const QString &executablePath)
{
    QString name = QFileInfo(executablePath).fileName();
    if (name.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

QString optionSetting(qint32 mode, qint32 key, const QString &value)
{
    if (mode != OptionRead && mode != OptionWrite)
        return QString();
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kestrane"),
                       settingsApplicationName());
    settings.setFallbacksEnabled(false);
    settings.beginGroup(QStringLiteral("Options"));
    const QString name = QString::number(key);
    if (mode == OptionRead)
        return settings.value(name).toString();
    settings.setValue(name, value);
    settings.sync();
    return QString();
}

} // namespace kq

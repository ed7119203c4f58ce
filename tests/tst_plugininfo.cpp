#include "plugininfo.h"
#include "resourcefiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kq;
using namespace kq::TestFiles;

namespace {

QStringList plugin(const QString &version = "2.0")
{
    return {"!KestraneDevelopment10",
            "!PluginFile",
            "[Info]",
            "Name=Переводчик",
            "Author=Kestrane",
            "Version=" + version,
            "[Description]",
            "Меняет язык кнопок.#Вторая строка, с запятой\\ "};
}

} // namespace

class TestPluginInfo : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void pluginInfo_data();
    void pluginInfo();
    void pluginInfoOfMissingFile();

    void pluginDescription_data();
    void pluginDescription();
    void pluginDescriptionOfMissingFile();

private:
    QString write(const QStringList &lines);

    QScopedPointer<QTemporaryDir> mDir;
};

void TestPluginInfo::init()
{
    mDir.reset(new QTemporaryDir);
    QVERIFY(mDir->isValid());
}

QString TestPluginInfo::write(const QStringList &lines)
{
    return scratchFile(*mDir, "plugin.tvpl", crlfLines(lines));
}

void TestPluginInfo::pluginInfo_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("result");

    QTest::newRow("name") << plugin() << "GetName"
                          << "Переводчик";
    QTest::newRow("author") << plugin() << "GetAuthor"
                            << "Kestrane";
    QTest::newRow("version") << plugin() << "GetVersion"
                             << "2.0";
    QTest::newRow("other version is read") << plugin("1.1") << "GetVersion"
                                           << "1.1";
    QTest::newRow("other selector") << plugin() << "GetFile"
                                    << "";

    QStringList spaced = plugin();
    spaced[3] = " Name =  Два\\ три#  ";
    QTest::newRow("field rule") << spaced << "GetName"
                                << "Два, три\r";

    QStringList noDescription = plugin().mid(0, 6);
    QTest::newRow("without a description") << noDescription << "GetName"
                                           << "Переводчик";

    QStringList later = plugin();
    later.insert(2, "");
    later.insert(3, "[Other]");
    QTest::newRow("header further down") << later << "GetAuthor"
                                         << "Kestrane";

    QStringList swapped = plugin();
    swapped.swapItemsAt(3, 4);
    QTest::newRow("lines out of order") << swapped << "GetName"
                                        << "PlugErr3";
    QStringList wrongVersionKey = plugin();
    wrongVersionKey[5] = "Ver=2.0";
    QTest::newRow("wrong key replaces a value taken") << wrongVersionKey << "GetName"
                                                      << "PlugErr3";
    QTest::newRow("no info section")
        << QStringList{"!KestraneDevelopment10", "!PluginFile", "Name=A"} << "GetName"
        << "PlugErr3";
    QTest::newRow("ends inside the header") << plugin().mid(0, 5) << "GetName"
                                            << "PlugErr3";
    QTest::newRow("ends right after the section") << plugin().mid(0, 3) << "GetVersion"
                                                  << "PlugErr3";

    QStringList themeType = plugin();
    themeType[1] = "!ThemeFile";
    QTest::newRow("theme file") << themeType << "GetName"
                                << "PlugErr1";
    QStringList badMagic = plugin();
    badMagic[0] = "!KestraneDevelopment1";
    QTest::newRow("wrong magic") << badMagic << "GetName"
                                 << "PlugErr1";
    QTest::newRow("empty file") << QStringList{} << "GetName"
                                << "PlugErr1";
}

void TestPluginInfo::pluginInfo()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, selector);
    QFETCH(QString, result);
    QCOMPARE(pluginHeaderValue(write(lines), selector), result);
}

void TestPluginInfo::pluginInfoOfMissingFile()
{
    QCOMPARE(pluginHeaderValue(mDir->filePath("none.tvpl"), "GetName"), QString("PlugErr2"));
    QCOMPARE(pluginHeaderValue(QString(), "GetName"), QString("PlugErr2"));
    QCOMPARE(pluginHeaderValue(mDir->path(), "GetName"), QString("PlugErr2"));
}

void TestPluginInfo::pluginDescription_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("result");

    QTest::newRow("hash becomes a line break, nothing else changes")
        << plugin() << "Меняет язык кнопок.\r\nВторая строка, с запятой\\ ";
    QTest::newRow("two phrases") << QStringList{"[Description]", "one#two"} << "one\r\ntwo";
    QTest::newRow("not trimmed") << QStringList{"[Description]", "  x  "} << "  x  ";
    QTest::newRow("empty description") << QStringList{"[Description]", ""} << "";
    QTest::newRow("without the section") << plugin().mid(0, 6) << "PlugErr3";
    QTest::newRow("section on the last line") << QStringList{"[Description]"} << "62PlugErrGen";
}

void TestPluginInfo::pluginDescription()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, result);
    QCOMPARE(pluginDescriptionText(write(lines)), result);
}

void TestPluginInfo::pluginDescriptionOfMissingFile()
{
    QCOMPARE(pluginDescriptionText(mDir->filePath("none.tvpl")), QString("53PlugErrGen"));
    QCOMPARE(pluginDescriptionText(mDir->path()), QString("75PlugErrGen"));
}

QTEST_GUILESS_MAIN(TestPluginInfo)
#include "tst_plugininfo.moc"

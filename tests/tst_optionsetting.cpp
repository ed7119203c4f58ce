#include "optionsetting.h"

#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace kq;

class TestOptionSetting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void missingKeyReadsEmpty();
    void roundTrip_data();
    void roundTrip();
    void writeReplacesAndKeysAreSeparate();
    void otherModesDoNothing();
    void storedPerUserUnderTheProgramName();
    void applicationName_data();
    void applicationName();

private:
    QTemporaryDir mConfig;
};

void TestOptionSetting::initTestCase()
{
    // QSettings takes its per-user folder from XDG_CONFIG_HOME at its first use.
    QVERIFY(mConfig.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(mConfig.path()));
}

void TestOptionSetting::missingKeyReadsEmpty()
{
    QCOMPARE(optionSetting(OptionRead, OptionLanguage), QString(""));
    QCOMPARE(optionSetting(OptionRead, 7, "ignored"), QString(""));
    QCOMPARE(optionSetting(OptionRead, OptionTheme), QString());
}

void TestOptionSetting::roundTrip_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("language") << 0 << "russian.lang";
    QTest::newRow("theme path") << 1 << "/opt/Kestrane Quorvex/Themes/standart.tvth";
    QTest::newRow("commas and semicolons") << 1 << "/a,b;c/d e.tvth";
    QTest::newRow("Cyrillic") << 0 << "русский.lang";
    QTest::newRow("backslashes and quotes") << 1 << "C:\\Темы\\\"x\".tvth";
    QTest::newRow("spaces kept") << 0 << "  padded  ";
    QTest::newRow("looks like a number") << 0 << "0012";
    QTest::newRow("empty") << 1 << "";
    QTest::newRow("other key") << 42 << "value";
}

void TestOptionSetting::roundTrip()
{
    QFETCH(int, key);
    QFETCH(QString, value);
    QCOMPARE(optionSetting(OptionWrite, key, value), QString());
    QCOMPARE(optionSetting(OptionRead, key), value);
}

void TestOptionSetting::writeReplacesAndKeysAreSeparate()
{
    optionSetting(OptionWrite, OptionLanguage, "russian.lang");
    optionSetting(OptionWrite, OptionTheme, "/x/standart.tvth");
    optionSetting(OptionWrite, OptionLanguage, "english.lang");
    QCOMPARE(optionSetting(OptionRead, OptionLanguage), QString("english.lang"));
    QCOMPARE(optionSetting(OptionRead, OptionTheme), QString("/x/standart.tvth"));
}

void TestOptionSetting::otherModesDoNothing()
{
    optionSetting(OptionWrite, OptionLanguage, "kept.lang");
    QCOMPARE(optionSetting(2, OptionLanguage, "lost.lang"), QString());
    QCOMPARE(optionSetting(-1, OptionLanguage, "lost.lang"), QString());
    QCOMPARE(optionSetting(OptionRead, OptionLanguage), QString("kept.lang"));
}

void TestOptionSetting::storedPerUserUnderTheProgramName()
{
    optionSetting(OptionWrite, OptionLanguage, "english.lang");
    optionSetting(OptionWrite, OptionTheme, "/t/night.tvth");
    const QString path = mConfig.filePath("Kestrane/tst_optionsetting.ini");
    QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));

    // Another reader of the store sees the values under section "Options", keys "0" and "1".
    QSettings file(path, QSettings::IniFormat);
    QCOMPARE(file.value("Options/0").toString(), QString("english.lang"));
    QCOMPARE(file.value("Options/1").toString(), QString("/t/night.tvth"));
}

void TestOptionSetting::applicationName_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("name");

    QTest::newRow("plain") << "/opt/kq/tavlen"
                           << "tavlen";
    QTest::newRow("exe") << "/opt/kq/tavlen.exe"
                         << "tavlen";
    QTest::newRow("exe in capitals") << "C:/KQ/TAVLEN.EXE"
                                     << "TAVLEN";
    QTest::newRow("other extension kept") << "/opt/kq/tavlen.bin"
                                          << "tavlen.bin";
    QTest::newRow("renamed copy") << "/home/u/editor2"
                                  << "editor2";
    QTest::newRow("exe only inside") << "/opt/my.exe.tool"
                                     << "my.exe.tool";
}

void TestOptionSetting::applicationName()
{
    QFETCH(QString, executable);
    QFETCH(QString, name);
    QCOMPARE(settingsApplicationName(executable), name);
}

QTEST_GUILESS_MAIN(TestOptionSetting)
#include "tst_optionsetting.moc"

#include "olecolor.h"
#include "programfolder.h"
#include "resourcefiles.h"
#include "theme.h"

#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace kq;
using namespace kq::TestFiles;

namespace {

const QStringList StandardColors{"TextboxEnabledColor=16777215", "TextboxDisabledColor=14671839",
                                 "TextboxForeColor=0",           "LabelEnabledColor=0",
                                 "LabelDisabledColor=8355711",   "ButtonEnabledColor=-2147483633",
                                 "ButtonDisabledColor=14671839", "SelectionColor=8388608",
                                 "BackgroundColor=12566463",     "BoxEnabledColor=-2147483633",
                                 "BoxDisabledColor=14671839"};

QStringList theme(const QString &name = "Светлая", const QString &version = "2.0",
                  const QString &status = "General", const QStringList &colors = StandardColors)
{
    return QStringList{"!KestraneDevelopment10", "!ThemeFile",       "[Info]",  "Name=" + name,
                       "Version=" + version,     "Status=" + status, "[Colors]"} +
           colors;
}

// Every role that a system colour maps to gets a colour of its own.
QPalette distinctPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::Base, QColor(4, 5, 6));
    palette.setColor(QPalette::Text, QColor(7, 8, 9));
    palette.setColor(QPalette::Highlight, QColor(10, 11, 12));
    palette.setColor(QPalette::ButtonText, QColor(13, 14, 15));
    palette.setColor(QPalette::Dark, QColor(16, 17, 18));
    palette.setColor(QPalette::Light, QColor(19, 20, 21));
    palette.setColor(QPalette::ToolTipBase, QColor(22, 23, 24));
    palette.setColor(QPalette::Window, QColor(25, 26, 27));
    return palette;
}

// Lowers the largest file this process may write, so that a save runs out of room as on a full
// disk, whoever runs the test.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &mOld);
        rlimit lowered = mOld;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &mOld); }

private:
    rlimit mOld{};
};

} // namespace

class TestTheme : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void themeInfo_data();
    void themeInfo();
    void anySuccessfulSelectorMakesTheFileActive();
    void failedThemeInfoKeepsTheActiveFile();
    void settingOfAMovedProgramFolder_data();
    void settingOfAMovedProgramFolder();

    void themeColor_data();
    void themeColor();
    void themeColorWithoutActiveFile();
    void themeColorReadsTheFileAgain();
    void themeColorReadsEachChangeOnce_data();
    void themeColorReadsEachChangeOnce();

    void savedThemeReadsBackUnchanged();
    void saveReplacesAnEarlierFile();
    void nameWithLineBreaksStaysOneLine_data();
    void nameWithLineBreaksStaysOneLine();
    void failedSaveLeavesTheOldFileWhole();
    void saveIntoMissingFolderFails();

    void colorFromOle_data();
    void colorFromOle();
    void oleFromColorRoundTrip_data();
    void oleFromColorRoundTrip();

private:
    QString write(const QStringList &lines, const QString &file = "theme.tvth");

    QScopedPointer<QTemporaryDir> mDir;
};

void TestTheme::init()
{
    mDir.reset(new QTemporaryDir);
    QVERIFY(mDir->isValid());
}

QString TestTheme::write(const QStringList &lines, const QString &file)
{
    return scratchFile(*mDir, file, crlfLines(lines));
}

void TestTheme::themeInfo_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QString>("result");
    QTest::addColumn<bool>("activates");

    QTest::newRow("name") << theme() << "GetName"
                          << "Светлая" << true;
    QTest::newRow("version") << theme() << "GetVersion"
                             << "2.0" << true;
    QTest::newRow("status") << theme() << "GetStatus"
                            << "General" << true;
    QTest::newRow("file") << theme() << "GetFile"
                          << "<path>" << true;
    QTest::newRow("other selector") << theme() << "GetAuthor"
                                    << "" << true;
    QTest::newRow("other version passes") << theme("Old", "1.0") << "GetVersion"
                                          << "1.0" << true;
    QTest::newRow("field rule") << theme("  Ночь\\ тёмная#  ") << "GetName"
                                << "Ночь, тёмная\r" << true;

    QStringList spaced = theme();
    spaced.insert(2, "");
    spaced.insert(7, "");
    QTest::newRow("empty lines between groups") << spaced << "GetStatus"
                                                << "General" << true;

    QStringList swapped = theme();
    swapped.swapItemsAt(3, 4);
    QTest::newRow("lines out of order") << swapped << "GetFile"
                                        << "ResErr3" << false;
    QStringList gap = theme();
    gap.insert(4, "");
    QTest::newRow("empty line inside header") << gap << "GetName"
                                              << "ResErr3" << false;
    QTest::newRow("no info section")
        << QStringList{"!KestraneDevelopment10", "!ThemeFile", "Name=A"} << "GetName"
        << "ResErr3" << false;
    QTest::newRow("ends inside header") << theme().mid(0, 5) << "GetName"
                                        << "62ThemeErrGen" << false;
    QStringList language = theme();
    language[1] = "!RescourceFile";
    QTest::newRow("language file") << language << "GetName"
                                   << "ResErr1" << false;
    QStringList badMagic = theme();
    badMagic[0] = "KestraneDevelopment10";
    QTest::newRow("wrong magic") << badMagic << "GetName"
                                 << "ResErr1" << false;
}

void TestTheme::themeInfo()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, selector);
    QFETCH(QString, result);
    QFETCH(bool, activates);

    const QString before = write(theme("Before"), "before.tvth");
    QCOMPARE(themeHeaderValue(before, "GetFile"), before);

    const QString path = write(lines);
    QCOMPARE(themeHeaderValue(path, selector), result == "<path>" ? path : result);
    QCOMPARE(activeThemeFile(), activates ? path : before);
}

void TestTheme::anySuccessfulSelectorMakesTheFileActive()
{
    QStringList darkColors = StandardColors;
    darkColors[0] = "TextboxEnabledColor=1973790";
    const QString light = write(theme("Light"), "light.tvth");
    const QString dark = write(theme("Dark", "2.0", "General", darkColors), "dark.tvth");

    QCOMPARE(themeHeaderValue(light, "GetFile"), light);
    QCOMPARE(activeThemeColor("TextboxEnabledColor"), 16777215);
    QCOMPARE(themeHeaderValue(dark, "GetName"), QString("Dark"));
    QCOMPARE(activeThemeFile(), dark);
    QCOMPARE(activeThemeColor("TextboxEnabledColor"), 1973790);
}

void TestTheme::failedThemeInfoKeepsTheActiveFile()
{
    const QString good = write(theme("Good"), "good.tvth");
    QCOMPARE(themeHeaderValue(good, "GetFile"), good);

    QCOMPARE(themeHeaderValue(QString(), "GetFile"), QString("ResErr2"));
    QCOMPARE(themeHeaderValue(mDir->filePath("missing.tvth"), "GetFile"), QString("ResErr1"));
    QCOMPARE(themeHeaderValue(mDir->path(), "GetFile"), QString("ResErr1"));
    QCOMPARE(activeThemeFile(), good);
    QCOMPARE(activeThemeColor("SelectionColor"), 8388608);
}

void TestTheme::settingOfAMovedProgramFolder_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("used");

    // "<gone>" is a folder that no longer exists, "<kept>" the scratch folder, which does.
    QTest::newRow("moved folder") << "<gone>/Themes/soft.tvth"
                                  << "program";
    QTest::newRow("path of another system") << "C:\\Program Files\\Quorvex\\Themes\\soft.tvth"
                                            << "program";
    QTest::newRow("setting still there") << "<kept>/soft.tvth"
                                         << "setting";
    QTest::newRow("exists nowhere") << "<gone>/Themes/lost.tvth"
                                    << "none";
    QTest::newRow("no file name") << "<gone>/Themes/"
                                  << "none";
}

// The program folder's own copy stands in for a theme the setting names by an old path; the
// error path stays for a theme that exists nowhere.
void TestTheme::settingOfAMovedProgramFolder()
{
    QFETCH(QString, setting);
    QFETCH(QString, used);

    QStringList programColors = StandardColors;
    programColors[0] = "TextboxEnabledColor=15790320";
    QStringList keptColors = StandardColors;
    keptColors[0] = "TextboxEnabledColor=1973790";
    const QString program =
        write(theme("Soft", "2.0", "General", programColors), "program/Themes/soft.tvth");
    const QString kept = write(theme("Soft", "2.0", "User", keptColors), "soft.tvth");
    const QString before = write(theme("Before"), "before.tvth");
    QCOMPARE(themeHeaderValue(before, "GetFile"), before);
    setProgramFolder(mDir->filePath("program"));
    setting.replace("<gone>", mDir->filePath("gone")).replace("<kept>", mDir->path());

    const QString result = themeHeaderValue(setting, "GetFile");
    const qint32 color = activeThemeColor("TextboxEnabledColor");
    setProgramFolder(QString());
    if (used == "none") {
        QCOMPARE(result, QString("ResErr1"));
        QCOMPARE(activeThemeFile(), before);
        return;
    }
    const QString expected = used == "program" ? program : kept;
    QCOMPARE(result, expected);
    QCOMPARE(activeThemeFile(), expected);
    QCOMPARE(color, used == "program" ? 15790320 : 1973790);
}

void TestTheme::themeColor_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("color");

    // The standard colours with one colour line replaced (an empty line removes it).
    const auto replaced = [](int index, const QString &line) {
        QStringList colors = StandardColors;
        if (line.isEmpty())
            colors.removeAt(index);
        else
            colors[index] = line;
        return theme("A", "2.0", "General", colors);
    };

    QTest::newRow("white") << theme() << "TextboxEnabledColor" << 16777215;
    QTest::newRow("black") << theme() << "TextboxForeColor" << 0;
    QTest::newRow("system colour") << theme() << "ButtonEnabledColor" << -2147483633;
    QTest::newRow("last key") << theme() << "BoxDisabledColor" << 14671839;
    QTest::newRow("not the Textbox line") << theme() << "BoxEnabledColor" << -2147483633;
    QTest::newRow("spaces around the value")
        << replaced(7, "SelectionColor   =   255   ") << "SelectionColor" << 255;
    QTest::newRow("missing key gives 62") << replaced(7, "") << "SelectionColor" << 62;
    QTest::newRow("other keys still read") << replaced(7, "") << "BackgroundColor" << 12566463;
    QTest::newRow("user theme has no BoxDisabledColor")
        << theme("A", "2.0", "User", StandardColors.mid(0, 10)) << "BoxDisabledColor" << 62;
    QTest::newRow("BoxEnabledColor does not match TextboxEnabledColor")
        << theme("A", "2.0", "General", StandardColors.mid(0, 9)) << "BoxEnabledColor" << 62;
    QTest::newRow("first line with the key wins")
        << theme("A", "2.0", "General", QStringList{"SelectionColor=100"} + StandardColors)
        << "SelectionColor" << 100;
    QStringList beforeColors = theme();
    beforeColors.insert(2, "BackgroundColor=42");
    QTest::newRow("found outside the colour section") << beforeColors << "BackgroundColor" << 42;
    QTest::newRow("key compared as a prefix")
        << replaced(8, "BackgroundColorX=7") << "BackgroundColor" << 7;
    QTest::newRow("not a number gives 13")
        << replaced(2, "TextboxForeColor=black") << "TextboxForeColor" << 13;
    QTest::newRow("no value gives 13")
        << replaced(2, "TextboxForeColor") << "TextboxForeColor" << 13;
    QTest::newRow("past 32 bits gives 13")
        << replaced(2, "TextboxForeColor=4294967295") << "TextboxForeColor" << 13;
    QTest::newRow("smallest value") << replaced(2, "TextboxForeColor=-2147483648")
                                    << "TextboxForeColor" << int(-2147483647 - 1);
}

void TestTheme::themeColor()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, key);
    QFETCH(int, color);

    const QString path = write(lines);
    QCOMPARE(themeHeaderValue(path, "GetFile"), path);
    QCOMPARE(activeThemeColor(key), qint32(color));
}

void TestTheme::themeColorWithoutActiveFile()
{
    const QString path = write(theme());
    QCOMPARE(themeHeaderValue(path, "GetFile"), path);
    QVERIFY(QFile::remove(path));
    QCOMPARE(activeThemeColor("TextboxEnabledColor"), 53);
}

void TestTheme::themeColorReadsTheFileAgain()
{
    const QString path = write(theme());
    QCOMPARE(themeHeaderValue(path, "GetFile"), path);
    QCOMPARE(activeThemeColor("SelectionColor"), 8388608);
    QStringList changed = StandardColors;
    changed[7] = "SelectionColor=255";
    write(theme("Светлая", "2.0", "General", changed));
    QCOMPARE(activeThemeColor("SelectionColor"), 255);
}

void TestTheme::themeColorReadsEachChangeOnce_data()
{
    QTest::addColumn<int>("ageSeconds"); // how long ago the theme was written
    QTest::addColumn<int>("secondsLater");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<int>("color");
    // The same size written at the same time is taken for the same file and not read again,
    // however recently it was written.
    QTest::newRow("same size, same time") << 3600 << 0 << "SelectionColor=1234567" << 8388608;
    QTest::newRow("same size, later") << 3600 << 2 << "SelectionColor=1234567" << 1234567;
    QTest::newRow("other size, same time") << 3600 << 0 << "SelectionColor=12345678" << 12345678;
    QTest::newRow("just written") << 0 << 0 << "SelectionColor=1234567" << 8388608;
    QTest::newRow("just written, later") << 0 << 1 << "SelectionColor=1234567" << 1234567;
}

void TestTheme::themeColorReadsEachChangeOnce()
{
    QFETCH(int, ageSeconds);
    QFETCH(int, secondsLater);
    QFETCH(QString, selection);
    QFETCH(int, color);
    const QString path = write(theme());
    const QDateTime written = QDateTime::currentDateTime().addSecs(-ageSeconds);
    QVERIFY(setModified(path, written));
    QCOMPARE(themeHeaderValue(path, "GetFile"), path);
    QCOMPARE(activeThemeColor("SelectionColor"), 8388608);

    QStringList changed = StandardColors;
    changed[7] = selection;
    write(theme("Светлая", "2.0", "General", changed));
    QVERIFY(setModified(path, written.addSecs(secondsLater)));
    QCOMPARE(activeThemeColor("SelectionColor"), color);
}

void TestTheme::savedThemeReadsBackUnchanged()
{
    const ThemeColors colors{16777215,    14671839, 0,       0,        8355711,
                             -2147483633, 14671839, 8388608, 12566463, -2147483643};
    const QString path = mDir->filePath("mytheme.tvth");
    QString error;
    QVERIFY(writeUserTheme(path, "Моя тема", colors, &error));

    QCOMPARE(themeHeaderValue(path, "GetName"), QString("Моя тема"));
    QCOMPARE(themeHeaderValue(path, "GetVersion"), QString("2.0"));
    QCOMPARE(themeHeaderValue(path, "GetStatus"), QString("User"));
    QCOMPARE(themeHeaderValue(path, "GetFile"), path);
    for (size_t i = 0; i < colors.size(); ++i)
        QCOMPARE(activeThemeColor(ThemeColorSet.at(i)), colors.at(i));
    QCOMPARE(activeThemeColor(ThemeColorSet.at(10)), 62);

    const QByteArray bytes = readBytes(path);
    QVERIFY(bytes.startsWith("!KestraneDevelopment10\r\n!ThemeFile\r\n"));
    QVERIFY(bytes.contains("Name=\xcc\xee\xff \xf2\xe5\xec\xe0\r\n"));
    QVERIFY(bytes.endsWith("BoxEnabledColor=-2147483643\r\n"));
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
    QCOMPARE(bytes.count("\r\n"), bytes.count('\r'));
}

void TestTheme::nameWithLineBreaksStaysOneLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("CR LF") << "x\r\nStatus=General";
    QTest::newRow("LF") << "x\nStatus=General";
    QTest::newRow("CR") << "x\rStatus=General";
}

void TestTheme::nameWithLineBreaksStaysOneLine()
{
    QFETCH(QString, name);
    const ThemeColors colors{};
    const QString path = mDir->filePath("pasted.tvth");
    QVERIFY(writeUserTheme(path, name, colors));
    // Still a user theme, and the break comes back as the field rule's line break.
    QCOMPARE(themeHeaderValue(path, "GetStatus"), QString("User"));
    QCOMPARE(themeHeaderValue(path, "GetName"), QString("x\rStatus"));
    const QString plain = mDir->filePath("plain.tvth");
    QVERIFY(writeUserTheme(plain, "x", colors));
    QCOMPARE(readBytes(path).count("\r\n"), readBytes(plain).count("\r\n"));
}

void TestTheme::saveReplacesAnEarlierFile()
{
    const QString path =
        write(theme("Old", "2.0", "User", StandardColors + QStringList{"x=1"}), "user.tvth");
    ThemeColors colors{};
    colors.fill(255);
    QVERIFY(writeUserTheme(path, "New", colors));
    QCOMPARE(themeHeaderValue(path, "GetName"), QString("New"));
    QCOMPARE(activeThemeColor("BoxEnabledColor"), 255);
    QVERIFY(!readBytes(path).contains("x=1"));
}

void TestTheme::failedSaveLeavesTheOldFileWhole()
{
    const QString path =
        write(theme("Kept", "2.0", "User", StandardColors.mid(0, 10)), "kept.tvth");
    const QByteArray before = readBytes(path);
    ThemeColors colors{};
    colors.fill(1);

    QString error;
    bool saved = true;
    {
        const FileSizeLimit limit(64);
        saved = writeUserTheme(path, "Lost", colors, &error);
    }
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(readBytes(path), before);
    QCOMPARE(QDir(mDir->path()).entryList(QDir::Files), QStringList{"kept.tvth"});
}

void TestTheme::saveIntoMissingFolderFails()
{
    ThemeColors colors{};
    QString error;
    QVERIFY(!writeUserTheme(mDir->filePath("nowhere/x.tvth"), "X", colors, &error));
    QVERIFY(!error.isEmpty());
}

void TestTheme::colorFromOle_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QColor>("color");

    const QPalette palette = distinctPalette();
    QTest::newRow("white") << 16777215 << QColor(255, 255, 255);
    QTest::newRow("black") << 0 << QColor(0, 0, 0);
    QTest::newRow("red in the low byte") << 255 << QColor(255, 0, 0);
    QTest::newRow("green") << 65280 << QColor(0, 255, 0);
    QTest::newRow("dark blue") << 8388608 << QColor(0, 0, 128);
    QTest::newRow("mixed") << 0x00C08040 << QColor(0x40, 0x80, 0xC0);
    QTest::newRow("error code 62 as a colour") << 62 << QColor(62, 0, 0);
    QTest::newRow("button face") << int(0x8000000F) << palette.color(QPalette::Button);
    QTest::newRow("window") << int(0x80000005) << palette.color(QPalette::Base);
    QTest::newRow("window text") << int(0x80000008) << palette.color(QPalette::Text);
    QTest::newRow("highlight") << int(0x8000000D) << palette.color(QPalette::Highlight);
    QTest::newRow("button text") << int(0x80000012) << palette.color(QPalette::ButtonText);
    QTest::newRow("button shadow") << int(0x80000010) << palette.color(QPalette::Dark);
    QTest::newRow("button highlight") << int(0x80000014) << palette.color(QPalette::Light);
    QTest::newRow("info background") << int(0x80000018) << palette.color(QPalette::ToolTipBase);
    QTest::newRow("unknown index") << int(0x800000FF) << palette.color(QPalette::Window);
}

void TestTheme::colorFromOle()
{
    QFETCH(int, value);
    QFETCH(QColor, color);

    QCOMPARE(kq::colorFromOle(qint32(value), distinctPalette()), color);
}

void TestTheme::oleFromColorRoundTrip_data()
{
    QTest::addColumn<int>("value");
    QTest::newRow("white") << 16777215;
    QTest::newRow("black") << 0;
    QTest::newRow("dark blue") << 8388608;
    QTest::newRow("grey") << 14671839;
    QTest::newRow("mixed") << 0x00C08040;
}

void TestTheme::oleFromColorRoundTrip()
{
    QFETCH(int, value);
    QCOMPARE(oleFromColor(kq::colorFromOle(qint32(value))), qint32(value));
}

QTEST_GUILESS_MAIN(TestTheme)
#include "tst_theme.moc"

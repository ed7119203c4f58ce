#include "resourcefields.h"
#include "resourcefiles.h"
#include "textlinereader.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kq;
using namespace kq::TestFiles;

class TestTextFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void lineEnds_data();
    void lineEnds();
    void linesDecodeFromCodePage1251();
    void readingPastTheEndGives62();
    void openFailureCodes();

    void readFileType_data();
    void readFileType();
    void readFileTypeOfMissingFile();

    void findSection_data();
    void findSection();
    void findSectionSearchesOnlyFromTheCurrentLine();
    void findSectionOnUnopenedFile();

    void splitField_data();
    void splitField();

private:
    QString scratch(const QByteArray &bytes);

    QScopedPointer<QTemporaryDir> mDir;
};

void TestTextFiles::init()
{
    mDir.reset(new QTemporaryDir);
    QVERIFY(mDir->isValid());
}

QString TestTextFiles::scratch(const QByteArray &bytes)
{
    return scratchFile(*mDir, "scratch.txt", bytes);
}

void TestTextFiles::lineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("LF alone") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("CR alone") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("no end on last line") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("empty line kept") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
    QTest::newRow("LF then CR are two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("only a line end") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("spaces kept") << QByteArray(" a \r\n") << QStringList{" a "};
}

void TestTextFiles::lineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);

    TextLineReader reader(scratch(bytes));
    QVERIFY(reader.isOpen());
    QStringList read;
    while (const std::optional<QString> line = reader.readLine())
        read << *line;
    QCOMPARE(read, lines);
    QVERIFY(reader.atEnd());
}

void TestTextFiles::linesDecodeFromCodePage1251()
{
    TextLineReader reader(scratch("\xcf\xf0\xe8\xe2\xe5\xf2, \xb8\xe6\r\n\xb9"));
    QCOMPARE(reader.readLine(), QString("Привет, ёж"));
    QCOMPARE(reader.readLine(), QString("№"));
}

void TestTextFiles::readingPastTheEndGives62()
{
    TextLineReader reader(scratch("only\r\n"));
    QCOMPARE(reader.readLine(), QString("only"));
    QCOMPARE(reader.errorCode(), 0);
    QVERIFY(!reader.readLine());
    QCOMPARE(reader.errorCode(), FileErrorCode::InputPastEnd);
}

void TestTextFiles::openFailureCodes()
{
    TextLineReader missing(mDir->filePath("none.txt"));
    QVERIFY(!missing.isOpen());
    QCOMPARE(missing.errorCode(), FileErrorCode::FileNotFound);
    QVERIFY(!missing.readLine());
    QCOMPARE(missing.errorCode(), FileErrorCode::FileNotFound);

    TextLineReader folder(mDir->path());
    QCOMPARE(folder.errorCode(), FileErrorCode::PathAccess);

    TextLineReader empty{QString()};
    QCOMPARE(empty.errorCode(), FileErrorCode::FileNotFound);

    if (!permissionsApply())
        QSKIP("running as superuser: an unreadable file cannot be made");
    const QString locked = scratch("x\r\n");
    QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    TextLineReader refused(locked);
    QVERIFY(!refused.isOpen());
    QCOMPARE(refused.errorCode(), FileErrorCode::PermissionDenied);
}

void TestTextFiles::readFileType_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("result");

    QTest::newRow("theme") << QByteArray("!KestraneDevelopment10\r\n!ThemeFile\r\n[Info]\r\n")
                           << "!ThemeFile";
    QTest::newRow("type line kept whole")
        << QByteArray("!KestraneDevelopment10\r\n!Rescource File \r\n") << "!Rescource File ";
    QTest::newRow("LF line ends") << QByteArray("!KestraneDevelopment10\n!PluginFile\n")
                                  << "!PluginFile";
    QTest::newRow("two lines without end") << QByteArray("!KestraneDevelopment10\r\n!X") << "!X";
    QTest::newRow("bare !") << QByteArray("!KestraneDevelopment10\r\n!\r\n") << "!";
    QTest::newRow("wrong magic") << QByteArray("!KestraneDevelopment11\r\n!ThemeFile\r\n")
                                 << "LangErr1";
    QTest::newRow("magic with trailing space")
        << QByteArray("!KestraneDevelopment10 \r\n!ThemeFile\r\n") << "LangErr1";
    QTest::newRow("magic in other case")
        << QByteArray("!kestranedevelopment10\r\n!ThemeFile\r\n") << "LangErr1";
    QTest::newRow("wrong magic on a one-line file") << QByteArray("hello") << "LangErr1";
    QTest::newRow("type without !")
        << QByteArray("!KestraneDevelopment10\r\nThemeFile\r\n") << "LangErr2";
    QTest::newRow("type line empty")
        << QByteArray("!KestraneDevelopment10\r\n\r\n!ThemeFile") << "LangErr2";
    QTest::newRow("type after a space")
        << QByteArray("!KestraneDevelopment10\r\n !ThemeFile\r\n") << "LangErr2";
    QTest::newRow("one line only") << QByteArray("!KestraneDevelopment10\r\n") << "62LangErr";
    QTest::newRow("empty file") << QByteArray() << "62LangErr";
}

void TestTextFiles::readFileType()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, result);
    const QString path = scratch(bytes);
    QCOMPARE(readTypeLine(path), result);

    // The file was closed again: it can be replaced at once.
    QVERIFY(QFile::remove(path));
}

void TestTextFiles::readFileTypeOfMissingFile()
{
    QCOMPARE(readTypeLine(mDir->filePath("none.tvth")), QString("53LangErr"));
    QCOMPARE(readTypeLine(QString()), QString("53LangErr"));
    QCOMPARE(readTypeLine(mDir->path()), QString("75LangErr"));
}

void TestTextFiles::findSection_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("nextLine");

    const QStringList file{"!KestraneDevelopment10", "!ThemeFile", "[Info]", "Name=A", "[Colors]",
                           "SelectionColor=1"};
    QTest::newRow("found") << file << "[Info]"
                           << "[Info]"
                           << "Name=A";
    QTest::newRow("later section") << file << "[Colors]"
                                   << "[Colors]"
                                   << "SelectionColor=1";
    QTest::newRow("section on the last line") << QStringList{"a", "[End]"} << "[End]"
                                              << "[End]" << QString();
    QTest::newRow("missing") << file << "[Language]"
                             << "LangErr3" << QString();
    QTest::newRow("other case") << file << "[info]"
                                << "LangErr3" << QString();
    QTest::newRow("spaces do not match") << QStringList{"[Info] ", " [Info]"} << "[Info]"
                                         << "LangErr3" << QString();
    QTest::newRow("first of two") << QStringList{"[S]", "one", "[S]", "two"} << "[S]"
                                  << "[S]"
                                  << "one";
    QTest::newRow("empty file") << QStringList{} << "[Info]"
                                << "LangErr3" << QString();
}

void TestTextFiles::findSection()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, header);
    QFETCH(QString, result);
    QFETCH(QString, nextLine);

    TextLineReader reader(scratch(crlfLines(lines)));
    QCOMPARE(skipToSection(reader, header), result);
    if (nextLine.isNull())
        QVERIFY(!reader.readLine());
    else
        QCOMPARE(reader.readLine(), nextLine);
}

void TestTextFiles::findSectionSearchesOnlyFromTheCurrentLine()
{
    TextLineReader reader(scratch(crlfLines({"[A]", "x", "[B]", "y"})));
    QCOMPARE(skipToSection(reader, "[B]"), QString("[B]"));
    QCOMPARE(skipToSection(reader, "[A]"), QString("LangErr3"));
}

void TestTextFiles::findSectionOnUnopenedFile()
{
    TextLineReader reader(mDir->filePath("none.lang"));
    QCOMPARE(skipToSection(reader, "[Info]"), QString("53LangErr"));
}

void TestTextFiles::splitField_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<QString>("result");

    QTest::newRow("entry text") << "%0128, Сохранить?" << 1 << ","
                                << "Сохранить?";
    QTest::newRow("entry id") << "%0128, Сохранить?" << 0 << ","
                              << "%0128";
    QTest::newRow("separator") << "%0150,-" << 1 << ","
                               << "-";
    QTest::newRow("replacements after trimming") << "%0001, one\\two#three " << 1 << ","
                                                 << "one,two\rthree";
    QTest::newRow("spaces kept inside") << "%0001,  a  b  " << 1 << ","
                                        << "a  b";
    QTest::newRow("two commas keep the middle") << "%0001, first, second" << 1 << ","
                                                << "first";
    QTest::newRow("after a second comma") << "%0001, first, second" << 2 << ","
                                          << "second";
    QTest::newRow("no comma") << "%0001" << 1 << ","
                              << "LangErr4";
    QTest::newRow("field past the last") << "a,b" << 2 << ","
                                         << "LangErr4";
    QTest::newRow("negative field") << "a,b" << -1 << ","
                                    << "LangErr4";
    QTest::newRow("empty field") << "%0001," << 1 << ","
                                 << "";
    QTest::newRow("only spaces") << "%0001,   " << 1 << ","
                                 << "";
    QTest::newRow("hash at the end") << "%0001, text #" << 1 << ","
                                     << "text \r";
    QTest::newRow("trailing backslash") << "%0001, a\\ " << 1 << ","
                                        << "a,";
    QTest::newRow("tab is not trimmed") << "k=\tv\t" << 1 << "="
                                        << "\tv\t";
    QTest::newRow("header key") << " Name = Русский " << 0 << "="
                                << "Name";
    QTest::newRow("header value") << " Name = Русский " << 1 << "="
                                  << "Русский";
    QTest::newRow("value with comma") << "Name=a,b" << 1 << "="
                                      << "a,b";
    QTest::newRow("second equals sign cuts") << "Name=a=b" << 1 << "="
                                             << "a";
    QTest::newRow("empty line has no field") << "" << 0 << "="
                                             << "LangErr4";
    QTest::newRow("longer delimiter") << "a::b::c" << 2 << "::"
                                      << "c";
    QTest::newRow("empty delimiter keeps the line") << " a,b " << 0 << ""
                                                    << "a,b";
}

void TestTextFiles::splitField()
{
    QFETCH(QString, line);
    QFETCH(int, n);
    QFETCH(QString, delimiter);
    QFETCH(QString, result);
    QCOMPARE(lineField(line, qint16(n), delimiter), result);
}

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"

#include "codepage.h"
#include "dialogproject.h"
#include "projectio.h"
#include "resourcefiles.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace kq;

namespace {

// A legacy file as the old editor wrote it: code page 1251.
QString writeLegacy(const QTemporaryDir &dir, const QString &content)
{
    return kq::TestFiles::scratchFile(dir, QStringLiteral("project.dlg"), toCodePage(content));
}

// The project a user had before the import: a header in the skinned style and seven dialogs.
DialogProject earlierProject()
{
    DialogProject project;
    project.record(0).text = QStringLiteral("1");
    project.record(0).caption = QStringLiteral("мусор в заголовке");
    for (int i = 1; i <= 7; ++i)
        project.newDialog(i, QStringLiteral("Прежний %1").arg(i));
    project.setDialogCount(7);
    project.setPath(QStringLiteral("/old/project.dlg2"));
    return project;
}

QString numberedLines(int count)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("Строка %1; Заголовок; Информация; ОК\r\n").arg(i);
    return text;
}

} // namespace

class TestLegacyImport : public QObject
{
    Q_OBJECT

private slots:
    void importsOneLine_data();
    void importsOneLine();
    void acceptsEveryLineEnd_data();
    void acceptsEveryLineEnd();
    void skipsBlankLines_data();
    void skipsBlankLines();
    void fileWithoutDialogsFails();
    void failsAtLine_data();
    void failsAtLine();
    void missingFileFails();
    void readErrorFails();
    void shippedSamplesImport_data();
    void shippedSamplesImport();
};

void TestLegacyImport::importsOneLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("ico");
    QTest::addColumn<QString>("btn1");
    QTest::addColumn<QString>("btn2");

    QTest::newRow("example") << "Привет#мир; Заголовок; Вопрос; Да и Нет"
                             << "Привет\r\nмир"
                             << "Заголовок" << 4 << "Да"
                             << "Нет";
    QTest::newRow("bare semicolon stays") << "раз;два; Окно; Ошибка; ОК"
                                          << "раз;два"
                                          << "Окно" << 1 << "ОК"
                                          << "";
    QTest::newRow("several breaks") << "а##б#; О; Информация; ОК"
                                    << "а\r\n\r\nб\r\n"
                                    << "О" << 3 << "ОК"
                                    << "";
    QTest::newRow("fields after the fourth ignored") << "т; з; Вопрос; ОК и Отмена; лишнее; ещё"
                                                     << "т"
                                                     << "з" << 4 << "ОК"
                                                     << "Отмена";
    QTest::newRow("longer than the fields")
        << QString(600, u'Ж') + "; " + QString(70, u'З') + "; Вопрос; ОК" << QString(512, u'Ж')
        << QString(50, u'З') << 4 << "ОК"
        << "";
    QTest::newRow("empty fields") << "; ; ; "
                                  << ""
                                  << "" << 0 << ""
                                  << "";

    QTest::newRow("icon error") << "т; з; Ошибка; ОК"
                                << "т"
                                << "з" << 1 << "ОК"
                                << "";
    QTest::newRow("icon warning") << "т; з; Предупреждение; ОК"
                                  << "т"
                                  << "з" << 2 << "ОК"
                                  << "";
    QTest::newRow("icon information") << "т; з; Информация; ОК"
                                      << "т"
                                      << "з" << 3 << "ОК"
                                      << "";
    QTest::newRow("icon question") << "т; з; Вопрос; ОК"
                                   << "т"
                                   << "з" << 4 << "ОК"
                                   << "";
    QTest::newRow("no icon") << "т; з; Без значка; ОК"
                             << "т"
                             << "з" << 0 << "ОК"
                             << "";
    QTest::newRow("icon in lower case") << "т; з; вопрос; ОК"
                                        << "т"
                                        << "з" << 0 << "ОК"
                                        << "";
    QTest::newRow("icon with a space") << "т; з; Вопрос ; ОК"
                                       << "т"
                                       << "з" << 0 << "ОК"
                                       << "";
    QTest::newRow("unknown icon") << "т; з; Посылка; ОК"
                                  << "т"
                                  << "з" << 0 << "ОК"
                                  << "";

    QTest::newRow("set ОК and Отмена") << "т; з; Вопрос; ОК и Отмена"
                                       << "т"
                                       << "з" << 4 << "ОК"
                                       << "Отмена";
    QTest::newRow("set Да and Нет") << "т; з; Вопрос; Да и Нет"
                                    << "т"
                                    << "з" << 4 << "Да"
                                    << "Нет";
    QTest::newRow("third button dropped") << "т; з; Вопрос; Да, Нет и Отмена"
                                          << "т"
                                          << "з" << 4 << "Да"
                                          << "Нет";
    QTest::newRow("Latin OK") << "т; з; Вопрос; OK"
                              << "т"
                              << "з" << 4 << ""
                              << "";
    QTest::newRow("set in lower case") << "т; з; Вопрос; да и нет"
                                       << "т"
                                       << "з" << 4 << ""
                                       << "";
}

void TestLegacyImport::importsOneLine()
{
    QFETCH(QString, line);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    QFETCH(int, ico);
    QFETCH(QString, btn1);
    QFETCH(QString, btn2);

    QTemporaryDir dir;
    DialogProject project = earlierProject();
    QString error;
    QVERIFY2(ProjectIO::importLegacyProject(project, writeLegacy(dir, line + "\r\n"), &error),
             qPrintable(error));

    QCOMPARE(project.dialogCount(), qint16(1));
    const DialogRecord &dialog = project.record(1);
    QCOMPARE(trimmedRight(dialog.text), text);
    QCOMPARE(trimmedRight(dialog.caption), caption);
    QCOMPARE(dialog.ico, qint16(ico));
    QCOMPARE(trimmedRight(dialog.btn1), btn1);
    QCOMPARE(trimmedRight(dialog.btn2), btn2);
    QCOMPARE(dialog.type, qint16(DialogRecord::Message));
    QCOMPARE(dialog.time, qint16(0));
    QCOMPARE(trimmedRight(dialog.btnscr1), QStringLiteral("Идти Далее"));
    QCOMPARE(trimmedRight(dialog.btnscr2), QStringLiteral("Идти Далее"));

    // The header is a cleared record holding project style 0.
    DialogRecord header = DialogRecord::cleared();
    header.text = QStringLiteral("0");
    QCOMPARE(project.record(0).toBytes(), header.toBytes());
    QCOMPARE(project.record(0).projectStyle(), qint16(0));
    QCOMPARE(project.path(), QString());
}

void TestLegacyImport::acceptsEveryLineEnd_data()
{
    QTest::addColumn<QString>("content");
    const QString first = QStringLiteral("Один; А; Вопрос; ОК");
    const QString second = QStringLiteral("Два; Б; Ошибка; Да и Нет");
    QTest::newRow("CR LF") << first + "\r\n" + second + "\r\n";
    QTest::newRow("LF") << first + "\n" + second + "\n";
    QTest::newRow("CR") << first + "\r" + second + "\r";
    QTest::newRow("no final line end") << first + "\r\n" + second;
    QTest::newRow("mixed") << first + "\n" + second + "\r\n";
}

void TestLegacyImport::acceptsEveryLineEnd()
{
    QFETCH(QString, content);
    QTemporaryDir dir;
    DialogProject project = earlierProject();
    QVERIFY(ProjectIO::importLegacyProject(project, writeLegacy(dir, content)));
    QCOMPARE(project.dialogCount(), qint16(2));
    QCOMPARE(trimmedRight(project.record(1).text), QStringLiteral("Один"));
    QCOMPARE(trimmedRight(project.record(2).btn1), QStringLiteral("Да"));
    QCOMPARE(project.record(2).ico, qint16(1));
}

void TestLegacyImport::failsAtLine_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("dialogs");

    const QString good = QStringLiteral("Хорошо; А; Вопрос; ОК\r\n");
    QTest::newRow("three fields") << good + "Плохо; А; Вопрос\r\n" + good << 2 << 1;
    QTest::newRow("separators without spaces") << good + "а;б;в;г\r\n" << 2 << 1;
    // Without a complete line the dialog count stays as it was.
    QTest::newRow("first line short") << QStringLiteral("одно поле\r\n") + good << 1 << 7;
    QTest::newRow("100 lines") << numberedLines(100) << 100 << 99;
}

void TestLegacyImport::skipsBlankLines_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("dialogs");
    const QString good = QStringLiteral("Хорошо; А; Вопрос; ОК\r\n");
    QTest::newRow("empty line") << good + "\r\n" + good << 2;
    QTest::newRow("blank line at the end") << good + good + "\r\n" << 2;
    QTest::newRow("spaces only") << good + "   \r\n" + good << 2;
    QTest::newRow("99 lines and a blank one") << numberedLines(99) + "\r\n" << 99;
}

void TestLegacyImport::skipsBlankLines()
{
    QFETCH(QString, content);
    QFETCH(int, dialogs);
    QTemporaryDir dir;
    DialogProject project = earlierProject();
    QString error;
    QVERIFY2(ProjectIO::importLegacyProject(project, writeLegacy(dir, content), &error),
             qPrintable(error));
    QCOMPARE(project.dialogCount(), qint16(dialogs));
    // The header gets its style, so the project plays.
    QCOMPARE(trimmedRight(project.record(0).text), QStringLiteral("0"));
}

void TestLegacyImport::fileWithoutDialogsFails()
{
    QTemporaryDir dir;
    for (const QString &content : {QString(), QStringLiteral("\r\n\r\n")}) {
        DialogProject project = earlierProject();
        QString error;
        QVERIFY(!ProjectIO::importLegacyProject(project, writeLegacy(dir, content), &error));
        QVERIFY(!error.isEmpty());
    }
}

void TestLegacyImport::failsAtLine()
{
    QFETCH(QString, content);
    QFETCH(int, line);
    QFETCH(int, dialogs);

    QTemporaryDir dir;
    DialogProject project = earlierProject();
    const DialogRecord header = project.record(0);
    QString error;
    QVERIFY(!ProjectIO::importLegacyProject(project, writeLegacy(dir, content), &error));
    QVERIFY2(error.contains(QStringLiteral("line %1:").arg(line)), qPrintable(error));

    QCOMPARE(project.dialogCount(), qint16(dialogs));
    QCOMPARE(project.record(0), header);
    QCOMPARE(project.path(), QString());
    // The lines before the failing one are in; the failing line leaves its record as it was.
    for (int i = 1; i < line; ++i)
        QVERIFY(trimmedRight(project.record(i).text).startsWith(QStringLiteral("Хорошо")) ||
                trimmedRight(project.record(i).text) == QStringLiteral("Строка %1").arg(i));
    if (line <= 7)
        QCOMPARE(trimmedRight(project.record(line).text), QStringLiteral("Прежний %1").arg(line));
}

void TestLegacyImport::missingFileFails()
{
    QTemporaryDir dir;
    DialogProject project = earlierProject();
    QString error;
    QVERIFY(
        !ProjectIO::importLegacyProject(project, dir.filePath(QStringLiteral("no.dlg")), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(project.dialogCount(), qint16(7));
    QCOMPARE(project.path(), QString());
}

void TestLegacyImport::readErrorFails()
{
#ifdef Q_OS_LINUX
    // This process's own memory opens as a file, but reading it from offset 0 fails.
    const QString path = QStringLiteral("/proc/self/mem");
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly) || !probe.readAll().isEmpty() ||
        probe.error() == QFileDevice::NoError)
        QSKIP("reading /proc/self/mem does not fail here");
    DialogProject project = earlierProject();
    QString error;
    QVERIFY(!ProjectIO::importLegacyProject(project, path, &error));
    QVERIFY2(error.contains(probe.errorString()), qPrintable(error));
    QCOMPARE(project.dialogCount(), qint16(7));
#else
    QSKIP("needs a file that opens but cannot be read");
#endif
}

void TestLegacyImport::shippedSamplesImport_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("tester") << QStringLiteral("tester.dlg");
    QTest::newRow("trojan") << QStringLiteral("trojan.dlg");
    QTest::newRow("virus") << QStringLiteral("virus.dlg");
}

void TestLegacyImport::shippedSamplesImport()
{
    QFETCH(QString, name);
    DialogProject project = earlierProject();
    QString error;
    QVERIFY2(ProjectIO::importLegacyProject(
                 project, QStringLiteral(KQ_SOURCE_DIR "/data/Samples/") + name, &error),
             qPrintable(error));
    QVERIFY(project.dialogCount() >= 4 && project.dialogCount() <= 8);
    QSet<qint16> icons;
    for (int i = 1; i <= project.dialogCount(); ++i) {
        const DialogRecord &dialog = project.record(i);
        QVERIFY(!trimmedRight(dialog.text).isEmpty());
        QVERIFY(!trimmedRight(dialog.caption).isEmpty());
        // Every line names a known button set; a Latin "OK" would leave the window buttonless.
        QVERIFY2(!trimmedRight(dialog.btn1).isEmpty(), qPrintable(dialog.text));
        // Captions and texts fit their fields, so nothing is cut when the project is saved.
        QVERIFY(dialog.text.size() <= DialogRecord::TextWidth);
        QVERIFY(dialog.caption.size() <= DialogRecord::CaptionWidth);
        icons.insert(dialog.ico);
    }
    QVERIFY(icons.size() >= 3);
    QCOMPARE(trimmedRight(project.record(0).text), QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(TestLegacyImport)

#include "tst_legacyimport.moc"

#include "textsearch.h"

#include <QTest>

using namespace kq;
using Field = ProjectDocument::Field;

Q_DECLARE_METATYPE(kq::ProjectDocument::Field)

namespace {

// A project of one message step whose field holds the value.
DialogProject oneStep(Field field, const QString &value)
{
    DialogProject project;
    project.setDialogCount(1);
    DialogRecord &record = project.record(1);
    record = DialogRecord::cleared();
    record.btnscr1 = QStringLiteral("Выход");
    record.btnscr2 = QStringLiteral("Нет");
    ProjectDocument::fieldOf(record, field) = value;
    return project;
}

} // namespace

class TestTextSearch : public QObject
{
    Q_OBJECT

private slots:
    void findAndReplaceAll_data();
    void findAndReplaceAll();
    void placesLimitTheSearch();
    void replacingOneMatchLeavesTheOthers();
    void contextShowsTheLineAroundTheMatch();
};

void TestTextSearch::findAndReplaceAll_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("find");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<QString>("with");
    QTest::addColumn<int>("found");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<int>("unstorable");
    QTest::addColumn<int>("brokenScripts");

    const QString x40 = QString(40, u'x');
    // clang-format off
    QTest::newRow("any case") << Field::Caption << "Cat cat CAT" << "cat" << false << false << "dog" << 3 << "dog dog dog" << 0 << 0 << 0;
    QTest::newRow("match case") << Field::Caption << "Cat cat CAT" << "cat" << true << false << "dog" << 1 << "Cat dog CAT" << 0 << 0 << 0;
    QTest::newRow("cyrillic any case") << Field::Text << "Привет ПРИВЕТ привет" << "привет" << false << false << "пока" << 3 << "пока пока пока" << 0 << 0 << 0;
    QTest::newRow("cyrillic match case") << Field::Text << "Ёж ёж" << "ёж" << true << false << "еж" << 1 << "Ёж еж" << 0 << 0 << 0;
    QTest::newRow("cyrillic ё any case") << Field::Text << "ЁЖ" << "ёж" << false << false << "ух" << 1 << "ух" << 0 << 0 << 0;
    QTest::newRow("whole words latin") << Field::Caption << "cat cats scat cat_ cat." << "cat" << false << true << "dog" << 2 << "dog cats scat cat_ dog." << 0 << 0 << 0;
    QTest::newRow("whole words cyrillic") << Field::Caption << "кот котик скот Кот, кот1" << "кот" << false << true << "пёс" << 2 << "пёс котик скот пёс, кот1" << 0 << 0 << 0;
    QTest::newRow("whole words across lines") << Field::Text << "да\r\nда нет" << "да" << false << true << "ну" << 2 << "ну\r\nну нет" << 0 << 0 << 0;
    QTest::newRow("no overlap") << Field::Caption << "aaaa" << "aa" << false << false << "b" << 2 << "bb" << 0 << 0 << 0;
    QTest::newRow("longer replacement fills the caption") << Field::Caption << x40 + "ab" << "ab" << false << false << "0123456789" << 1 << x40 + "0123456789" << 0 << 0 << 0;
    QTest::newRow("past the caption width is skipped") << Field::Caption << x40 + "ab" << "ab" << false << false << "0123456789A" << 1 << x40 + "ab" << 1 << 0 << 0;
    QTest::newRow("a text's line break takes two places") << Field::Text << QString(508, u'y') + "\r\nab" << "ab" << false << false << "abc" << 1 << QString(508, u'y') + "\r\nab" << 1 << 0 << 0;
    QTest::newRow("button fills, then skips") << Field::Button1 << "a a a" << "a" << false << false << "bcdef" << 3 << "a bcdef bcdef" << 1 << 0 << 0;
    QTest::newRow("shorter replacement") << Field::Button1 << "abcdefghijklmno" << "bcd" << false << false << "" << 1 << "aefghijklmno" << 0 << 0 << 0;
    QTest::newRow("outside the code page") << Field::Caption << "a b" << "b" << false << false << "Ω😀x" << 1 << "a ??x" << 0 << 2 << 0;
    QTest::newRow("script broken") << Field::Script1 << "Выход" << "Выход" << false << false << "Куда-то" << 1 << "Куда-то" << 0 << 0 << 1;
    QTest::newRow("script still runs") << Field::Script1 << "Идти К 05" << "05" << false << false << "07" << 1 << "Идти К 07" << 0 << 0 << 0;
    QTest::newRow("nothing found") << Field::Caption << "abc" << "z" << false << false << "y" << 0 << "abc" << 0 << 0 << 0;
    QTest::newRow("empty search") << Field::Caption << "abc" << "" << false << false << "y" << 0 << "abc" << 0 << 0 << 0;
    // clang-format on
}

void TestTextSearch::findAndReplaceAll()
{
    QFETCH(Field, field);
    QFETCH(QString, value);
    QFETCH(QString, find);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWords);
    QFETCH(QString, with);
    QFETCH(int, found);
    QFETCH(QString, after);
    QFETCH(int, skipped);
    QFETCH(int, unstorable);
    QFETCH(int, brokenScripts);

    const DialogProject project = oneStep(field, value);
    SearchOptions options;
    options.text = find;
    options.matchCase = matchCase;
    options.wholeWords = wholeWords;
    const QList<TextMatch> matches = TextSearch::find(project, options);
    QCOMPARE(matches.size(), found);
    for (const TextMatch &match : matches) {
        QCOMPARE(match.field, field);
        QCOMPARE(TextSearch::fieldText(project.record(1), field)
                     .mid(match.start, match.length)
                     .compare(find, Qt::CaseInsensitive),
                 0);
    }

    const Replacement replacement = TextSearch::replace(project, matches, with);
    QCOMPARE(replacement.replaced, found - skipped);
    QCOMPARE(replacement.skipped, skipped);
    QCOMPARE(replacement.unstorable, unstorable);
    QCOMPARE(replacement.brokenScripts, brokenScripts);
    const DialogRecord result =
        replacement.records.isEmpty() ? project.record(1) : replacement.records.first().second;
    QCOMPARE(TextSearch::fieldText(result, field), after);
    // What the file will hold: never wider than the field.
    QVERIFY(ProjectDocument::fieldOf(result, field).size() <= ProjectDocument::fieldWidth(field));
}

void TestTextSearch::placesLimitTheSearch()
{
    DialogProject project = oneStep(Field::Caption, QStringLiteral("да"));
    project.record(1).text = QStringLiteral("да");
    project.record(1).btn1 = QStringLiteral("да");
    SearchOptions options;
    options.text = QStringLiteral("Да");
    QCOMPARE(TextSearch::find(project, options).size(), 3);
    options.places = SearchOptions::Texts;
    const QList<TextMatch> texts = TextSearch::find(project, options);
    QCOMPARE(texts.size(), 1);
    QCOMPARE(texts.first().field, Field::Text);
    options.places = SearchOptions::Scripts;
    options.text = QStringLiteral("выход");
    QCOMPARE(TextSearch::find(project, options).size(), 1);
    // A pause's first button shows a fixed caption: what the record holds there is not searched.
    project.record(1).type = DialogRecord::Pause;
    options.places = SearchOptions::ButtonCaptions;
    options.text = QStringLiteral("да");
    QVERIFY(TextSearch::find(project, options).isEmpty());
}

void TestTextSearch::replacingOneMatchLeavesTheOthers()
{
    const DialogProject project = oneStep(Field::Text, QStringLiteral("раз раз раз"));
    SearchOptions options;
    options.text = QStringLiteral("раз");
    const QList<TextMatch> matches = TextSearch::find(project, options);
    QCOMPARE(matches.size(), 3);
    const Replacement one = TextSearch::replace(project, {matches.at(1)}, QStringLiteral("два"));
    QCOMPARE(one.replaced, 1);
    QCOMPARE(TextSearch::fieldText(one.records.first().second, Field::Text),
             QStringLiteral("раз два раз"));
    // A match the project no longer has room for (it changed since) is ignored.
    const TextMatch stale{1, Field::Text, 20, 3};
    QCOMPARE(TextSearch::replace(project, {stale}, QStringLiteral("x")).replaced, 0);
}

void TestTextSearch::contextShowsTheLineAroundTheMatch()
{
    const QString text = QStringLiteral("Первая строка\r\nздесь нужное слово стоит, и дальше "
                                        "идёт длинный хвост текста\r\nтретья");
    const DialogProject project = oneStep(Field::Text, text);
    SearchOptions options;
    options.text = QStringLiteral("нужное");
    const QList<TextMatch> matches = TextSearch::find(project, options);
    QCOMPARE(matches.size(), 1);
    const QString shown = TextSearch::context(project.record(1), matches.first());
    QVERIFY2(shown.startsWith(QStringLiteral("здесь нужное слово")), qPrintable(shown));
    QVERIFY2(shown.endsWith(u'…'), qPrintable(shown));
    QVERIFY(!shown.contains(QStringLiteral("Первая")));
}

QTEST_GUILESS_MAIN(TestTextSearch)
#include "tst_textsearch.moc"

#include "buttonscript.h"

#include <QTest>

using namespace kq;

class TestButtonScript : public QObject
{
    Q_OBJECT

private slots:
    void normalize_data();
    void normalize();
    void normalizeEnglish_data();
    void normalizeEnglish();
    void interpret_data();
    void interpret();
    void noAction_data();
    void noAction();
    void goToPadsTwoDigits();
};

void TestButtonScript::normalize_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("canonical");
    const QString no = QStringLiteral("Нет");
    QTest::newRow("empty") << QString() << no;
    QTest::newRow("exit small") << QStringLiteral("выход") << QStringLiteral("Выход");
    QTest::newRow("exit with more words")
        << QStringLiteral("выход сейчас") << QStringLiteral("Выход");
    QTest::newRow("go next small") << QStringLiteral("идти далее") << QStringLiteral("Идти Далее");
    QTest::newRow("go next capitals")
        << QStringLiteral("ИДТИ ДАЛЕЕ") << QStringLiteral("Идти Далее");
    QTest::newRow("go next mixed") << QStringLiteral("Идти далее") << QStringLiteral("Идти Далее");
    QTest::newRow("go back + extra")
        << QStringLiteral("идти назад потом") << QStringLiteral("Идти Назад");
    QTest::newRow("go to two digits") << QStringLiteral("идти к 05") << QStringLiteral("Идти К 05");
    QTest::newRow("go to keeps target as typed")
        << QStringLiteral("Идти К ab") << QStringLiteral("Идти К ab");
    QTest::newRow("go to one digit") << QStringLiteral("Идти К 5") << no;
    QTest::newRow("go to three digits") << QStringLiteral("Идти К 123") << no;
    QTest::newRow("go to without target") << QStringLiteral("Идти К") << no;
    QTest::newRow("two spaces") << QStringLiteral("Идти  Далее") << no;
    QTest::newRow("go alone") << QStringLiteral("Идти") << no;
    QTest::newRow("go somewhere") << QStringLiteral("Идти домой") << no;
    QTest::newRow("latin look-alike") << QStringLiteral("Bыход") << no;
    QTest::newRow("leading space") << QStringLiteral(" Выход") << no;
    QTest::newRow("no action stays") << QStringLiteral("Нет") << no;
    QTest::newRow("nonsense") << QStringLiteral("hello") << no;
}

void TestButtonScript::normalizeEnglish_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("canonical");
    const QString no = QStringLiteral("Нет");
    QTest::newRow("exit") << QStringLiteral("exit") << QStringLiteral("Выход");
    QTest::newRow("EXIT") << QStringLiteral("EXIT") << QStringLiteral("Выход");
    QTest::newRow("exit with more words") << QStringLiteral("Exit now") << QStringLiteral("Выход");
    QTest::newRow("go next") << QStringLiteral("go next") << QStringLiteral("Идти Далее");
    QTest::newRow("Go Next, spaces around")
        << QStringLiteral("  Go   Next ") << QStringLiteral("Идти Далее");
    QTest::newRow("go back") << QStringLiteral("GO back") << QStringLiteral("Идти Назад");
    QTest::newRow("go to one digit") << QStringLiteral("go to 5") << QStringLiteral("Идти К 05");
    QTest::newRow("go to two digits") << QStringLiteral("Go To 42") << QStringLiteral("Идти К 42");
    QTest::newRow("go to 00 with spaces")
        << QStringLiteral(" go  to  00 ") << QStringLiteral("Идти К 00");
    QTest::newRow("go to three digits") << QStringLiteral("go to 123") << no;
    QTest::newRow("go to letters") << QStringLiteral("go to ab") << no;
    QTest::newRow("go to negative") << QStringLiteral("go to -1") << no;
    QTest::newRow("go to without target") << QStringLiteral("go to") << no;
    QTest::newRow("go alone") << QStringLiteral("go") << no;
    QTest::newRow("go home") << QStringLiteral("go home") << no;
    QTest::newRow("goto") << QStringLiteral("goto 5") << no;
    QTest::newRow("exits") << QStringLiteral("exits") << no;
    QTest::newRow("words mixed across languages") << QStringLiteral("go далее") << no;
    // The Russian words keep their own rules: single spaces and a two-character target.
    QTest::newRow("Russian two spaces") << QStringLiteral("Идти  Далее") << no;
    QTest::newRow("Russian one-digit target") << QStringLiteral("Идти К 5") << no;
}

void TestButtonScript::normalizeEnglish()
{
    QFETCH(QString, typed);
    QFETCH(QString, canonical);
    QCOMPARE(ButtonScript::normalize(typed), canonical);
}

void TestButtonScript::normalize()
{
    QFETCH(QString, typed);
    QFETCH(QString, canonical);
    QCOMPARE(ButtonScript::normalize(typed), canonical);
}

void TestButtonScript::interpret_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("next");
    QTest::newRow("exit") << QStringLiteral("Выход") << 3 << true << -1;
    QTest::newRow("exit capitals") << QStringLiteral("ВЫХОД") << 3 << true << -1;
    QTest::newRow("exit small") << QStringLiteral("выход") << 3 << true << -1;
    QTest::newRow("next") << QStringLiteral("Идти Далее") << 3 << true << 4;
    QTest::newRow("next small") << QStringLiteral("идти далее") << 3 << true << 4;
    QTest::newRow("back") << QStringLiteral("Идти Назад") << 1 << true << 0;
    QTest::newRow("go to 00") << QStringLiteral("Идти К 00") << 7 << true << 1;
    QTest::newRow("go to 05") << QStringLiteral("Идти К 05") << 1 << true << 6;
    QTest::newRow("any seven characters") << QStringLiteral("abcdefg12") << 1 << true << 13;
    QTest::newRow("target with spaces") << QStringLiteral("Идти К  7 ") << 1 << true << 8;
    QTest::newRow("negative target") << QStringLiteral("Идти К -5") << 1 << true << -4;
    QTest::newRow("letters") << QStringLiteral("Идти К ab") << 1 << false << 0;
    QTest::newRow("no action") << QStringLiteral("Нет") << 1 << false << 0;
    QTest::newRow("blank") << QString() << 1 << false << 0;
    QTest::newRow("target 32767 overflows") << QStringLiteral("Идти К 32767") << 1 << false << 0;
    QTest::newRow("target past 16 bits") << QStringLiteral("Идти К 99999") << 1 << false << 0;
    QTest::newRow("next past 16 bits") << QStringLiteral("Идти Далее") << 32767 << false << 0;
    QTest::newRow("back past 16 bits") << QStringLiteral("Идти Назад") << -32768 << false << 0;
}

void TestButtonScript::interpret()
{
    QFETCH(QString, script);
    QFETCH(int, position);
    QFETCH(bool, ok);
    QFETCH(int, next);
    const std::optional<qint16> result = ButtonScript::interpret(script, qint16(position));
    QCOMPARE(result.has_value(), ok);
    if (ok)
        QCOMPARE(int(*result), next);
}

void TestButtonScript::noAction_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("noAction");
    QTest::newRow("canonical") << QStringLiteral("Нет") << true;
    QTest::newRow("padded") << QStringLiteral("  Нет           ") << true;
    QTest::newRow("capitals") << QStringLiteral("НЕТ") << false;
    QTest::newRow("go next") << QStringLiteral("Идти Далее") << false;
    QTest::newRow("blank") << QStringLiteral("   ") << false;
}

void TestButtonScript::noAction()
{
    QFETCH(QString, script);
    QFETCH(bool, noAction);
    QCOMPARE(ButtonScript::isNoAction(script), noAction);
}

void TestButtonScript::goToPadsTwoDigits()
{
    QCOMPARE(ButtonScript::goTo(5), QStringLiteral("Идти К 05"));
    QCOMPARE(ButtonScript::goTo(42), QStringLiteral("Идти К 42"));
    QCOMPARE(ButtonScript::normalize(ButtonScript::goTo(9)), ButtonScript::goTo(9));
}

QTEST_GUILESS_MAIN(TestButtonScript)
#include "tst_buttonscript.moc"

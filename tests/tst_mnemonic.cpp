#include "mnemonic.h"

#include <QKeySequence>
#include <QTest>

using namespace kq;

class TestMnemonic : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
};

void TestMnemonic::split_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("parts"); // before, key, after
    QTest::newRow("none") << "Далее" << QStringList{"Далее", "", ""};
    QTest::newRow("first letter") << "&Да" << QStringList{"", "Д", "а"};
    QTest::newRow("inside") << "Fo&rward" << QStringList{"Fo", "r", "ward"};
    QTest::newRow("double is one ampersand") << "A && B" << QStringList{"A & B", "", ""};
    QTest::newRow("double before the key") << "&&a&b" << QStringList{"&a", "b", ""};
    QTest::newRow("only the first marks") << "&a&b" << QStringList{"", "a", "b"};
    QTest::newRow("trailing marker") << "ab&" << QStringList{"ab", "", ""};
}

void TestMnemonic::split()
{
    QFETCH(QString, caption);
    QFETCH(QStringList, parts);
    const MnemonicCaption split = splitMnemonic(caption);
    QCOMPARE((QStringList{split.before, split.key, split.after}), parts);
    // The caption reads the same split or whole, and Qt presses the same key with Alt.
    QCOMPARE(split.before + split.key + split.after, withoutMnemonic(caption));
    const QKeySequence qtKey = QKeySequence::mnemonic(caption);
    QCOMPARE(qtKey.isEmpty() ? QString() : QKeySequence(qtKey[0].key()).toString(),
             split.key.toUpper());
}

QTEST_GUILESS_MAIN(TestMnemonic)
#include "tst_mnemonic.moc"

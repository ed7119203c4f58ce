#include "raiserequests.h"
#include "testrun.h"

#include <QSignalSpy>
#include <QTest>

#include <unistd.h>

using namespace kq;

class TestRaiseRequests : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void countsWholeRequestLines_data();
    void countsWholeRequestLines();
    void stopsListeningAtEndOfInput();

private:
    bool send(const QByteArray &bytes) const
    {
        return ::write(mPipe[1], bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

    int mPipe[2] = {-1, -1};
};

void TestRaiseRequests::init()
{
    QCOMPARE(::pipe(mPipe), 0);
}

void TestRaiseRequests::cleanup()
{
    for (int &end : mPipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

void TestRaiseRequests::countsWholeRequestLines_data()
{
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<int>("requests");
    QTest::newRow("one") << QByteArrayList{RaiseRequest} << 1;
    QTest::newRow("split over two writes") << QByteArrayList{"rai", "se\n"} << 1;
    QTest::newRow("two in one write") << QByteArrayList{"raise\nraise\n"} << 2;
    QTest::newRow("other lines ignored") << QByteArrayList{"hello\nraise now\nraise\n"} << 1;
    QTest::newRow("line cut short") << QByteArrayList{"rais"} << 0;
    QTest::newRow("long junk before a request")
        << QByteArrayList{QByteArray(1000, 'x'), "\nraise\n"} << 1;
}

void TestRaiseRequests::countsWholeRequestLines()
{
    QFETCH(QByteArrayList, pieces);
    QFETCH(int, requests);
    RaiseRequests listener(mPipe[0]);
    QSignalSpy raised(&listener, &RaiseRequests::raiseRequested);

    for (const QByteArray &piece : pieces) {
        QVERIFY(send(piece));
        QTest::qWait(20);
    }
    // A request written after the others shows that everything before it was read.
    QVERIFY(send("\nraise\n"));
    QTRY_COMPARE(raised.size(), requests + 1);
    QTest::qWait(50);
    QCOMPARE(raised.size(), requests + 1);
}

void TestRaiseRequests::stopsListeningAtEndOfInput()
{
    RaiseRequests listener(mPipe[0]);
    QSignalSpy raised(&listener, &RaiseRequests::raiseRequested);
    QVERIFY(send(RaiseRequest));
    QTRY_COMPARE(raised.size(), 1);

    QVERIFY(listener.isListening());

    ::close(mPipe[1]);
    mPipe[1] = -1;
    // Left on at the end of the input, the notifier would fire without pause.
    QTRY_VERIFY(!listener.isListening());
    QCOMPARE(raised.size(), 1);
}

QTEST_GUILESS_MAIN(TestRaiseRequests)
#include "tst_raiserequests.moc"

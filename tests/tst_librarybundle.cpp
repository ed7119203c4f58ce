#include "librarybundle.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QTest>

using namespace kq;

namespace {

const QString Runner = QStringLiteral(KQ_APP_DIR "/Runner/run");

} // namespace

class TestLibraryBundle : public QObject
{
    Q_OBJECT

private slots:
    void leftToSystem_data();
    void leftToSystem();
    void runnerNeedsQtAndItsIcu();
    void librariesOfTheSystemAreNotFollowed();
    void missingLibraryIsNamed();
};

void TestLibraryBundle::leftToSystem_data()
{
    QTest::addColumn<QString>("soname");
    QTest::addColumn<bool>("left");
    QTest::newRow("C library") << "libc.so.6" << true;
    QTest::newRow("loader") << "ld-linux-x86-64.so.2" << true;
    QTest::newRow("name service") << "libnss_files.so.2" << true;
    QTest::newRow("C++ runtime") << "libstdc++.so.6" << true;
    QTest::newRow("compiler support") << "libgcc_s.so.1" << true;
    QTest::newRow("GL") << "libGL.so.1" << true;
    QTest::newRow("EGL") << "libEGL.so.1" << true;
    QTest::newRow("GLX") << "libGLX.so.0" << true;
    QTest::newRow("X11") << "libX11.so.6" << true;
    QTest::newRow("X11 authorisation") << "libXau.so.6" << true;
    QTest::newRow("xcb") << "libxcb.so.1" << true;
    QTest::newRow("xcb protocol extension") << "libxcb-randr.so.0" << true;
    QTest::newRow("fontconfig") << "libfontconfig.so.1" << true;
    QTest::newRow("zlib") << "libz.so.1" << true;
    QTest::newRow("Qt") << "libQt6Core.so.6" << false;
    QTest::newRow("ICU") << "libicuuc.so.72" << false;
    QTest::newRow("ICU data") << "libicudata.so.72" << false;
    QTest::newRow("xcb utility") << "libxcb-icccm.so.4" << false;
    QTest::newRow("xcb utility with a dash") << "libxcb-render-util.so.0" << false;
    QTest::newRow("keyboard tables") << "libxkbcommon.so.0" << false;
    QTest::newRow("glib") << "libglib-2.0.so.0" << false;
}

void TestLibraryBundle::leftToSystem()
{
    QFETCH(QString, soname);
    QFETCH(bool, left);
    QCOMPARE(isLeftToSystem(soname), left);
}

void TestLibraryBundle::runnerNeedsQtAndItsIcu()
{
    LibraryBundle bundle;
    QVERIFY2(bundle.add(Runner), qPrintable(bundle.errorString()));
    const QMap<QString, QString> libraries = bundle.libraries();
    for (const QString &name : {QStringLiteral("libQt6Core.so.6"), QStringLiteral("libQt6Gui.so.6"),
                                QStringLiteral("libQt6Widgets.so.6")})
        QVERIFY2(libraries.contains(name), qPrintable(name));
    for (const QString &prefix : {QStringLiteral("libicuuc.so."), QStringLiteral("libicui18n.so."),
                                  QStringLiteral("libicudata.so.")})
        QCOMPARE(libraries.keys().filter(prefix).size(), 1);
    for (auto library = libraries.cbegin(); library != libraries.cend(); ++library) {
        QVERIFY2(!isLeftToSystem(library.key()), qPrintable(library.key()));
        QVERIFY2(QFileInfo(library.value()).isFile(), qPrintable(library.value()));
    }
    const QStringList left = bundle.leftToSystem();
    QVERIFY(left.contains(QStringLiteral("libc.so.6")));
    QVERIFY(left.contains(QStringLiteral("libstdc++.so.6")));
}

void TestLibraryBundle::librariesOfTheSystemAreNotFollowed()
{
    // libXau is needed only by libxcb, which the system provides together with what it needs.
    LibraryBundle bundle;
    QVERIFY(bundle.add(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                       QStringLiteral("/platforms/libqxcb.so")));
    QVERIFY(bundle.leftToSystem().contains(QStringLiteral("libxcb.so.1")));
    QVERIFY(!bundle.leftToSystem().contains(QStringLiteral("libXau.so.6")));
    QVERIFY(bundle.libraries().contains(QStringLiteral("libQt6XcbQpa.so.6")));
    QVERIFY(bundle.libraries().contains(QStringLiteral("libxcb-icccm.so.4")));
}

void TestLibraryBundle::missingLibraryIsNamed()
{
    LibraryBundle bundle;
    QVERIFY(!bundle.add(QStringLiteral(KQ_NEEDY_LIBRARY)));
    QVERIFY2(bundle.errorString().contains(QStringLiteral("libkq_gone.so")),
             qPrintable(bundle.errorString()));
}

QTEST_GUILESS_MAIN(TestLibraryBundle)
#include "tst_librarybundle.moc"

#include "tst_mainwindowfixture.h"

#include "qttranslation.h"

#include <QLibraryInfo>

using namespace kq;
using namespace kq::MainWindowTest;

namespace {

QString cancel()
{
    return QCoreApplication::translate("QPlatformTheme", "Cancel");
}

bool russianInstalled()
{
    return QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ru.qm");
}

} // namespace

class TestQtTranslation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void follow_data();
    void follow();
    void failedLanguageSettingKeepsTheActiveLanguage_data();
    void failedLanguageSettingKeepsTheActiveLanguage();

private:
    QScopedPointer<ProgramFolder> mFolder;
};

void TestQtTranslation::initTestCase()
{
    if (!russianInstalled())
        QSKIP("Qt's Russian translation is not installed (Debian qt6-translations-l10n)");
    QVERIFY(renew(mFolder));
}

void TestQtTranslation::follow_data()
{
    QTest::addColumn<QString>("active");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("button");

    QTest::newRow("russian id") << "english.lang"
                                << "0"
                                << "Отмена";
    QTest::newRow("english id") << "russian.lang"
                                << "1"
                                << "Cancel";
    QTest::newRow("other id") << "russian.lang"
                              << "7"
                              << "Cancel";
    QTest::newRow("missing file, russian active") << "russian.lang"
                                                  << "ResErr2"
                                                  << "Отмена";
    QTest::newRow("missing file, english active") << "english.lang"
                                                  << "ResErr2"
                                                  << "Cancel";
    QTest::newRow("no header, russian active") << "russian.lang"
                                               << "ResErr3"
                                               << "Отмена";
    QTest::newRow("unreadable, russian active") << "russian.lang"
                                                << "75ResErrGen"
                                                << "Отмена";
}

void TestQtTranslation::follow()
{
    QFETCH(QString, active);
    QFETCH(QString, id);
    QFETCH(QString, button);

    QCOMPARE(languageHeaderValue(active, "GetFile"), active);
    // Start from the other language, so that following has something to change.
    QtTranslation::follow(button == "Cancel" ? "0" : "1");
    QtTranslation::follow(id);
    QCOMPARE(cancel(), button);
}

void TestQtTranslation::failedLanguageSettingKeepsTheActiveLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("button");

    QTest::newRow("russian") << "russian.lang"
                             << "Отмена";
    QTest::newRow("english") << "english.lang"
                             << "Cancel";
}

// The window keeps speaking the language it had when the setting names a file that is gone,
// and the buttons of Qt's boxes speak it with it.
void TestQtTranslation::failedLanguageSettingKeepsTheActiveLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, button);

    useSettings(language, "Themes/standart.tvth");
    ScriptedUi ui;
    MainWindow window(ui);
    const QString newCaption = child<KXButton>(&window, "sd0")->caption();
    QCOMPARE(cancel(), button);

    optionSetting(OptionWrite, OptionLanguage, "removed.lang");
    window.reapplySettings();
    QCOMPARE(child<KXButton>(&window, "sd0")->caption(), newCaption);
    QCOMPARE(cancel(), button);
}

QTEST_MAIN(TestQtTranslation)
#include "tst_qttranslation.moc"

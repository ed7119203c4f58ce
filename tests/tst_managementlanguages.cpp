#include "tst_managementfixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

using namespace kq;
using namespace kq::ManagementTest;

class TestManagementLanguages : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void stringRows_data();
    void stringRows();
    void scrollingMovesTheRows_data();
    void scrollingMovesTheRows();
    void wheelOverRowsScrolls_data();
    void wheelOverRowsScrolls();
    void informationBox();
    void languageIdentifier_data();
    void languageIdentifier();
    void deleteFollowsTheStatus_data();
    void deleteFollowsTheStatus();
    void otherButtonsStayDisabled();
    void choosingWritesTheSetting();
    void deleteLanguage_data();
    void deleteLanguage();
    void versionQuestion_data();
    void versionQuestion();

private:
    // Opens the window with the language file written under the given name and chooses it.
    std::unique_ptr<ManagementWindow> openWith(const QString &file, const QStringList &lines);
    // The same with ten entries whose rows read "Текст 0" to "Текст 9".
    std::unique_ptr<ManagementWindow> openWithTenRows();
    QLineEdit *row(int r) const;

    std::unique_ptr<Fixture> mFixture;
    std::unique_ptr<ManagementWindow> mWindow;
    QComboBox *mList = nullptr;
};

void TestManagementLanguages::init()
{
    mFixture = std::make_unique<Fixture>();
    QVERIFY(mFixture->ready());
}

void TestManagementLanguages::cleanup()
{
    mWindow.reset();
    mFixture.reset();
}

std::unique_ptr<ManagementWindow> TestManagementLanguages::openWith(const QString &file,
                                                                    const QStringList &lines)
{
    if (!mFixture->write("Languages/" + file, lines))
        qFatal("cannot write %s", qPrintable(file));
    auto window = mFixture->open();
    mList = child<QComboBox>(window.get(), "langlist");
    choose(mList, int(listedLanguages(window.get()).indexOf(file)));
    return window;
}

std::unique_ptr<ManagementWindow> TestManagementLanguages::openWithTenRows()
{
    QStringList entries;
    for (int i = 0; i < 10; ++i)
        entries << "%" + QString::number(i + 1).rightJustified(4, '0') + ", Текст " +
                       QString::number(i);
    return openWith("test.lang", languageLines("Test", "2.0", "User", "0", "Tester", entries));
}

QLineEdit *TestManagementLanguages::row(int r) const
{
    return child<QLineEdit>(mWindow.get(), "ln_st" + QString::number(r));
}

void TestManagementLanguages::stringRows_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("three entries")
        << QStringList{"%0001, Создать", "%0002, Открыть", "%0003, Сохранить"}
        << QStringList{"Создать", "Открыть", "Сохранить"};
    QTest::newRow("no space after the comma loses a character")
        << QStringList{"%0001,Создать", "%0002,  Открыть"} << QStringList{"оздать", " Открыть"};
    QTest::newRow("field characters are shown as written")
        << QStringList{"%0216, Первое\\ второе#третье, хвост"}
        << QStringList{"Первое\\ второе#третье, хвост"};
    QTest::newRow("only lines starting with %")
        << QStringList{"%0001, Один", "", "; comment", ".Open, Открыть", "%0002, Два"}
        << QStringList{"Один", "Два"};
    QTest::newRow("no entries shows one empty row") << QStringList{} << QStringList{""};
    QTest::newRow("id alone") << QStringList{"%0001"} << QStringList{""};
}

void TestManagementLanguages::stringRows()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, shown);
    mWindow = openWith("test.lang", languageLines("Test", "2.0", "User", "0", "Tester", entries));
    auto *scroll = child<QScrollBar>(mWindow.get(), "ln_scroll");
    QCOMPARE(scroll->minimum(), 0);
    QCOMPARE(scroll->maximum(), int(shown.size()) - 1);
    for (int r = 0; r < 7; ++r) {
        QCOMPARE(!row(r)->isHidden(), r < shown.size());
        if (r < shown.size())
            QCOMPARE(row(r)->text(), shown.at(r));
    }
}

void TestManagementLanguages::scrollingMovesTheRows_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("visible");
    QTest::newRow("top") << 0 << 7;
    QTest::newRow("middle") << 2 << 7;
    QTest::newRow("near the end") << 5 << 5;
    QTest::newRow("last entry alone") << 9 << 1;
}

void TestManagementLanguages::scrollingMovesTheRows()
{
    QFETCH(int, value);
    QFETCH(int, visible);
    mWindow = openWithTenRows();
    auto *scroll = child<QScrollBar>(mWindow.get(), "ln_scroll");
    QCOMPARE(scroll->maximum(), 9);
    scroll->setValue(value);
    for (int r = 0; r < 7; ++r) {
        QCOMPARE(!row(r)->isHidden(), r < visible);
        if (r < visible)
            QCOMPARE(row(r)->text(), QString("Текст %1").arg(value + r));
    }
}

void TestManagementLanguages::wheelOverRowsScrolls_data()
{
    QTest::addColumn<int>("notches"); // positive: towards the end of the list
    QTest::addColumn<int>("value");
    QTest::newRow("one notch down") << 1 << 3;
    QTest::newRow("past the end") << 5 << 9;
    QTest::newRow("up from the top") << -1 << 0;
}

void TestManagementLanguages::wheelOverRowsScrolls()
{
    QFETCH(int, notches);
    QFETCH(int, value);
    mWindow = openWithTenRows();
    auto *scroll = child<QScrollBar>(mWindow.get(), "ln_scroll");

    for (int i = 0; i < std::abs(notches); ++i) {
        const QPointF at(5, 5);
        QWheelEvent wheel(at, row(1)->mapToGlobal(at), {}, {0, notches < 0 ? 120 : -120},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(row(1), &wheel);
    }

    QCOMPARE(scroll->value(), value);
    QCOMPARE(row(0)->text(), QString("Текст %1").arg(value));
}

void TestManagementLanguages::informationBox()
{
    mWindow = openWith("test.lang", languageLines("Тестовый", "2.0", "User", "0", "Иван Петров"));
    QCOMPARE(child<QPlainTextEdit>(mWindow.get(), "ln_info")->toPlainText(),
             languageText(TextId::LanguageNameLabel) + "\n Тестовый\n" +
                 languageText(TextId::LanguageAuthorLabel) + "\n Иван Петров");
}

void TestManagementLanguages::languageIdentifier_data()
{
    QTest::addColumn<QString>("resId");
    QTest::addColumn<int>("entry");
    QTest::newRow("Russian") << "0" << 0;
    QTest::newRow("English") << "1" << 1;
    QTest::newRow("unknown number") << "7" << -1;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("not a number") << "en" << -1;
}

void TestManagementLanguages::languageIdentifier()
{
    QFETCH(QString, resId);
    QFETCH(int, entry);
    mWindow = openWith("test.lang", languageLines("Test", "2.0", "User", resId));
    auto *ids = child<QComboBox>(mWindow.get(), "ln_id");
    QCOMPARE(ids->count(), 2);
    QCOMPARE(ids->itemText(0), languageText(TextId::LanguageRussian));
    QCOMPARE(ids->itemText(1), languageText(TextId::LanguageEnglish));
    QCOMPARE(ids->currentIndex(), entry);
}

void TestManagementLanguages::deleteFollowsTheStatus_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("deletable");
    QTest::newRow("program language") << "General" << false;
    QTest::newRow("user language") << "User" << true;
    QTest::newRow("any other status") << "Beta" << true;
}

void TestManagementLanguages::deleteFollowsTheStatus()
{
    QFETCH(QString, status);
    QFETCH(bool, deletable);
    mWindow = openWith("test.lang", languageLines("Test", "2.0", status));
    auto *button = child<QPushButton>(mWindow.get(), "ln_cont1");
    QCOMPARE(button->isEnabled(), deletable);
    QCOMPARE(button->toolTip(), languageText(TextId::DeleteLanguage));
}

void TestManagementLanguages::otherButtonsStayDisabled()
{
    mWindow = openWith("test.lang", languageLines("Test"));
    QVERIFY(!child<QPushButton>(mWindow.get(), "ln_cont0")->isEnabled());
    QVERIFY(!child<QPushButton>(mWindow.get(), "ln_cont2")->isEnabled());
}

void TestManagementLanguages::choosingWritesTheSetting()
{
    mWindow = openWith("test.lang", languageLines("Test"));
    QCOMPARE(optionSetting(OptionRead, OptionLanguage), QString("test.lang"));
    // The window keeps the texts it was opened with.
    QCOMPARE(activeLanguageFile(), QString("russian.lang"));
    choose(mList, 0);
    QCOMPARE(optionSetting(OptionRead, OptionLanguage), QString("english.lang"));
    QVERIFY(mFixture->ui.messages.isEmpty());
}

void TestManagementLanguages::deleteLanguage_data()
{
    QTest::addColumn<UiServices::Answer>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("yes") << UiServices::Answer::Yes << true;
    QTest::newRow("no") << UiServices::Answer::No << false;
}

void TestManagementLanguages::deleteLanguage()
{
    QFETCH(UiServices::Answer, answer);
    QFETCH(bool, deleted);
    mWindow = openWith("mine.lang", languageLines("Моя"));
    mWindow->show();
    mFixture->ui.answers << answer;
    QTest::mouseClick(child<QPushButton>(mWindow.get(), "ln_cont1"), Qt::LeftButton);

    QCOMPARE(mFixture->ui.messages.size(), 1);
    QCOMPARE(mFixture->ui.messages.first().text,
             languageText(TextId::DeleteSelectedQuestion) + "\nМоя*");
    QCOMPARE(mFixture->ui.messages.first().title, languageText(TextId::TabLanguages));
    QCOMPARE(mFixture->ui.messages.first().icon, UiServices::Icon::Question);
    QCOMPARE(QFile::exists(mFixture->path("Languages/mine.lang")), !deleted);
    QCOMPARE(listedLanguages(mWindow.get()).contains("mine.lang"), !deleted);
    // After a deletion the first remaining language is selected and becomes the setting.
    QCOMPARE(optionSetting(OptionRead, OptionLanguage), deleted ? "english.lang" : "mine.lang");
    QCOMPARE(mList->currentText(), deleted ? mList->itemText(0) : QString("Моя*"));
    // The list marks the user's own file with "*"; the information box gives the name alone.
    QCOMPARE(child<QPlainTextEdit>(mWindow.get(), "ln_info")->toPlainText().section('\n', 1, 1),
             " " + mList->currentText().chopped(deleted ? 0 : 1));
}

void TestManagementLanguages::versionQuestion_data()
{
    QTest::addColumn<QList<UiServices::Answer>>("answers");
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<QString>("setting");
    QTest::newRow("no goes on with the language")
        << QList<UiServices::Answer>{UiServices::Answer::No} << false << "mine.lang";
    QTest::newRow("yes, then yes deletes")
        << QList<UiServices::Answer>{UiServices::Answer::Yes, UiServices::Answer::Yes} << true
        << "english.lang";
    QTest::newRow("yes, then no keeps everything")
        << QList<UiServices::Answer>{UiServices::Answer::Yes, UiServices::Answer::No} << false
        << "russian.lang";
}

void TestManagementLanguages::versionQuestion()
{
    QFETCH(QList<UiServices::Answer>, answers);
    QFETCH(bool, deleted);
    QFETCH(QString, setting);
    QVERIFY(mFixture->write("Languages/mine.lang", languageLines("Моя")));
    mWindow = mFixture->open();
    mList = child<QComboBox>(mWindow.get(), "langlist");
    // The file changes after it was listed.
    QVERIFY(mFixture->write("Languages/mine.lang", languageLines("Моя", "1.9")));
    for (UiServices::Answer answer : answers)
        mFixture->ui.answers << answer;
    choose(mList, int(listedLanguages(mWindow.get()).indexOf("mine.lang")));

    QCOMPARE(mFixture->ui.messages.size(), answers.size());
    const ScriptedUi::Message question = mFixture->ui.messages.first();
    QCOMPARE(question.text, languageText(TextId::LanguageVersionBefore) + "1.9" +
                                languageText(TextId::LanguageVersionAfter));
    QCOMPARE(question.title, languageText(TextId::TabLanguages));
    QCOMPARE(question.icon, UiServices::Icon::Warning);
    QCOMPARE(question.buttons, UiServices::Buttons::YesNo);
    QCOMPARE(QFile::exists(mFixture->path("Languages/mine.lang")), !deleted);
    QCOMPARE(optionSetting(OptionRead, OptionLanguage), setting);
}

QTEST_MAIN(TestManagementLanguages)
#include "tst_managementlanguages.moc"

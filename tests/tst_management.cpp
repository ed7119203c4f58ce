#include "tst_managementfixture.h"

#include "productinfo.h"
#include "qttranslation.h"
#include "theme.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>

using namespace kq;
using namespace kq::ManagementTest;

class TestManagement : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnTheLanguagePanel();
    void captionsComeFromTheLanguage_data();
    void captionsComeFromTheLanguage();
    void listsUseTheFixedPitchFont();
    void pictureButtonsShowTheirPictures();
    void tabShowsItsPanel_data();
    void tabShowsItsPanel();
    void unknownTabCaptionShowsNoPanel();
    void commonButtons_data();
    void commonButtons();
    void closeButtonClosesTheWindow();

    void themeList_data();
    void themeList();
    void themePreselection_data();
    void themePreselection();
    void languageList_data();
    void languageList();
    void pluginList_data();
    void pluginList();
    void downloadTabsFillNoList();
    void startupPictureCanBeTurnedOff();
    void unopenedAddressIsShownInTheWindow_data();
    void unopenedAddressIsShownInTheWindow();
    void tabFollowsTheScreen_data();
    void tabFollowsTheScreen();

private:
    std::unique_ptr<Fixture> mFixture;
};

void TestManagement::init()
{
    mFixture = std::make_unique<Fixture>();
    QVERIFY(mFixture->ready());
}

void TestManagement::cleanup()
{
    mFixture.reset();
}

static QList<int> visiblePanels(QWidget *window)
{
    QList<int> shown;
    for (int i = 0; i < 4; ++i) {
        if (!child<QWidget>(window, "frm" + QString::number(i))->isHidden())
            shown << i;
    }
    return shown;
}

void TestManagement::opensOnTheLanguagePanel()
{
    auto window = mFixture->open();
    QCOMPARE(window->objectName(), QString("store"));
    QCOMPARE(window->windowTitle(), QString("Управление программой"));
    auto *tabs = child<QTabBar>(window.get(), "maintab");
    QCOMPARE(tabs->count(), 5);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(tabs->tabText(i), languageText("%020" + QString::number(i + 1)));
    QCOMPARE(visiblePanels(window.get()), QList<int>{0});
    // The language list is filled and the active language preselected.
    QCOMPARE(listedLanguages(window.get()), (QStringList{"english.lang", "russian.lang"}));
    QCOMPARE(child<QComboBox>(window.get(), "langlist")->currentIndex(), 1);
    QVERIFY(listedThemes(window.get()).isEmpty());
    QCOMPARE(window->minimumSize(), window->maximumSize());
}

void TestManagement::captionsComeFromTheLanguage_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("id");
    QTest::newRow("help") << "btns0"
                          << "%0011";
    QTest::newRow("close") << "btns1"
                           << "%0010";
    QTest::newRow("language id label") << "ln_desc"
                                       << "%0210";
    QTest::newRow("colour label") << "Label2"
                                  << "%0211";
    QTest::newRow("preview label") << "Label1"
                                   << "%0212";
    QTest::newRow("active label sample") << "th_lbl_act"
                                         << "%0213";
    QTest::newRow("inactive label sample") << "th_lbl_dact"
                                           << "%0214";
    QTest::newRow("plug-in label") << "pl_lbl"
                                   << "%0215";
    QTest::newRow("downloads text") << "ad_lbl"
                                    << "%0216";
    QTest::newRow("web page button") << "ad_down"
                                     << "%0217";
    QTest::newRow("run") << "pl_cont0"
                         << "%0220";
    QTest::newRow("delete plug-in") << "pl_cont1"
                                    << "%0221";
}

void TestManagement::captionsComeFromTheLanguage()
{
    QFETCH(QString, control);
    QFETCH(QString, id);
    QCOMPARE(languageHeaderValue("english.lang", "GetFile"), QString("english.lang"));
    auto window = mFixture->open();
    QWidget *widget = child<QWidget>(window.get(), control);
    const QString text = qobject_cast<QLabel *>(widget)
                             ? static_cast<QLabel *>(widget)->text()
                             : qobject_cast<QAbstractButton *>(widget)->text();
    QCOMPARE(text, languageText(id));
    QVERIFY(!text.startsWith("%"));
}

void TestManagement::listsUseTheFixedPitchFont()
{
    auto window = mFixture->open();
    QStringList controls{"langlist",   "ln_id",       "ln_info",  "themelist", "theme_item",
                         "th_txt_act", "th_txt_dact", "pluglist", "pl_info"};
    for (int r = 0; r < 7; ++r)
        controls << "ln_st" + QString::number(r);
    for (const QString &name : controls) {
        const QFont font = child<QWidget>(window.get(), name)->font();
        QVERIFY2(font.family() == "Courier New" && font.styleHint() == QFont::Monospace,
                 qPrintable(name));
    }
    QCOMPARE(child<QWidget>(window.get(), "btns0")->font().family(), window->font().family());
}

void TestManagement::pictureButtonsShowTheirPictures()
{
    auto window = mFixture->open();
    for (const QString prefix : {"ln_cont", "th_cont"}) {
        for (int i = 0; i < 3; ++i) {
            const QString name = prefix + QString::number(i);
            QVERIFY2(!child<QPushButton>(window.get(), name)->icon().isNull(), qPrintable(name));
        }
    }
}

void TestManagement::tabShowsItsPanel_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("panel");
    QTest::newRow("languages") << 0 << 0;
    QTest::newRow("themes") << 1 << 1;
    QTest::newRow("plug-ins") << 2 << 2;
    QTest::newRow("downloads") << 3 << 3;
    QTest::newRow("updates show the downloads too") << 4 << 3;
}

void TestManagement::tabShowsItsPanel()
{
    QFETCH(int, tab);
    QFETCH(int, panel);
    auto window = mFixture->open();
    auto *tabs = child<QTabBar>(window.get(), "maintab");
    // Start from a downloads tab, which fills nothing, so that every row changes the tab.
    tabs->setCurrentIndex(tab == 3 ? 4 : 3);
    tabs->setCurrentIndex(tab);
    QCOMPARE(visiblePanels(window.get()), QList<int>{panel});
    QCOMPARE(listedThemes(window.get()).size(), tab == 1 ? 3 : 0);
    QCOMPARE(listedPlugins(window.get()).size(), tab == 2 ? 1 : 0);
}

void TestManagement::unknownTabCaptionShowsNoPanel()
{
    auto window = mFixture->open();
    auto *tabs = child<QTabBar>(window.get(), "maintab");
    tabs->setTabText(2, "Something else");
    tabs->setCurrentIndex(2);
    QCOMPARE(visiblePanels(window.get()), QList<int>{});
    QVERIFY(listedPlugins(window.get()).isEmpty());
}

void TestManagement::commonButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("localFile");
    QTest::addColumn<bool>("readmeMissing");
    QTest::newRow("help opens the read-me") << "btns0" << true << false;
    QTest::newRow("help without a read-me opens nothing") << "btns0" << true << true;
    QTest::newRow("downloads open the web page") << "ad_down" << false << false;
}

void TestManagement::commonButtons()
{
    QFETCH(QString, button);
    QFETCH(bool, localFile);
    QFETCH(bool, readmeMissing);
    if (readmeMissing)
        QVERIFY(QFile::remove(mFixture->path("readme.txt")));
    auto window = mFixture->open();
    child<QTabBar>(window.get(), "maintab")->setCurrentIndex(3);
    window->show();
    QTest::mouseClick(child<QPushButton>(window.get(), button), Qt::LeftButton);
    QVERIFY(window->isVisible());
    QVERIFY(mFixture->ui.messages.isEmpty());
    if (readmeMissing) {
        QVERIFY(mFixture->ui.urls.isEmpty());
        return;
    }
    QCOMPARE(mFixture->ui.urls.size(), 1);
    const QUrl expected =
        localFile ? QUrl::fromLocalFile(mFixture->path("readme.txt")) : QUrl(ProductWebPage);
    QCOMPARE(mFixture->ui.urls.first(), expected);
}

void TestManagement::closeButtonClosesTheWindow()
{
    auto window = mFixture->open();
    window->show();
    QTest::mouseClick(child<QPushButton>(window.get(), "btns1"), Qt::LeftButton);
    QVERIFY(!window->isVisible());
    QVERIFY(mFixture->ui.messages.isEmpty());
}

void TestManagement::themeList_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QList<QStringList>>("contents");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("listed");

    QTest::newRow("three good themes in name order")
        << QStringList{"c.tvth", "a.tvth", "b.tvth"}
        << QList<QStringList>{themeLines("Gamma"), themeLines("Alpha", "2.0", "General"),
                              themeLines("Beta")}
        << QStringList{"Alpha", "Beta*", "Gamma*"} << QStringList{"a.tvth", "b.tvth", "c.tvth"};
    QTest::newRow("second with another version stops the list")
        << QStringList{"a.tvth", "b.tvth", "c.tvth"}
        << QList<QStringList>{themeLines("Alpha"), themeLines("Beta", "1.0"), themeLines("Gamma")}
        << QStringList{"Alpha*"} << QStringList{"a.tvth"};
    QTest::newRow("user theme and program theme of one name")
        << QStringList{"mine.tvth", "soft.tvth"}
        << QList<QStringList>{themeLines("Soft"), themeLines("Soft", "2.0", "Program")}
        << QStringList{"Soft*", "Soft"} << QStringList{"mine.tvth", "soft.tvth"};
    QTest::newRow("damaged first file hides everything")
        << QStringList{"a.tvth", "b.tvth"}
        << QList<QStringList>{QStringList{"!KestraneDevelopment10", "!LanguageFile"},
                              themeLines("Beta")}
        << QStringList{} << QStringList{};
    QTest::newRow("other extensions are not themes")
        << QStringList{"a.tvth", "b.txt"}
        << QList<QStringList>{themeLines("Alpha"), themeLines("Beta")} << QStringList{"Alpha*"}
        << QStringList{"a.tvth"};
    QTest::newRow("empty folder") << QStringList{} << QList<QStringList>{} << QStringList{}
                                  << QStringList{};
}

void TestManagement::themeList()
{
    QFETCH(QStringList, files);
    QFETCH(QList<QStringList>, contents);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, listed);
    emptyFolder(mFixture->path("Themes"));
    for (int i = 0; i < files.size(); ++i)
        QVERIFY(mFixture->write("Themes/" + files.at(i), contents.at(i)));

    auto window = mFixture->open();
    showPage(window.get(), 1);
    QCOMPARE(comboTexts(child<QComboBox>(window.get(), "themelist")), shown);
    QStringList paths;
    for (const QString &file : listed)
        paths << mFixture->path("Themes/" + file);
    QCOMPARE(listedThemes(window.get()), paths);
    QVERIFY(mFixture->ui.messages.isEmpty());
}

void TestManagement::themePreselection_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("selected");
    QTest::newRow("default theme") << "Themes/standart.tvth" << 2;
    QTest::newRow("first theme") << "Themes/night.tvth" << 0;
    QTest::newRow("missing theme") << "Themes/gone.tvth" << -1;
    QTest::newRow("no setting") << "" << -1;
    // Kept from before the program folder moved: the theme of that name where it is now.
    QTest::newRow("moved program folder") << "/moved/away/Themes/standart.tvth" << 2;
}

void TestManagement::themePreselection()
{
    QFETCH(QString, setting);
    QFETCH(int, selected);
    const QString given =
        setting.isEmpty() || setting.startsWith(u'/') ? setting : mFixture->path(setting);
    optionSetting(OptionWrite, OptionTheme, given);

    auto window = mFixture->open();
    showPage(window.get(), 1);
    auto *list = child<QComboBox>(window.get(), "themelist");
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->currentIndex(), selected);
    if (selected < 0) {
        QCOMPARE(optionSetting(OptionRead, OptionTheme), given);
        return;
    }
    const QString path = listedThemes(window.get()).at(selected);
    QCOMPARE(optionSetting(OptionRead, OptionTheme), path);
    // The selection handler ran: the working set holds the preselected theme's colours.
    QCOMPARE(themeHeaderValue(path, "GetFile"), path);
    QCOMPARE(shownColors(window.get()), activeColors());
}

void TestManagement::languageList_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QList<QStringList>>("contents");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("selected");

    const QList<QStringList> twoGood{languageLines("Alpha", "2.0", "General"),
                                     languageLines("Beta")};
    QTest::newRow("user language marked, setting preselected")
        << QStringList{"a.lang", "b.lang"} << twoGood << "b.lang" << QStringList{"Alpha", "Beta*"}
        << 1;
    QTest::newRow("setting names no listed file")
        << QStringList{"a.lang", "b.lang"} << twoGood << "c.lang" << QStringList{"Alpha", "Beta*"}
        << -1;
    QTest::newRow("invalid language of the setting is not preselected")
        << QStringList{"a.lang", "b.lang", "c.lang"}
        << QList<QStringList>{languageLines("Alpha"), languageLines("Beta", "1.5"),
                              languageLines("Gamma")}
        << "b.lang" << QStringList{"Alpha*"} << -1;
    QTest::newRow("damaged header stops the list")
        << QStringList{"a.lang", "b.lang"}
        << QList<QStringList>{languageLines("Alpha"),
                              QStringList{"!KestraneDevelopment10", "!RescourceFile", "[Language]",
                                          "ResId=0", "Name=Beta"}}
        << "a.lang" << QStringList{"Alpha*"} << 0;
}

void TestManagement::languageList()
{
    QFETCH(QStringList, files);
    QFETCH(QList<QStringList>, contents);
    QFETCH(QString, setting);
    QFETCH(QStringList, shown);
    QFETCH(int, selected);
    emptyFolder(mFixture->path("Languages"));
    for (int i = 0; i < files.size(); ++i)
        QVERIFY(mFixture->write("Languages/" + files.at(i), contents.at(i)));
    optionSetting(OptionWrite, OptionLanguage, setting);

    // Opening fills the language list; the tabs could not be told apart any more, their
    // captions' language file being gone.
    auto window = mFixture->open();
    auto *list = child<QComboBox>(window.get(), "langlist");
    QCOMPARE(comboTexts(list), shown);
    QCOMPARE(listedLanguages(window.get()), files.first(shown.size()));
    QCOMPARE(list->currentIndex(), selected);
    QCOMPARE(optionSetting(OptionRead, OptionLanguage), setting);
    QVERIFY(mFixture->ui.messages.isEmpty());
}

void TestManagement::pluginList_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QList<QStringList>>("contents");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<bool>("buttons");
    QTest::addColumn<QString>("author");

    QTest::newRow("empty folder") << QStringList{} << QList<QStringList>{} << QStringList{} << false
                                  << "";
    QTest::newRow("two plug-ins, the first selected")
        << QStringList{"b.tvpl", "a.tvpl"}
        << QList<QStringList>{pluginLines("Second", "2.0", "Bob"),
                              pluginLines("First", "2.0", "Ann")}
        << QStringList{"First", "Second"} << true << "Ann";
    QTest::newRow("refused first file still enables the buttons")
        << QStringList{"a.tvpl", "b.tvpl"}
        << QList<QStringList>{pluginLines("First", "1.0"), pluginLines("Second")} << QStringList{}
        << true << "";
    QTest::newRow("no user mark for plug-ins")
        << QStringList{"a.tvpl"} << QList<QStringList>{pluginLines("User")} << QStringList{"User"}
        << true << "Tester";
}

void TestManagement::pluginList()
{
    QFETCH(QStringList, files);
    QFETCH(QList<QStringList>, contents);
    QFETCH(QStringList, shown);
    QFETCH(bool, buttons);
    QFETCH(QString, author);
    emptyFolder(mFixture->path("Plugins"));
    for (int i = 0; i < files.size(); ++i)
        QVERIFY(mFixture->write("Plugins/" + files.at(i), contents.at(i)));

    auto window = mFixture->open();
    QVERIFY(!child<QPushButton>(window.get(), "pl_cont0")->isEnabled());
    showPage(window.get(), 2);
    auto *list = child<QListWidget>(window.get(), "pluglist");
    QCOMPARE(listTexts(list), shown);
    QCOMPARE(list->currentRow(), shown.isEmpty() ? -1 : 0);
    QCOMPARE(child<QPushButton>(window.get(), "pl_cont0")->isEnabled(), buttons);
    QCOMPARE(child<QPushButton>(window.get(), "pl_cont1")->isEnabled(), buttons);
    // The first entry's selection handler filled the information box.
    const QString info = child<QPlainTextEdit>(window.get(), "pl_info")->toPlainText();
    QCOMPARE(info.section('\n', 1, 1), author);
}

void TestManagement::downloadTabsFillNoList()
{
    auto window = mFixture->open();
    const QStringList languages = listedLanguages(window.get());
    for (int tab : {3, 4, 3}) {
        child<QTabBar>(window.get(), "maintab")->setCurrentIndex(tab);
        QCOMPARE(listedLanguages(window.get()), languages);
        QVERIFY(listedThemes(window.get()).isEmpty());
        QVERIFY(listedPlugins(window.get()).isEmpty());
    }
}

void TestManagement::startupPictureCanBeTurnedOff()
{
    auto window = mFixture->open();
    auto *box = child<QCheckBox>(window.get(), "chk_splash");
    QVERIFY(box->isChecked());
    QVERIFY(!box->text().isEmpty() && !box->text().startsWith('%'));
    box->click();
    QCOMPARE(optionSetting(OptionRead, OptionStartupPicture), QString("0"));
    // The next time the window opens it shows the stored choice.
    window = mFixture->open();
    box = child<QCheckBox>(window.get(), "chk_splash");
    QVERIFY(!box->isChecked());
    box->click();
    QCOMPARE(optionSetting(OptionRead, OptionStartupPicture), QString("1"));
}

void TestManagement::unopenedAddressIsShownInTheWindow_data()
{
    QTest::addColumn<bool>("starts");     // a handler for the address starts
    QTest::addColumn<bool>("failsLater"); // and then says it could not open it
    QTest::newRow("no handler") << false << false;
    QTest::newRow("handler fails") << true << true;
    QTest::newRow("opened") << true << false;
}

// The downloads page says in plain sight that its address could not be opened, and offers the
// address to copy.
void TestManagement::unopenedAddressIsShownInTheWindow()
{
    QFETCH(bool, starts);
    QFETCH(bool, failsLater);
    mFixture->ui.urlsOpen = starts;
    mFixture->ui.urlsFailLater = failsLater;
    auto window = mFixture->open();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    child<QTabBar>(window.get(), "maintab")->setCurrentIndex(3);
    QTest::mouseClick(child<QPushButton>(window.get(), "ad_down"), Qt::LeftButton);
    QCOMPARE(mFixture->ui.urls, QList<QUrl>{QUrl(ProductWebPage)});
    auto *failure = child<QLabel>(window.get(), "ad_fail");
    if (starts && !failsLater) {
        QTest::qWait(50);
        QVERIFY(!failure->isVisible());
        return;
    }
    QTRY_VERIFY(failure->isVisible());
    QCOMPARE(failure->text(), languageText(TextId::AddressNotOpened).arg(ProductWebPage));
    QVERIFY(failure->textInteractionFlags() & Qt::TextSelectableByMouse);
    QVERIFY(mFixture->ui.messages.isEmpty());
}

void TestManagement::tabFollowsTheScreen_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("tab");
    for (const QString language : {"russian.lang", "english.lang"}) {
        for (int tab = 0; tab < 4; ++tab)
            QTest::addRow("%s, tab %d", qPrintable(language), tab) << language << tab;
    }
}

// What names a control for a screen reader: its accessible name, or what Qt makes of its text
// or of the label that names it.
static QString spokenName(QWidget *widget)
{
    if (!widget->accessibleName().isEmpty())
        return widget->accessibleName();
    QAccessibleInterface *control = QAccessible::queryAccessibleInterface(widget);
    return control ? control->text(QAccessible::Name).trimmed() : QString();
}

// A name in the window's language: Cyrillic in the Russian window, none in the English one.
static bool isInLanguage(const QString &name, bool russian)
{
    const bool cyrillic = std::any_of(name.begin(), name.end(),
                                      [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
    return !name.isEmpty() && !name.startsWith('%') && cyrillic == russian;
}

// Reading order: a control right of the one before on the same line, or on a lower line.
static bool readsAfter(const QRect &later, const QRect &earlier)
{
    const bool sameLine = later.top() < earlier.bottom() && earlier.top() < later.bottom();
    return sameLine ? later.left() > earlier.left() : later.top() > earlier.top();
}

// Tab reaches every control of the shown page and the common row in the order they are seen,
// and every control that can take the focus is named for a screen reader in the window's
// language.
void TestManagement::tabFollowsTheScreen()
{
    QFETCH(QString, language);
    QFETCH(int, tab);
    optionSetting(OptionWrite, OptionLanguage, language);
    QCOMPARE(languageHeaderValue(language, "GetFile"), language);
    // As the main window applies the language: Qt's own texts follow it.
    QtTranslation::follow(languageHeaderValue(language, "GetId"));
    const bool russian = language == "russian.lang";
    auto window = mFixture->open();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    auto *tabs = child<QTabBar>(window.get(), "maintab");
    tabs->setCurrentIndex(tab);
    tabs->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), tabs);

    QList<QWidget *> reached;
    for (int presses = 0; presses < 40; ++presses) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == tabs || reached.contains(QApplication::focusWidget()))
            break;
        reached << QApplication::focusWidget();
    }
    QCOMPARE(QApplication::focusWidget(), tabs);

    QList<QWidget *> reachable;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        // A drop-down's list is a window of its own.
        if (!(widget->focusPolicy() & Qt::TabFocus) || widget->window() != window.get())
            continue;
        QVERIFY2(isInLanguage(spokenName(widget), russian),
                 qPrintable(widget->objectName() + ": " + spokenName(widget)));
        if (widget != tabs && widget->isVisible() && widget->isEnabled())
            reachable << widget;
    }
    QCOMPARE(reached.size(), reachable.size());
    for (int i = 0; i < reached.size(); ++i) {
        QVERIFY2(reachable.contains(reached.at(i)), qPrintable(reached.at(i)->objectName()));
        if (i == 0)
            continue;
        const auto place = [&window](QWidget *widget) {
            return QRect(widget->mapTo(window.get(), QPoint(0, 0)), widget->size());
        };
        QVERIFY2(
            readsAfter(place(reached.at(i)), place(reached.at(i - 1))),
            qPrintable(reached.at(i - 1)->objectName() + " before " + reached.at(i)->objectName()));
    }
}

QTEST_MAIN(TestManagement)
#include "tst_management.moc"

#include "tst_managementfixture.h"

#include "olecolor.h"
#include "theme.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

using namespace kq;
using namespace kq::ManagementTest;

namespace {

// The colours the theme editor gives a new theme.
constexpr ThemeColors NewColors{16777215,    14671839, 0,       0,        8355711,
                                -2147483633, 14671839, 8388608, 12566463, -2147483633};
constexpr ThemeColors MineColors{0x102030, 0x405060, 0x708090, 0xA0B0C0, 0x010203,
                                 0x040506, 0x070809, 0x0A0B0C, 0x112233, -2147483633};

} // namespace

Q_DECLARE_METATYPE(std::optional<QColor>)
Q_DECLARE_METATYPE(std::optional<QString>)

class TestManagementThemes : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newThemeWithTheDefaultAnswers();
    void existingFileNameIsAskedAgain();
    void newThemeEndsWithoutAnAnswer_data();
    void newThemeEndsWithoutAnAnswer();
    void newThemeFileNameMustStayInTheFolder_data();
    void newThemeFileNameMustStayInTheFolder();

    void selectionFollowsTheStatus_data();
    void selectionFollowsTheStatus();
    void previewShowsTheWorkingSet_data();
    void previewShowsTheWorkingSet();
    void sampleButtonCaptionsStandOut_data();
    void sampleButtonCaptionsStandOut();
    void clickingASampleSelectsItsColour_data();
    void clickingASampleSelectsItsColour();
    void colourEntryShowsItsColour();
    void editingAColour_data();
    void editingAColour();
    void programThemeSwatchDoesNotEdit();

    void saveWritesTheWorkingSet();
    void saveWithoutUserEntryIsRefused();
    void saveFailureIsReported();
    void deleteTheme_data();
    void deleteTheme();
    void versionQuestion_data();
    void versionQuestion();
    void damagedThemeQuestion_data();
    void damagedThemeQuestion();

private:
    // Opens the window on the theme tab with the user theme "Mine" listed first.
    std::unique_ptr<ManagementWindow> openThemes();
    // Chooses a list entry as the user does.

    std::unique_ptr<Fixture> mFixture;
    QComboBox *mList = nullptr;
};

void TestManagementThemes::init()
{
    mFixture = std::make_unique<Fixture>();
    QVERIFY(mFixture->ready());
    QVERIFY(mFixture->write("Themes/mine.tvth", themeLines("Mine", "2.0", "User", MineColors)));
}

void TestManagementThemes::cleanup()
{
    mFixture.reset();
}

std::unique_ptr<ManagementWindow> TestManagementThemes::openThemes()
{
    auto window = mFixture->open();
    child<QTabBar>(window.get(), "maintab")->setCurrentIndex(1);
    mList = child<QComboBox>(window.get(), "themelist");
    return window;
}

void TestManagementThemes::newThemeWithTheDefaultAnswers()
{
    auto window = openThemes();
    mFixture->ui.inputs << QString("NewTheme") << QString("mytheme");
    QTest::mouseClick(child<QPushButton>(window.get(), "th_cont0"), Qt::LeftButton);

    QCOMPARE(mFixture->ui.prompts, (QStringList{languageText(TextId::NewThemeName),
                                                languageText(TextId::NewThemeFileName)}));
    QVERIFY(mFixture->ui.messages.isEmpty());
    const QString path = mFixture->path("Themes/mytheme.tvth");
    QCOMPARE(themeHeaderValue(path, "GetName"), QString("NewTheme"));
    QCOMPARE(themeHeaderValue(path, "GetStatus"), QString("User"));
    for (int i = 0; i < 10; ++i)
        QCOMPARE(activeThemeColor(ThemeColorSet.at(i)), NewColors.at(i));
    QVERIFY(comboTexts(mList).contains("NewTheme*"));
    QVERIFY(listedThemes(window.get()).contains(path));
    // The refilled list selects the theme of the setting again, not the new one.
    QCOMPARE(mList->currentText(), QString("Standard"));
}

void TestManagementThemes::existingFileNameIsAskedAgain()
{
    auto window = openThemes();
    mFixture->ui.inputs << QString("NewTheme") << QString("mytheme");
    QTest::mouseClick(child<QPushButton>(window.get(), "th_cont0"), Qt::LeftButton);
    mFixture->ui.prompts.clear();

    mFixture->ui.inputs << QString("Second") << QString("mytheme") << QString("other");
    QTest::mouseClick(child<QPushButton>(window.get(), "th_cont0"), Qt::LeftButton);
    QCOMPARE(mFixture->ui.prompts, (QStringList{languageText(TextId::NewThemeName),
                                                languageText(TextId::NewThemeFileName),
                                                languageText(TextId::NewThemeFileName)}));
    QCOMPARE(mFixture->ui.messages.size(), 1);
    QCOMPARE(mFixture->ui.messages.first().text, languageText(TextId::ThemeFileExists));
    QCOMPARE(mFixture->ui.messages.first().title, languageText(TextId::OperationFailed));
    QCOMPARE(themeHeaderValue(mFixture->path("Themes/mytheme.tvth"), "GetName"),
             QString("NewTheme"));
    QCOMPARE(themeHeaderValue(mFixture->path("Themes/other.tvth"), "GetName"), QString("Second"));
    QVERIFY(comboTexts(mList).contains("NewTheme*"));
    QVERIFY(comboTexts(mList).contains("Second*"));
}

void TestManagementThemes::newThemeEndsWithoutAnAnswer_data()
{
    QTest::addColumn<QList<std::optional<QString>>>("answers");
    QTest::addColumn<int>("prompts");
    QTest::newRow("name cancelled") << QList<std::optional<QString>>{std::nullopt} << 1;
    QTest::newRow("empty name") << QList<std::optional<QString>>{QString()} << 1;
    QTest::newRow("file name cancelled")
        << QList<std::optional<QString>>{QString("Name"), std::nullopt} << 2;
    QTest::newRow("empty file name")
        << QList<std::optional<QString>>{QString("Name"), QString("")} << 2;
    QTest::newRow("empty file name after a taken one")
        << QList<std::optional<QString>>{QString("Name"), QString("mine"), QString("")} << 3;
}

void TestManagementThemes::newThemeEndsWithoutAnAnswer()
{
    QFETCH(QList<std::optional<QString>>, answers);
    QFETCH(int, prompts);
    auto window = openThemes();
    const QStringList before = QDir(mFixture->path("Themes")).entryList(QDir::Files);
    const QList<QColor> colors = shownColors(window.get());
    for (const auto &answer : answers)
        mFixture->ui.inputs << answer;
    QTest::mouseClick(child<QPushButton>(window.get(), "th_cont0"), Qt::LeftButton);
    QCOMPARE(mFixture->ui.prompts.size(), prompts);
    QCOMPARE(QDir(mFixture->path("Themes")).entryList(QDir::Files), before);
    QCOMPARE(shownColors(window.get()), colors);
}

void TestManagementThemes::newThemeFileNameMustStayInTheFolder_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("parent folder") << "../outside";
    QTest::newRow("sub-folder") << "sub/theme";
    QTest::newRow("backslash") << "..\\outside";
}

void TestManagementThemes::newThemeFileNameMustStayInTheFolder()
{
    QFETCH(QString, fileName);
    auto window = openThemes();
    QDir().mkpath(mFixture->path("Themes/sub"));
    const QStringList before = QDir(mFixture->path("")).entryList(QDir::Files);
    mFixture->ui.inputs << QString("Name") << fileName;
    QTest::mouseClick(child<QPushButton>(window.get(), "th_cont0"), Qt::LeftButton);
    QCOMPARE(mFixture->ui.messages.size(), 1);
    QCOMPARE(mFixture->ui.messages.first().text, languageText(TextId::ThemeNotSaved));
    QCOMPARE(mFixture->ui.messages.first().icon, UiServices::Icon::Error);
    QVERIFY(!QFile::exists(mFixture->path("outside.tvth")));
    QVERIFY(!QFile::exists(mFixture->path("Themes/sub/theme.tvth")));
    QCOMPARE(QDir(mFixture->path("")).entryList(QDir::Files), before);
}

void TestManagementThemes::selectionFollowsTheStatus_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("editable");
    QTest::newRow("user theme") << "Mine*"
                                << "mine.tvth" << true;
    QTest::newRow("program theme") << "Night"
                                   << "night.tvth" << false;
}

void TestManagementThemes::selectionFollowsTheStatus()
{
    QFETCH(QString, entry);
    QFETCH(QString, file);
    QFETCH(bool, editable);
    auto window = openThemes();
    // Start from the opposite state, so that the selection has to change it.
    choose(mList, mList->findText(editable ? "Night" : "Mine*"));
    choose(mList, mList->findText(entry));

    QCOMPARE(child<QLabel>(window.get(), "lbl_color")->isEnabled(), editable);
    QCOMPARE(child<QPushButton>(window.get(), "th_cont1")->isEnabled(), editable);
    // A program theme's disabled Delete button tells why in its tip.
    QCOMPARE(child<QPushButton>(window.get(), "th_cont1")
                 ->toolTip()
                 .contains(languageText(TextId::ShippedThemeFixed)),
             !editable);
    QCOMPARE(child<QPushButton>(window.get(), "th_cont2")->isEnabled(), editable);
    QVERIFY(child<QPushButton>(window.get(), "th_cont0")->isEnabled());
    const QString path = mFixture->path("Themes/" + file);
    QCOMPARE(optionSetting(OptionRead, OptionTheme), path);
    QCOMPARE(themeHeaderValue(path, "GetFile"), path);
    QCOMPARE(shownColors(window.get()), activeColors());
    QCOMPARE(child<QComboBox>(window.get(), "theme_item")->currentIndex(), 0);
}

void TestManagementThemes::sampleButtonCaptionsStandOut_data()
{
    QTest::addColumn<QString>("theme");
    QTest::newRow("standard") << "Standard";
    QTest::newRow("night") << "Night";
    QTest::newRow("soft") << "Soft";
    QTest::newRow("user theme with dark buttons") << "Mine*";
}

void TestManagementThemes::sampleButtonCaptionsStandOut()
{
    QFETCH(QString, theme);
    auto window = openThemes();
    choose(mList, int(comboTexts(mList).indexOf(theme)));
    QCOMPARE(mList->currentText(), theme);

    const auto contrast = [](QPushButton *button, QPalette::ColorGroup group) {
        const QPalette &palette = button->palette();
        return std::abs(qGray(palette.color(group, QPalette::ButtonText).rgb()) -
                        qGray(palette.color(group, QPalette::Button).rgb()));
    };
    QVERIFY(contrast(child<QPushButton>(window.get(), "th_cmd_act"), QPalette::Active) >= 120);
    QVERIFY(contrast(child<QPushButton>(window.get(), "th_cmd_dact"), QPalette::Disabled) >= 50);
}

void TestManagementThemes::previewShowsTheWorkingSet_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<int>("role");
    QTest::addColumn<int>("entry");
    QTest::newRow("window area") << "th_pal" << int(QPalette::Window) << 8;
    QTest::newRow("panel") << "th_box" << int(QPalette::Window) << 9;
    QTest::newRow("active box") << "th_txt_act" << int(QPalette::Base) << 0;
    QTest::newRow("active box text") << "th_txt_act" << int(QPalette::Text) << 2;
    QTest::newRow("inactive box") << "th_txt_dact" << int(QPalette::Base) << 1;
    QTest::newRow("active label") << "th_lbl_act" << int(QPalette::WindowText) << 3;
    QTest::newRow("inactive label") << "th_lbl_dact" << int(QPalette::WindowText) << 4;
    QTest::newRow("active button") << "th_cmd_act" << int(QPalette::Button) << 5;
    QTest::newRow("inactive button") << "th_cmd_dact" << int(QPalette::Button) << 6;
}

void TestManagementThemes::previewShowsTheWorkingSet()
{
    QFETCH(QString, sample);
    QFETCH(int, role);
    QFETCH(int, entry);
    auto window = openThemes();
    choose(mList, mList->findText("Mine*"));
    QWidget *widget = child<QWidget>(window.get(), sample);
    const QPalette::ColorGroup group = widget->isEnabled() ? QPalette::Active : QPalette::Disabled;
    QCOMPARE(widget->palette().color(group, QPalette::ColorRole(role)),
             colorFromOle(MineColors.at(entry)));
}

void TestManagementThemes::clickingASampleSelectsItsColour_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<int>("entry");
    QTest::newRow("active box") << "th_txt_act" << 0;
    QTest::newRow("disabled box") << "th_txt_dact" << 1;
    QTest::newRow("active label") << "th_lbl_act" << 3;
    QTest::newRow("inactive label") << "th_lbl_dact" << 4;
    QTest::newRow("active button") << "th_cmd_act" << 5;
    QTest::newRow("disabled button") << "th_cmd_dact" << 6;
    QTest::newRow("window area") << "th_pal" << 8;
    QTest::newRow("panel") << "th_box" << 9;
}

void TestManagementThemes::clickingASampleSelectsItsColour()
{
    QFETCH(QString, sample);
    QFETCH(int, entry);
    auto window = openThemes();
    window->show();
    choose(mList, mList->findText("Mine*"));
    QWidget *widget = child<QWidget>(window.get(), sample);
    // A frame is clicked in its margin, not on the controls it holds.
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(child<QComboBox>(window.get(), "theme_item")->currentIndex(), entry);
    QCOMPARE(child<QLabel>(window.get(), "lbl_color")->palette().color(QPalette::Window),
             colorFromOle(MineColors.at(entry)));
    QVERIFY(mFixture->ui.colorRequests.isEmpty());
}

void TestManagementThemes::colourEntryShowsItsColour()
{
    auto window = openThemes();
    choose(mList, mList->findText("Mine*"));
    auto *items = child<QComboBox>(window.get(), "theme_item");
    QCOMPARE(items->count(), 10);
    QCOMPARE(items->itemText(7), languageText(TextId::ColourSelection));
    for (int entry : {7, 2, 9}) {
        items->setCurrentIndex(entry);
        QCOMPARE(child<QLabel>(window.get(), "lbl_color")->palette().color(QPalette::Window),
                 colorFromOle(MineColors.at(entry)));
    }
}

void TestManagementThemes::editingAColour_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<std::optional<QColor>>("chosen");
    QTest::addColumn<qint32>("stored");
    QTest::newRow("chosen colour") << 3 << std::optional<QColor>(QColor(1, 2, 3)) << 0x030201;
    QTest::newRow("colour only the list reaches")
        << 7 << std::optional<QColor>(QColor(255, 0, 0)) << 0x0000FF;
    QTest::newRow("cancel keeps the colour") << 4 << std::optional<QColor>() << MineColors.at(4);
    QTest::newRow("cancel keeps a system colour")
        << 9 << std::optional<QColor>() << MineColors.at(9);
}

void TestManagementThemes::editingAColour()
{
    QFETCH(int, entry);
    QFETCH(std::optional<QColor>, chosen);
    QFETCH(qint32, stored);
    auto window = openThemes();
    window->show();
    choose(mList, mList->findText("Mine*"));
    child<QComboBox>(window.get(), "theme_item")->setCurrentIndex(entry);
    mFixture->ui.colors << chosen;
    auto *swatch = child<QLabel>(window.get(), "lbl_color");
    QTest::mouseClick(swatch, Qt::LeftButton);

    QCOMPARE(mFixture->ui.colorRequests, QList<QColor>{colorFromOle(MineColors.at(entry))});
    QCOMPARE(swatch->palette().color(QPalette::Window), colorFromOle(stored));
    QCOMPARE(shownColors(window.get()).at(entry), colorFromOle(stored));
    // Nothing is written until the theme is saved.
    QCOMPARE(themeHeaderValue(mFixture->path("Themes/mine.tvth"), "GetFile"),
             mFixture->path("Themes/mine.tvth"));
    QCOMPARE(activeThemeColor(ThemeColorSet.at(entry)), MineColors.at(entry));
}

void TestManagementThemes::programThemeSwatchDoesNotEdit()
{
    auto window = openThemes();
    window->show();
    choose(mList, mList->findText("Night"));
    const QList<QColor> colors = shownColors(window.get());
    mFixture->ui.colors << QColor(1, 2, 3);
    QTest::mouseClick(child<QLabel>(window.get(), "lbl_color"), Qt::LeftButton);
    QVERIFY(mFixture->ui.colorRequests.isEmpty());
    QCOMPARE(shownColors(window.get()), colors);
}

void TestManagementThemes::saveWritesTheWorkingSet()
{
    auto window = openThemes();
    window->show();
    choose(mList, mList->findText("Mine*"));
    child<QComboBox>(window.get(), "theme_item")->setCurrentIndex(9);
    mFixture->ui.colors << QColor(0x12, 0x34, 0x56);
    QTest::mouseClick(child<QLabel>(window.get(), "lbl_color"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(window.get(), "th_cont2"), Qt::LeftButton);

    QVERIFY(mFixture->ui.messages.isEmpty());
    const QByteArray bytes = kq::TestFiles::readBytes(mFixture->path("Themes/mine.tvth"));
    QVERIFY(bytes.contains("\r\nBoxEnabledColor=5649426\r\n"));
    QVERIFY(bytes.contains("\r\nName=Mine\r\n"));
    QVERIFY(!bytes.contains("Mine*"));
    QCOMPARE(themeHeaderValue(mFixture->path("Themes/mine.tvth"), "GetStatus"), QString("User"));
    for (int i = 0; i < 9; ++i)
        QCOMPARE(activeThemeColor(ThemeColorSet.at(i)), MineColors.at(i));
}

void TestManagementThemes::saveWithoutUserEntryIsRefused()
{
    auto window = openThemes();
    window->show();
    choose(mList, mList->findText("Mine*"));
    // The user theme turns unsuitable outside the editor; the list stops before it.
    QVERIFY(mFixture->write("Themes/mine.tvth", themeLines("Mine", "3.0")));
    showPage(window.get(), 1);
    QCOMPARE(mList->currentIndex(), -1);

    QTest::mouseClick(child<QPushButton>(window.get(), "th_cont2"), Qt::LeftButton);
    QCOMPARE(mFixture->ui.messages.size(), 1);
    QCOMPARE(mFixture->ui.messages.first().text, languageText(TextId::ShippedThemeReadOnly));
    QCOMPARE(mFixture->ui.messages.first().title, languageText(TextId::TabThemes));
    QCOMPARE(themeHeaderValue(mFixture->path("Themes/mine.tvth"), "GetVersion"), QString("3.0"));
}

void TestManagementThemes::saveFailureIsReported()
{
    auto window = openThemes();
    window->show();
    choose(mList, mList->findText("Mine*"));
    const QString path = mFixture->path("Themes/mine.tvth");
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkpath(path));

    QTest::mouseClick(child<QPushButton>(window.get(), "th_cont2"), Qt::LeftButton);
    QCOMPARE(mFixture->ui.messages.size(), 1);
    QCOMPARE(mFixture->ui.messages.first().text, languageText(TextId::ThemeNotSaved));
    QCOMPARE(mFixture->ui.messages.first().title, languageText(TextId::OperationFailed));
    QCOMPARE(mFixture->ui.messages.first().icon, UiServices::Icon::Error);
}

void TestManagementThemes::deleteTheme_data()
{
    QTest::addColumn<UiServices::Answer>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("yes") << UiServices::Answer::Yes << true;
    QTest::newRow("no") << UiServices::Answer::No << false;
}

void TestManagementThemes::deleteTheme()
{
    QFETCH(UiServices::Answer, answer);
    QFETCH(bool, deleted);
    QVERIFY(mFixture->write("Themes/zmine.tvth", themeLines("Zed")));
    auto window = openThemes();
    window->show();
    choose(mList, mList->findText("Zed*"));
    mFixture->ui.answers << answer;
    QTest::mouseClick(child<QPushButton>(window.get(), "th_cont1"), Qt::LeftButton);

    QCOMPARE(mFixture->ui.messages.size(), 1);
    QCOMPARE(mFixture->ui.messages.first().text,
             languageText(TextId::DeleteSelectedQuestion) + "\nZed*");
    QCOMPARE(mFixture->ui.messages.first().title, languageText(TextId::TabThemes));
    QCOMPARE(mFixture->ui.messages.first().icon, UiServices::Icon::Question);
    const QString path = mFixture->path("Themes/zmine.tvth");
    QCOMPARE(QFile::exists(path), !deleted);
    QCOMPARE(comboTexts(mList).contains("Zed*"), !deleted);
    // After a deletion the first theme is selected and becomes the setting.
    const QString setting = deleted ? mFixture->path("Themes/mine.tvth") : path;
    QCOMPARE(optionSetting(OptionRead, OptionTheme), setting);
    QCOMPARE(mList->currentIndex(), deleted ? 0 : mList->findText("Zed*"));
}

void TestManagementThemes::versionQuestion_data()
{
    QTest::addColumn<QList<UiServices::Answer>>("answers");
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<bool>("selected");
    QTest::newRow("no goes on with the theme")
        << QList<UiServices::Answer>{UiServices::Answer::No} << false << true;
    QTest::newRow("yes, then yes deletes")
        << QList<UiServices::Answer>{UiServices::Answer::Yes, UiServices::Answer::Yes} << true
        << false;
    QTest::newRow("yes, then no keeps the file")
        << QList<UiServices::Answer>{UiServices::Answer::Yes, UiServices::Answer::No} << false
        << false;
}

void TestManagementThemes::versionQuestion()
{
    QFETCH(QList<UiServices::Answer>, answers);
    QFETCH(bool, deleted);
    QFETCH(bool, selected);
    auto window = openThemes();
    const int row = mList->findText("Mine*");
    // The file changes after it was listed.
    const QString path = mFixture->path("Themes/mine.tvth");
    QVERIFY(mFixture->write("Themes/mine.tvth", themeLines("Mine", "1.5")));
    for (UiServices::Answer answer : answers)
        mFixture->ui.answers << answer;
    choose(mList, row);

    QVERIFY(mFixture->ui.messages.size() >= 1);
    const ScriptedUi::Message question = mFixture->ui.messages.first();
    QCOMPARE(question.text, languageText(TextId::ThemeVersionBefore) + "1.5" +
                                languageText(TextId::ThemeVersionAfter));
    QCOMPARE(question.title, QString("Неправильная тема"));
    QCOMPARE(question.icon, UiServices::Icon::Warning);
    QCOMPARE(question.buttons, UiServices::Buttons::YesNo);
    QCOMPARE(mFixture->ui.messages.size(), answers.size());
    QCOMPARE(QFile::exists(path), !deleted);
    QCOMPARE(optionSetting(OptionRead, OptionTheme) == path, selected);
    if (selected)
        QVERIFY(child<QPushButton>(window.get(), "th_cont2")->isEnabled());
}

void TestManagementThemes::damagedThemeQuestion_data()
{
    QTest::addColumn<QList<UiServices::Answer>>("answers");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("no ends the selection")
        << QList<UiServices::Answer>{UiServices::Answer::No} << false;
    QTest::newRow("yes, then yes deletes")
        << QList<UiServices::Answer>{UiServices::Answer::Yes, UiServices::Answer::Yes} << true;
}

void TestManagementThemes::damagedThemeQuestion()
{
    QFETCH(QList<UiServices::Answer>, answers);
    QFETCH(bool, deleted);
    auto window = openThemes();
    const QString setting = optionSetting(OptionRead, OptionTheme);
    const QList<QColor> colors = shownColors(window.get());
    const QString path = mFixture->path("Themes/mine.tvth");
    QVERIFY(mFixture->write("Themes/mine.tvth", {"!KestraneDevelopment10", "!ThemeFile"}));
    for (UiServices::Answer answer : answers)
        mFixture->ui.answers << answer;
    choose(mList, mList->findText("Mine*"));

    QCOMPARE(mFixture->ui.messages.size(), answers.size());
    QCOMPARE(mFixture->ui.messages.first().text, languageText(TextId::ThemeDamagedQuestion));
    QCOMPARE(mFixture->ui.messages.first().title, languageText(TextId::TabThemes));
    QCOMPARE(QFile::exists(path), !deleted);
    if (!deleted) {
        QCOMPARE(optionSetting(OptionRead, OptionTheme), setting);
        QCOMPARE(shownColors(window.get()), colors);
    }
}

QTEST_MAIN(TestManagementThemes)
#include "tst_managementthemes.moc"

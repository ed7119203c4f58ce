#include "themepage.h"

#include "editorlook.h"
#include "fileplaces.h"
#include "language.h"
#include "olecolor.h"
#include "optionsetting.h"
#include "uiservices.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace kq {

using namespace Management;

namespace {

// The entries of the colour list, one for each colour of a theme, in the same order.
constexpr TextId ColourEntries[] = {TextId::ColourActiveBox,      TextId::ColourInactiveBox,
                                    TextId::ColourBoxText,        TextId::ColourActiveLabel,
                                    TextId::ColourInactiveLabel,  TextId::ColourActiveButton,
                                    TextId::ColourInactiveButton, TextId::ColourSelection,
                                    TextId::ColourWindow,         TextId::ColourPanel};

// The colours a new theme starts with, in the order of the theme editor's working set.
constexpr ThemeColors NewThemeColors{16777215,    14671839, 0,       0,        8355711,
                                     -2147483633, 14671839, 8388608, 12566463, -2147483633};

// The property of a preview sample that names the colour it shows and selects when clicked.
constexpr char SampleEntry[] = "kqColorEntry";

void setColor(QWidget *widget, QPalette::ColorRole role, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::All, role, color);
    widget->setPalette(palette);
}

// Themes hold no colour for button captions, so a sample button's caption is black or white,
// whichever stands out from its face; the disabled one lies half-way towards the face.
void setCaptionColor(QPushButton *button, const QColor &face)
{
    const QColor ink = qGray(face.rgb()) < 128 ? QColor(Qt::white) : QColor(Qt::black);
    const QColor dim((ink.red() + face.red()) / 2, (ink.green() + face.green()) / 2,
                     (ink.blue() + face.blue()) / 2);
    QPalette palette = button->palette();
    palette.setColor(QPalette::Active, QPalette::ButtonText, ink);
    palette.setColor(QPalette::Inactive, QPalette::ButtonText, ink);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, dim);
    button->setPalette(palette);
}

// A file name the user types must name a file in the Themes folder, never a path elsewhere.
bool isPlainFileName(const QString &name)
{
    return !name.contains(u'/') && !name.contains(u'\\') && name != u"." && name != u"..";
}

// A theme file that could not be written.
void reportSaveFailed(UiServices &ui, QWidget *parent)
{
    ui.message(parent, languageText(TextId::ThemeNotSaved), languageText(TextId::OperationFailed),
               UiServices::Icon::Error, UiServices::Buttons::Ok);
}

} // namespace

ThemePage::ThemePage(UiServices &ui, QWidget *parent)
    : ManagementPage(ui, TextId::TabThemes, parent)
{

    mList = dropDown(QStringLiteral("themelist"), 24, this);
    mList->setAccessibleName(languageText(TextId::TabThemes));
    connect(mList, &QComboBox::activated, this, &ThemePage::themeSelected);

    mButtons = pictureButtons(QStringLiteral("th_cont"),
                              {TextId::NewTheme, TextId::DeleteTheme, TextId::SaveTheme}, this);
    connect(mButtons.at(0), &QPushButton::clicked, this, &ThemePage::newTheme);
    connect(mButtons.at(1), &QPushButton::clicked, this, &ThemePage::deleteTheme);
    connect(mButtons.at(2), &QPushButton::clicked, this, &ThemePage::saveTheme);
    mButtons.at(0)->setToolTip(languageText(TextId::NewTheme));
    mButtons.at(1)->setToolTip(languageText(TextId::DeleteTheme));
    mButtons.at(2)->setToolTip(languageText(TextId::SaveTheme));

    auto *colorLabel = new QLabel(resourceId(TextId::ColourLabel), this);
    colorLabel->setObjectName(QStringLiteral("Label2"));
    mColorEntry = dropDown(QStringLiteral("theme_item"), 24, this);
    colorLabel->setBuddy(mColorEntry);
    for (const TextId entry : ColourEntries)
        mColorEntry->addItem(languageText(entry));
    connect(mColorEntry, &QComboBox::currentIndexChanged, this, &ThemePage::colorEntrySelected);

    mColorSwatch = new QLabel(this);
    mColorSwatch->setObjectName(QStringLiteral("lbl_color"));
    mColorSwatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    mColorSwatch->setAutoFillBackground(true);
    mColorSwatch->setFixedSize(48, 24);
    mColorSwatch->setCursor(Qt::PointingHandCursor);
    mColorSwatch->installEventFilter(this);

    auto *previewLabel = new QLabel(resourceId(TextId::PreviewLabel), this);
    previewLabel->setObjectName(QStringLiteral("Label1"));
    buildPreview();

    auto *top = new QHBoxLayout;
    top->addWidget(mList, 1);
    for (QPushButton *button : mButtons)
        top->addWidget(button);
    auto *colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(mColorEntry, 1);
    colorRow->addWidget(mColorSwatch);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 8, 4, 4);
    layout->addLayout(top);
    layout->addLayout(colorRow);
    layout->addSpacing(6);
    layout->addWidget(previewLabel);
    layout->addWidget(mPalette, 1);
}

// Sample controls on the theme's background and box, each showing the colours it is painted in.
void ThemePage::buildPreview()
{
    const QFont font = EditorLook::fixedPitchFont();
    mPalette = new QFrame(this);
    mPalette->setObjectName(QStringLiteral("th_pal"));
    mPalette->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    mPalette->setAutoFillBackground(true);
    mBox = new QFrame(mPalette);
    mBox->setObjectName(QStringLiteral("th_box"));
    mBox->setFrameStyle(QFrame::Box | QFrame::Plain);
    mBox->setAutoFillBackground(true);

    mTextActive = new QLineEdit(mBox);
    mTextActive->setObjectName(QStringLiteral("th_txt_act"));
    mTextActive->setAccessibleName(languageText(TextId::PreviewActiveBox));
    mTextActive->setFont(font);
    mTextActive->setReadOnly(true);
    mTextInactive = new QLineEdit(mBox);
    mTextInactive->setObjectName(QStringLiteral("th_txt_dact"));
    mTextInactive->setAccessibleName(languageText(TextId::PreviewInactiveBox));
    mTextInactive->setFont(font);
    mTextInactive->setEnabled(false);
    mTextActive->setText(languageText(TextId::PreviewActiveBox));
    mTextInactive->setText(languageText(TextId::PreviewInactiveBox));
    mLabelActive = new QLabel(resourceId(TextId::PreviewActiveLabel), mBox);
    mLabelActive->setObjectName(QStringLiteral("th_lbl_act"));
    mLabelInactive = new QLabel(resourceId(TextId::PreviewInactiveLabel), mBox);
    mLabelInactive->setObjectName(QStringLiteral("th_lbl_dact"));
    mButtonActive =
        captionButton(QStringLiteral("th_cmd_act"), resourceId(TextId::ColourActiveButton), mBox);
    mButtonInactive = captionButton(QStringLiteral("th_cmd_dact"),
                                    resourceId(TextId::ColourInactiveButton), mBox);
    mButtonInactive->setEnabled(false);

    // A click on a sample, even a disabled one, picks the colour it shows.
    using Key = ThemeColorKey;
    const std::pair<QWidget *, ThemeColorKey> samples[] = {
        {mTextActive, Key::TextboxEnabledColor},  {mTextInactive, Key::TextboxDisabledColor},
        {mLabelActive, Key::LabelEnabledColor},   {mLabelInactive, Key::LabelDisabledColor},
        {mButtonActive, Key::ButtonEnabledColor}, {mButtonInactive, Key::ButtonDisabledColor},
        {mPalette, Key::BackgroundColor},         {mBox, Key::BoxEnabledColor}};
    for (const auto &[sample, entry] : samples) {
        sample->setProperty(SampleEntry, int(entry));
        sample->installEventFilter(this);
    }

    auto *boxLayout = new QGridLayout(mBox);
    boxLayout->setContentsMargins(10, 10, 10, 10);
    boxLayout->setHorizontalSpacing(12);
    boxLayout->addWidget(mTextActive, 0, 0);
    boxLayout->addWidget(mLabelActive, 0, 1);
    boxLayout->addWidget(mButtonActive, 0, 2);
    boxLayout->addWidget(mTextInactive, 1, 0);
    boxLayout->addWidget(mLabelInactive, 1, 1);
    boxLayout->addWidget(mButtonInactive, 1, 2);
    boxLayout->setColumnStretch(0, 1);
    boxLayout->setRowStretch(2, 1);
    auto *paletteLayout = new QVBoxLayout(mPalette);
    paletteLayout->setContentsMargins(24, 24, 24, 24);
    paletteLayout->addWidget(mBox);
}

bool ThemePage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return ManagementPage::eventFilter(watched, event);
    if (watched == mColorSwatch) {
        // The swatch edits only while it is enabled, that is for user themes.
        if (mColorSwatch->isEnabled())
            editColor();
        return true;
    }
    const QVariant entry = watched->property(SampleEntry);
    if (entry.isValid()) {
        selectEntry(mColorEntry, entry.toInt(), [this] { colorEntrySelected(); });
        return true;
    }
    return ManagementPage::eventFilter(watched, event);
}

void ThemePage::fill()
{
    QStringList paths = folderEntries(QStringLiteral("Themes"), QStringLiteral("*.tvth"));
    const QStringList shown = validEntries(
        paths,
        [](const QString &path) {
            return themeHeaderValue(path, QStringLiteral("GetFile")) == path &&
                   themeHeaderValue(path, QStringLiteral("GetVersion")) == u"2.0";
        },
        [](const QString &path) {
            return listedName(themeHeaderValue(path, QStringLiteral("GetName")),
                              themeHeaderValue(path, QStringLiteral("GetStatus")),
                              FilePlaces::current().isUsersOwn(path));
        });
    // A setting kept from a program folder that has since moved names the theme by its old path;
    // the theme file it stands for now is the one to preselect.
    showEntries(mList, shown, paths,
                themeHeaderValue(optionSetting(OptionRead, OptionTheme), QStringLiteral("GetFile")),
                [this] { themeSelected(); });
}

void ThemePage::themeSelected()
{
    const QString path = mList->currentData().toString();
    if (path.isEmpty())
        return;

    if (themeHeaderValue(path, QStringLiteral("GetFile")) != path) {
        if (mUi.message(window(), languageText(TextId::ThemeDamagedQuestion), title(),
                        UiServices::Icon::Warning,
                        UiServices::Buttons::YesNo) == UiServices::Answer::Yes)
            deleteTheme();
        return;
    }
    const QString version = themeHeaderValue(path, QStringLiteral("GetVersion"));
    if (version != u"2.0" &&
        acceptsDeletingVersion(version, TextId::ThemeVersionBefore, TextId::ThemeVersionAfter,
                               QStringLiteral("Неправильная тема"))) {
        deleteTheme();
        return;
    }

    const bool user = themeHeaderValue(path, QStringLiteral("GetStatus")) == u"User" ||
                      FilePlaces::current().isUsersOwn(path);
    mColorSwatch->setEnabled(user);
    mButtons.at(2)->setEnabled(user);
    mButtons.at(1)->setEnabled(user);
    // A disabled button says nothing by itself: its tip tells why a program theme stays.
    mButtons.at(1)->setToolTip(user ? languageText(TextId::DeleteTheme)
                                    : languageText(TextId::DeleteTheme) + u'\n' +
                                          languageText(TextId::ShippedThemeFixed));

    optionSetting(OptionWrite, OptionTheme, path);

    // The themeHeaderValue calls above made this file the one activeThemeColor reads.
    for (size_t i = 0; i < mColors.size(); ++i)
        mColors.at(i) = activeThemeColor(ThemeColorSet.at(i));
    selectEntry(mColorEntry, 0, [this] { colorEntrySelected(); });
}

void ThemePage::colorEntrySelected()
{
    const int entry = mColorEntry->currentIndex();
    if (entry >= 0 && entry < int(mColors.size()))
        setColor(mColorSwatch, QPalette::Window, colorFromOle(mColors.at(entry)));
    refreshPreview();
}

void ThemePage::editColor()
{
    const int entry = mColorEntry->currentIndex();
    if (entry < 0 || entry >= int(mColors.size()))
        return;
    // Cancelling keeps the colour as it was, a system colour included.
    if (const std::optional<QColor> chosen =
            mUi.chooseColor(window(), mColorSwatch->palette().color(QPalette::Window)))
        mColors.at(entry) = oleFromColor(*chosen);
    colorEntrySelected();
}

void ThemePage::refreshPreview()
{
    using Key = ThemeColorKey;
    const auto color = [this](ThemeColorKey key) { return colorFromOle(mColors.at(int(key))); };
    setColor(mPalette, QPalette::Window, color(Key::BackgroundColor));
    setColor(mBox, QPalette::Window, color(Key::BoxEnabledColor));
    setColor(mTextActive, QPalette::Base, color(Key::TextboxEnabledColor));
    setColor(mTextActive, QPalette::Text, color(Key::TextboxForeColor));
    setColor(mTextInactive, QPalette::Base, color(Key::TextboxDisabledColor));
    setColor(mLabelActive, QPalette::WindowText, color(Key::LabelEnabledColor));
    setColor(mLabelInactive, QPalette::WindowText, color(Key::LabelDisabledColor));
    setColor(mButtonActive, QPalette::Button, color(Key::ButtonEnabledColor));
    setColor(mButtonInactive, QPalette::Button, color(Key::ButtonDisabledColor));
    setCaptionColor(mButtonActive, color(Key::ButtonEnabledColor));
    setCaptionColor(mButtonInactive, color(Key::ButtonDisabledColor));
}

void ThemePage::newTheme()
{
    const std::optional<QString> name = mUi.input(window(), languageText(TextId::NewThemeName),
                                                  title(), QStringLiteral("NewTheme"));
    if (!name || name->isEmpty())
        return;

    QString path;
    for (;;) {
        const std::optional<QString> file = mUi.input(
            window(), languageText(TextId::NewThemeFileName), title(), QStringLiteral("mytheme"));
        if (!file || file->isEmpty())
            return;
        if (!isPlainFileName(*file)) {
            reportSaveFailed(mUi, window());
            return;
        }
        // A shipped theme of that name counts too: the user's own would hide it.
        const QString name = *file + QStringLiteral(".tvth");
        if (!QFile::exists(FilePlaces::current().filePath(QStringLiteral("Themes"), name))) {
            path = QDir(FilePlaces::current().folderForWriting(QStringLiteral("Themes")))
                       .filePath(name);
            break;
        }
        mUi.message(window(), languageText(TextId::ThemeFileExists),
                    languageText(TextId::OperationFailed), UiServices::Icon::Warning,
                    UiServices::Buttons::Ok);
    }

    mColors = NewThemeColors;
    if (!writeUserTheme(path, *name, mColors))
        reportSaveFailed(mUi, window());
    fill();
}

void ThemePage::deleteTheme()
{
    const QString path = mList->currentData().toString();
    if (!path.isEmpty())
        deleteListed(mList, path, [this] { themeSelected(); });
}

void ThemePage::saveTheme()
{
    const QString listed = mList->currentData().toString();
    const QString text = mList->currentText();
    if (listed.isEmpty() || !text.endsWith(u'*')) {
        mUi.message(window(), languageText(TextId::ShippedThemeReadOnly), title(),
                    UiServices::Icon::Error, UiServices::Buttons::Ok);
        return;
    }
    // A user theme that came with an installation for every user is saved as the user's own,
    // which takes its place in the list and in the setting.
    const QString path = FilePlaces::current().savePath(listed);
    if (!writeUserTheme(path, text.chopped(1), mColors)) {
        reportSaveFailed(mUi, window());
        return;
    }
    if (path != listed) {
        mList->setItemData(mList->currentIndex(), path);
        optionSetting(OptionWrite, OptionTheme, path);
    }
}

} // namespace kq

#include "managementwindow.h"

#include "editorhelpers.h"
#include "language.h"
#include "managementwindow_p.h"
#include "olecolor.h"
#include "optionsetting.h"
#include "programfolder.h"
#include "uiservices.h"

#include <QComboBox>
#include <QCoreApplication>
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

using namespace management;

namespace {

// The colours a new theme starts with, in the order of the theme editor's working set.
constexpr ThemeColors NewThemeColors{16777215,    14671839, 0,       0,        8355711,
                                     -2147483633, 14671839, 8388608, 12566463, -2147483633};

// The entry of the working set that each preview sample shows and selects when clicked.
enum ColorEntry {
    TextboxEnabled = 0,
    TextboxDisabled = 1,
    TextboxFore = 2,
    LabelEnabled = 3,
    LabelDisabled = 4,
    ButtonEnabled = 5,
    ButtonDisabled = 6,
    Background = 8,
    BoxEnabled = 9,
};

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
    ui.message(parent, ResString(QStringLiteral("%0024")), ResString(QStringLiteral("%0020")),
               UiServices::Icon::Error, UiServices::Buttons::Ok);
}

} // namespace

QWidget *ManagementWindow::buildThemePanel()
{
    auto *panel = new QWidget(this);
    const QFont font = editor::fixedPitchFont();

    mThemeList = dropDown(QStringLiteral("themelist"), 24, panel);
    connect(mThemeList, &QComboBox::activated, this, &ManagementWindow::themeSelected);

    mThemeButtons = pictureButtons(QStringLiteral("th_cont"), panel);
    connect(mThemeButtons.at(0), &QPushButton::clicked, this, &ManagementWindow::newTheme);
    connect(mThemeButtons.at(1), &QPushButton::clicked, this, &ManagementWindow::deleteTheme);
    connect(mThemeButtons.at(2), &QPushButton::clicked, this, &ManagementWindow::saveTheme);

    auto *colorLabel = new QLabel(QStringLiteral("%0211"), panel);
    colorLabel->setObjectName(QStringLiteral("Label2"));
    mThemeItem = dropDown(QStringLiteral("theme_item"), 24, panel);
    colorLabel->setBuddy(mThemeItem);
    connect(mThemeItem, &QComboBox::currentIndexChanged, this,
            &ManagementWindow::colorEntrySelected);

    mColorSwatch = new QLabel(panel);
    mColorSwatch->setObjectName(QStringLiteral("lbl_color"));
    mColorSwatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    mColorSwatch->setAutoFillBackground(true);
    mColorSwatch->setFixedSize(48, 24);
    mColorSwatch->setCursor(Qt::PointingHandCursor);
    mColorSwatch->installEventFilter(this);

    auto *previewLabel = new QLabel(QStringLiteral("%0212"), panel);
    previewLabel->setObjectName(QStringLiteral("Label1"));

    mPalette = new QFrame(panel);
    mPalette->setObjectName(QStringLiteral("th_pal"));
    mPalette->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    mPalette->setAutoFillBackground(true);
    mBox = new QFrame(mPalette);
    mBox->setObjectName(QStringLiteral("th_box"));
    mBox->setFrameStyle(QFrame::Box | QFrame::Plain);
    mBox->setAutoFillBackground(true);

    mTextActive = new QLineEdit(mBox);
    mTextActive->setObjectName(QStringLiteral("th_txt_act"));
    mTextActive->setFont(font);
    mTextActive->setReadOnly(true);
    mTextInactive = new QLineEdit(mBox);
    mTextInactive->setObjectName(QStringLiteral("th_txt_dact"));
    mTextInactive->setFont(font);
    mTextInactive->setEnabled(false);
    mLabelActive = new QLabel(QStringLiteral("%0213"), mBox);
    mLabelActive->setObjectName(QStringLiteral("th_lbl_act"));
    mLabelInactive = new QLabel(QStringLiteral("%0214"), mBox);
    mLabelInactive->setObjectName(QStringLiteral("th_lbl_dact"));
    mButtonActive = captionButton(QStringLiteral("th_cmd_act"), QStringLiteral("%0242"), mBox);
    mButtonInactive = captionButton(QStringLiteral("th_cmd_dact"), QStringLiteral("%0243"), mBox);
    mButtonInactive->setEnabled(false);

    // A click on a sample, even a disabled one, picks the colour it shows.
    const std::pair<QWidget *, ColorEntry> samples[] = {
        {mTextActive, TextboxEnabled},  {mTextInactive, TextboxDisabled},
        {mLabelActive, LabelEnabled},   {mLabelInactive, LabelDisabled},
        {mButtonActive, ButtonEnabled}, {mButtonInactive, ButtonDisabled},
        {mPalette, Background},         {mBox, BoxEnabled}};
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

    auto *top = new QHBoxLayout;
    top->addWidget(mThemeList, 1);
    for (QPushButton *button : mThemeButtons)
        top->addWidget(button);
    auto *colorRow = new QHBoxLayout;
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(mThemeItem, 1);
    colorRow->addWidget(mColorSwatch);

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 8, 4, 4);
    layout->addLayout(top);
    layout->addLayout(colorRow);
    layout->addSpacing(6);
    layout->addWidget(previewLabel);
    layout->addWidget(mPalette, 1);
    return panel;
}

bool ManagementWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel &&
        (watched == mStringViewer || watched->parent() == mStringViewer)) {
        QCoreApplication::sendEvent(mStringScroll, event);
        return true;
    }
    if (event->type() != QEvent::MouseButtonPress)
        return QDialog::eventFilter(watched, event);
    if (watched == mColorSwatch) {
        // The swatch edits only while it is enabled, that is for user themes.
        if (mColorSwatch->isEnabled())
            editColor();
        return true;
    }
    const QVariant entry = watched->property(SampleEntry);
    if (entry.isValid()) {
        selectEntry(mThemeItem, entry.toInt(), &ManagementWindow::colorEntrySelected);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ManagementWindow::fillThemeList()
{
    mThemePaths.clear();
    for (const QString &name : folderEntries(QStringLiteral("Themes"), QStringLiteral("*.tvth")))
        mThemePaths << programPath(QStringLiteral("Themes/") + name);
    const QStringList shown = validEntries(
        mThemePaths,
        [](const QString &path) {
            return ThemeInfo(path, QStringLiteral("GetFile")) == path &&
                   ThemeInfo(path, QStringLiteral("GetVersion")) == u"2.0";
        },
        [](const QString &path) {
            return listedName(ThemeInfo(path, QStringLiteral("GetName")),
                              ThemeInfo(path, QStringLiteral("GetStatus")));
        });
    showEntries(mThemeList, shown, mThemePaths, OptionTheme, &ManagementWindow::themeSelected);
}

void ManagementWindow::themeSelected()
{
    const int row = mThemeList->currentIndex();
    if (row < 0 || row >= mThemePaths.size())
        return;
    const QString path = mThemePaths.at(row);
    const QString title = ResString(QStringLiteral("%0202"));

    if (ThemeInfo(path, QStringLiteral("GetFile")) != path) {
        if (mUi.message(this, ResString(QStringLiteral("%0026")), title, UiServices::Icon::Warning,
                        UiServices::Buttons::YesNo) == UiServices::Answer::Yes)
            deleteTheme();
        return;
    }
    const QString version = ThemeInfo(path, QStringLiteral("GetVersion"));
    if (version != u"2.0" &&
        acceptsDeletingVersion(version, 27, QStringLiteral("Неправильная тема"))) {
        deleteTheme();
        return;
    }

    const bool user = ThemeInfo(path, QStringLiteral("GetStatus")) == u"User";
    mColorSwatch->setEnabled(user);
    mThemeButtons.at(2)->setEnabled(user);
    mThemeButtons.at(1)->setEnabled(user);

    OptionSetting(OptionWrite, OptionTheme, path);

    // The ThemeInfo calls above made this file the one ThemeColor reads.
    for (size_t i = 0; i < mColors.size(); ++i)
        mColors.at(i) = ThemeColor(ThemeColorSet.at(i));
    selectEntry(mThemeItem, 0, &ManagementWindow::colorEntrySelected);
}

void ManagementWindow::colorEntrySelected()
{
    const int entry = mThemeItem->currentIndex();
    if (entry >= 0 && entry < int(mColors.size()))
        setColor(mColorSwatch, QPalette::Window, colorFromOle(mColors.at(entry)));
    refreshPreview();
}

void ManagementWindow::editColor()
{
    const int entry = mThemeItem->currentIndex();
    if (entry < 0 || entry >= int(mColors.size()))
        return;
    // Cancelling keeps the colour as it was, a system colour included.
    if (const std::optional<QColor> chosen =
            mUi.chooseColor(this, mColorSwatch->palette().color(QPalette::Window)))
        mColors.at(entry) = oleFromColor(*chosen);
    colorEntrySelected();
}

void ManagementWindow::refreshPreview()
{
    const auto color = [this](int entry) { return colorFromOle(mColors.at(entry)); };
    setColor(mPalette, QPalette::Window, color(Background));
    setColor(mBox, QPalette::Window, color(BoxEnabled));
    setColor(mTextActive, QPalette::Base, color(TextboxEnabled));
    setColor(mTextActive, QPalette::Text, color(TextboxFore));
    setColor(mTextInactive, QPalette::Base, color(TextboxDisabled));
    setColor(mLabelActive, QPalette::WindowText, color(LabelEnabled));
    setColor(mLabelInactive, QPalette::WindowText, color(LabelDisabled));
    setColor(mButtonActive, QPalette::Button, color(ButtonEnabled));
    setColor(mButtonInactive, QPalette::Button, color(ButtonDisabled));
    setCaptionColor(mButtonActive, color(ButtonEnabled));
    setCaptionColor(mButtonInactive, color(ButtonDisabled));
}

void ManagementWindow::newTheme()
{
    const QString title = ResString(QStringLiteral("%0202"));
    const std::optional<QString> name =
        mUi.input(this, ResString(QStringLiteral("%0235")), title, QStringLiteral("NewTheme"));
    if (!name || name->isEmpty())
        return;

    QString path;
    for (;;) {
        const std::optional<QString> file =
            mUi.input(this, ResString(QStringLiteral("%0236")), title, QStringLiteral("mytheme"));
        if (!file || file->isEmpty())
            return;
        if (!isPlainFileName(*file)) {
            reportSaveFailed(mUi, this);
            return;
        }
        path = programPath(QStringLiteral("Themes/") + *file + QStringLiteral(".tvth"));
        if (!QFile::exists(path))
            break;
        mUi.message(this, ResString(QStringLiteral("%0032")), ResString(QStringLiteral("%0020")),
                    UiServices::Icon::Warning, UiServices::Buttons::Ok);
    }

    mColors = NewThemeColors;
    if (!ThemeSave(path, *name, mColors))
        reportSaveFailed(mUi, this);
    FrmSub(1);
}

void ManagementWindow::deleteTheme()
{
    const int row = mThemeList->currentIndex();
    if (row >= 0 && row < mThemePaths.size())
        deleteListed(mThemeList, mThemePaths.at(row), 1, &ManagementWindow::themeSelected);
}

void ManagementWindow::saveTheme()
{
    const int row = mThemeList->currentIndex();
    const QString text = mThemeList->currentText();
    if (row < 0 || row >= mThemePaths.size() || !text.endsWith(u'*')) {
        mUi.message(this, ResString(QStringLiteral("%0025")), ResString(QStringLiteral("%0202")),
                    UiServices::Icon::Error, UiServices::Buttons::Ok);
        return;
    }
    if (!ThemeSave(mThemePaths.at(row), text.chopped(1), mColors))
        reportSaveFailed(mUi, this);
}

} // namespace kq

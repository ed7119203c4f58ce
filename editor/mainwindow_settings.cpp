#include "mainwindow.h"

#include "kxbutton.h"
#include "language.h"
#include "localizecontrols.h"
#include "mainwindow_iconpicture.h"
#include "olecolor.h"
#include "optionsetting.h"
#include "qttranslation.h"
#include "theme.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kq {

namespace {

// Indexes into ThemeColorSet.
enum ColorKey {
    TextboxEnabledColor,
    TextboxDisabledColor,
    TextboxForeColor,
    LabelEnabledColor,
    LabelDisabledColor,
    ButtonEnabledColor,
    ButtonDisabledColor,
    SelectionColor,
    BackgroundColor,
    BoxEnabledColor,
    BoxDisabledColor,
};

const char *const SampleNames[MainWindow::SampleCount] = {"FormatC.dlg2", "VirusModification.dlg2",
                                                          "tester.dlg", "trojan.dlg", "virus.dlg"};

// One colour for a role whatever the state: the theme picks it by the enabled state itself.
void setRole(QPalette &palette, QPalette::ColorRole role, const QColor &color)
{
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, role, color);
}

void setBackground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    setRole(palette, QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setCaption(QObject *control, const QString &caption)
{
    if (auto *button = qobject_cast<KXButton *>(control))
        button->setCaption(caption);
    else if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(caption);
    else if (auto *option = qobject_cast<QAbstractButton *>(control))
        option->setText(caption);
    else if (auto *action = qobject_cast<QAction *>(control))
        action->setText(caption);
}

} // namespace

QColor MainWindow::color(int key) const
{
    return colorFromOle(mColors.at(key));
}

void MainWindow::UpdateSettings()
{
    ThemeInfo(OptionSetting(OptionRead, OptionTheme), QStringLiteral("GetFile"));
    for (int key = 0; key < int(ThemeColorSet.size()); ++key)
        mColors[key] = ThemeColor(QString(ThemeColorSet[key]));
    SetColors();
    const QString language = OptionSetting(OptionRead, OptionLanguage);
    LanguageInfo(language, QStringLiteral("GetFile"));
    QtTranslation::follow(LanguageInfo(language, QStringLiteral("GetId")));
    LocalizeControls(this);
    for (int i = 0; i < SampleCount; ++i)
        mMnuOpnF[i]->setText(QLatin1String(SampleNames[i]));
    layoutToolbar();
}

void MainWindow::ApplyChanges()
{
    for (const Caption &caption : std::as_const(mCaptionTable))
        setCaption(caption.control, caption.id);
    // The pop-up menus' titles and the sample entries go back to their designed captions too,
    // so localising again finds ids (or nothing) there rather than texts.
    mMnuOpn->setTitle(QStringLiteral(".Open"));
    mMnuSav->setTitle(QStringLiteral(".Save"));
    mMnuHlp->setTitle(QStringLiteral(".Help"));
    for (QAction *sample : mMnuOpnF)
        sample->setText(QString());
    UpdateSettings();
}

void MainWindow::setTextColors(QWidget *widget, const QColor &text, const QColor &background)
{
    QPalette palette = widget->palette();
    setRole(palette, QPalette::Text, text);
    setRole(palette, QPalette::Base, background);
    if (qobject_cast<QComboBox *>(widget)) {
        // A drop-down list that cannot be typed in is drawn as a button.
        setRole(palette, QPalette::ButtonText, text);
        setRole(palette, QPalette::Button, background);
    }
    widget->setPalette(palette);
}

void MainWindow::SetColors()
{
    setBackground(this, color(BackgroundColor));
    for (QFrame *box : {mDataBox, mListBox, mScrBox, mProjectBox})
        setBackground(box, color(BoxEnabledColor));
    mMsgIcons->setBackground(
        color(mMsgIcons->isEnabled() ? TextboxEnabledColor : TextboxDisabledColor));

    const QList<QWidget *> controls = findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (control->window() != this)
            continue;
        const bool enabled = control->isEnabled();
        if (auto *label = qobject_cast<QLabel *>(control)) {
            QPalette palette = label->palette();
            setRole(palette, QPalette::WindowText,
                    color(enabled ? LabelEnabledColor : LabelDisabledColor));
            label->setPalette(palette);
        } else if (qobject_cast<QLineEdit *>(control) || qobject_cast<QPlainTextEdit *>(control) ||
                   qobject_cast<QComboBox *>(control) || qobject_cast<QListWidget *>(control)) {
            setTextColors(control, color(TextboxForeColor),
                          color(enabled ? TextboxEnabledColor : TextboxDisabledColor));
        } else if (qobject_cast<QRadioButton *>(control)) {
            // Buttons fill their background from the button role and styles draw their text
            // in either role, so both pairs carry the colours.
            QPalette palette = control->palette();
            setRole(palette, QPalette::WindowText, color(TextboxForeColor));
            setRole(palette, QPalette::ButtonText, color(TextboxForeColor));
            setRole(palette, QPalette::Window, color(ButtonEnabledColor));
            setRole(palette, QPalette::Button, color(ButtonEnabledColor));
            control->setPalette(palette);
            control->setAutoFillBackground(true);
        } else if (qobject_cast<QPushButton *>(control)) {
            QPalette palette = control->palette();
            setRole(palette, QPalette::Button,
                    color(enabled ? ButtonEnabledColor : ButtonDisabledColor));
            control->setPalette(palette);
        }
    }

    QPalette status = mSts->palette();
    setRole(status, QPalette::WindowText, Qt::black);
    mSts->setPalette(status);
    IconUpdate();
}

void MainWindow::layoutToolbar()
{
    const auto place = [](KXButton *button, int left) { button->move(left, button->y()); };
    const auto right = [](const QWidget *widget) { return widget->x() + widget->width(); };
    place(mSd[0], 0);
    place(mSd[1], mSd[0]->width());
    place(mSd[2], right(mSd[1]));
    mLnl[0]->move(right(mSd[2]) + 1, mLnl[0]->y());
    place(mSd[3], mLnl[0]->x() + 2);
    place(mSd[4], right(mSd[3]));
    mLnl[1]->move(right(mSd[4]) + 1, mLnl[1]->y());
    place(mSd[6], mToolbar->width() - mSd[6]->width() - 1);
    place(mSd[5], mSd[6]->x() - mSd[5]->width());
}

} // namespace kq

#include "mainwindow.h"

#include "dialoglistview.h"
#include "maintoolbar.h"
#include "projectstylebox.h"
#include "propertiespanel.h"
#include "scriptcomposer.h"

#include "iconpicture.h"
#include "kxbutton.h"
#include "language.h"
#include "localizecontrols.h"
#include "olecolor.h"
#include "optionsetting.h"
#include "qttranslation.h"
#include "samplenames.h"
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

QColor MainWindow::color(ThemeColorKey key) const
{
    return colorFromOle(mColors.at(int(key)));
}

void MainWindow::UpdateSettings()
{
    themeHeaderValue(optionSetting(OptionRead, OptionTheme), QStringLiteral("GetFile"));
    for (int key = 0; key < ThemeColorCount; ++key)
        mColors[key] = activeThemeColor(QString(ThemeColorSet[key]));
    mPanel->setSelectionColor(color(ThemeColorKey::SelectionColor));
    SetColors();
    const QString language = optionSetting(OptionRead, OptionLanguage);
    languageHeaderValue(language, QStringLiteral("GetFile"));
    const QString languageId = languageHeaderValue(language, QStringLiteral("GetId"));
    QtTranslation::follow(languageId);
    localizeControls(this);
    mComposer->retranslate();
    mPanel->retranslate();
    mListView->retranslate();
    retranslateToolTips();
    retranslateFlowTabs();
    showSampleEntries(sampleFileNames(languageId));
    showRecentEntries();
    mToolbar->layoutButtons();
}

void MainWindow::showSampleEntries(const QStringList &names)
{
    for (int i = 0; i < SampleCount; ++i) {
        const QString name = names.value(i);
        mMnuOpnF[i]->setText(name);
        mMnuOpnF[i]->setVisible(!name.isEmpty());
    }
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
    for (QAction *recent : mMnuOpnRecent)
        recent->setText(QString());
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
    using Key = ThemeColorKey;
    setBackground(this, color(Key::BackgroundColor));
    for (QFrame *box : std::initializer_list<QFrame *>{mPanel, mListView, mComposer, mStyleBox})
        setBackground(box, color(Key::BoxEnabledColor));
    IconPicture *icons = mPanel->iconPicture();
    icons->setBackground(
        color(icons->isEnabled() ? Key::TextboxEnabledColor : Key::TextboxDisabledColor));

    const QList<QWidget *> controls = findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (control->window() != this)
            continue;
        const bool enabled = control->isEnabled();
        if (auto *label = qobject_cast<QLabel *>(control)) {
            QPalette palette = label->palette();
            setRole(palette, QPalette::WindowText,
                    color(enabled ? Key::LabelEnabledColor : Key::LabelDisabledColor));
            label->setPalette(palette);
        } else if (qobject_cast<QLineEdit *>(control) || qobject_cast<QPlainTextEdit *>(control) ||
                   qobject_cast<QComboBox *>(control) || qobject_cast<QListWidget *>(control)) {
            setTextColors(control, color(Key::TextboxForeColor),
                          color(enabled ? Key::TextboxEnabledColor : Key::TextboxDisabledColor));
        } else if (qobject_cast<QRadioButton *>(control)) {
            // Buttons fill their background from the button role and styles draw their text
            // in either role, so both pairs carry the colours.
            QPalette palette = control->palette();
            setRole(palette, QPalette::WindowText, color(Key::TextboxForeColor));
            setRole(palette, QPalette::ButtonText, color(Key::TextboxForeColor));
            setRole(palette, QPalette::Window, color(Key::ButtonEnabledColor));
            setRole(palette, QPalette::Button, color(Key::ButtonEnabledColor));
            control->setPalette(palette);
            control->setAutoFillBackground(true);
        } else if (qobject_cast<QPushButton *>(control)) {
            QPalette palette = control->palette();
            setRole(palette, QPalette::Button,
                    color(enabled ? Key::ButtonEnabledColor : Key::ButtonDisabledColor));
            control->setPalette(palette);
        }
    }

    QPalette status = mSts->palette();
    setRole(status, QPalette::WindowText, Qt::black);
    mSts->setPalette(status);
    mPanel->redrawIcons();
}

} // namespace kq

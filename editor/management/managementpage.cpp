#include "managementpage.h"

#include "editorlook.h"
#include "fileplaces.h"
#include "language.h"
#include "optionsetting.h"
#include "picturebutton.h"
#include "uiservices.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSignalBlocker>

namespace kq {

namespace Management {

QStringList folderEntries(const QString &folder, const QString &pattern)
{
    return FilePlaces::current().files(folder, pattern);
}

QStringList validEntries(QStringList &paths, const std::function<bool(const QString &)> &valid,
                         const std::function<QString(const QString &)> &text)
{
    QStringList shown;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (!valid(paths.at(i))) {
            paths.resize(i);
            break;
        }
        shown << text(paths.at(i));
    }
    return shown;
}

QString listedName(const QString &name, const QString &status, bool usersOwn)
{
    return status == u"User" || usersOwn ? name + u'*' : name;
}

QPushButton *captionButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QComboBox *dropDown(const QString &name, int characters, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setFont(EditorLook::fixedPitchFont());
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(characters);
    return box;
}

std::array<QPushButton *, 3> pictureButtons(const QString &prefix,
                                            const std::array<TextId, 3> &names, QWidget *parent)
{
    static constexpr const char16_t *pictures[] = {u"new.png", u"delete.png", u"save.png"};
    std::array<QPushButton *, 3> buttons{};
    for (int i = 0; i < int(buttons.size()); ++i) {
        buttons.at(i) =
            pictureButton(prefix + QString::number(i),
                          QStringLiteral("management/") + QString::fromUtf16(pictures[i]), parent);
        buttons.at(i)->setAccessibleName(languageText(names.at(i)));
    }
    return buttons;
}

} // namespace Management

ManagementPage::ManagementPage(UiServices &ui, TextId titleId, QWidget *parent)
    : QWidget(parent), mUi(ui), mTitleId(titleId)
{
}

QString ManagementPage::title() const
{
    return languageText(mTitleId);
}

void ManagementPage::showEntries(QComboBox *list, const QStringList &texts,
                                 const QStringList &files, const QString &chosen,
                                 const Selected &selected)
{
    {
        const QSignalBlocker blocker(list);
        list->clear();
        for (qsizetype row = 0; row < texts.size(); ++row)
            list->addItem(texts.at(row), files.at(row));
        list->setCurrentIndex(-1);
    }
    const int current = int(files.indexOf(chosen));
    if (current >= 0)
        selectEntry(list, current, selected);
}

void ManagementPage::selectEntry(QComboBox *list, int row, const Selected &selected)
{
    {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(row);
    }
    selected();
}

bool ManagementPage::acceptsDeletingVersion(const QString &version, TextId before, TextId after,
                                            const QString &title)
{
    const QString question = languageText(before) + version + languageText(after);
    return mUi.message(window(), question, title, UiServices::Icon::Warning,
                       UiServices::Buttons::YesNo) == UiServices::Answer::Yes;
}

bool ManagementPage::confirmsDelete(const QString &entryText)
{
    return mUi.message(window(), languageText(TextId::DeleteSelectedQuestion) + u'\n' + entryText,
                       title(), UiServices::Icon::Question,
                       UiServices::Buttons::YesNo) != UiServices::Answer::No;
}

bool ManagementPage::refusesShipped(const QString &path)
{
    if (!FilePlaces::current().isShipped(path))
        return false;
    mUi.message(window(), languageText(TextId::ShippedFileKept), title(), UiServices::Icon::Warning,
                UiServices::Buttons::Ok);
    return true;
}

void ManagementPage::deleteListed(QComboBox *list, const QString &path, const Selected &selected)
{
    if (refusesShipped(path) || !confirmsDelete(list->currentText()))
        return;
    QFile::remove(path);
    fill();
    if (list->count() > 0)
        selectEntry(list, 0, selected);
}

} // namespace kq

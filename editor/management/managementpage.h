#pragma once

#include "textid.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>

class QComboBox;
class QPushButton;

namespace kq {

class UiServices;

namespace Management {

// The full paths of the files of a folder below the program folder that match pattern, in name
// order, with the user's own files of an installation for every user among them (FilePlaces).
QStringList folderEntries(const QString &folder, const QString &pattern);

// Cuts paths at the first entry that valid() refuses and returns the texts shown for the rest.
QStringList validEntries(QStringList &paths, const std::function<bool(const QString &)> &valid,
                         const std::function<QString(const QString &)> &text);

// A listed language, theme or plug-in: its name, marked with "*" when the user made it (its
// status says "User") or brought it (usersOwn: it lies in the user's own folder).
QString listedName(const QString &name, const QString &status, bool usersOwn);

// A push button designed with a resource id as its caption. No button of the window is a
// default button: Enter in a list must not close the window or run a command.
QPushButton *captionButton(const QString &name, const QString &caption, QWidget *parent);

// A drop-down list in the fixed-pitch font, as wide as `characters` characters whatever it holds.
QComboBox *dropDown(const QString &name, int characters, QWidget *parent);

// The new, delete and save picture buttons of the language and theme panels, named prefix0 to
// prefix2. A picture says nothing to a screen reader, so each is called by its text of names.
std::array<QPushButton *, 3> pictureButtons(const QString &prefix,
                                            const std::array<TextId, 3> &names, QWidget *parent);

} // namespace Management

// One page of the management window: a list of the files of one Programs-folder subfolder with
// what belongs to the selected file. The page fills its list when it is shown (fill) and asks
// its questions through the UI services, titled with the page's tab text.
class ManagementPage : public QWidget
{
    Q_OBJECT

public:
    // Empties and refills the list from the folder, then preselects as the page's setting says.
    virtual void fill() = 0;

protected:
    ManagementPage(UiServices &ui, TextId titleId, QWidget *parent);

    // The page's tab text, the title of its questions.
    QString title() const;

    using Selected = std::function<void()>;
    // Shows the texts in a drop-down list, each entry holding its file as its data, and
    // preselects the entry of the chosen file, the one the setting names.
    void showEntries(QComboBox *list, const QStringList &texts, const QStringList &files,
                     const QString &chosen, const Selected &selected);
    // Selects a drop-down entry and runs its selection handler, as a click does.
    static void selectEntry(QComboBox *list, int row, const Selected &selected);

    // True when the user accepts deleting a file of a version other than "2.0"; the question is
    // the text of before, the version and the text of after.
    bool acceptsDeletingVersion(const QString &version, TextId before, TextId after,
                                const QString &title);
    // True unless the user declines deleting the list entry shown as entryText.
    bool confirmsDelete(const QString &entryText);
    // A file that came with an installation for every user is not the user's to delete; says so
    // and returns true for such a file.
    bool refusesShipped(const QString &path);
    // Deletes the file behind the selected entry of a language or theme list once the user
    // agrees, refills the list and selects its first entry, which becomes the setting.
    void deleteListed(QComboBox *list, const QString &path, const Selected &selected);

    UiServices &mUi;

private:
    TextId mTitleId;
};

} // namespace kq

#pragma once

// Shared ground of the editor's window tests: a private settings store, a program folder copied
// from the shipped data, and lookups of controls and list texts.

#include "programfolder.h"
#include "resourcefiles.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QListWidget>
#include <QMouseEvent>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace kq::EditorTest {

// QSettings takes its per-user folder from XDG_CONFIG_HOME at its first use, so it is set before
// the test's application object exists.
inline QTemporaryDir &configHome()
{
    static QTemporaryDir dir;
    return dir;
}
// The recovery copies of autosave live under XDG_DATA_HOME; each test program has its own.
inline const bool ConfigHomeSet = [] {
    return qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome().path())) &&
           qputenv("XDG_DATA_HOME", QFile::encodeName(configHome().path() + "/data"));
}();

// Copies a folder with its subfolders, keeping each file's permissions. Plain writes: QFile::copy
// syncs every file to disk, which only slows the tests down.
inline bool copyTree(const QString &from, const QString &to)
{
    const QDir source(from);
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = QDir(to).filePath(source.relativeFilePath(file));
        if (!kq::TestFiles::writeBytes(target, kq::TestFiles::readBytes(file)) ||
            !QFile::setPermissions(target, QFile::permissions(file)))
            return false;
    }
    return true;
}

// A program folder of the test's own holding the shipped data, so tests never touch the real one
// and can run in parallel. It is the program folder while it lives.
class ProgramFolder
{
public:
    ProgramFolder()
    {
        mOk = mDir.isValid() && copyTree(QStringLiteral(KQ_SOURCE_DIR "/data"), mDir.path());
        kq::setProgramFolder(mDir.path());
    }
    ~ProgramFolder() { kq::setProgramFolder(QString()); }

    bool ok() const { return mOk; }
    QString path(const QString &relative) const { return QDir(mDir.path()).filePath(relative); }

protected:
    bool mOk = false;

private:
    QTemporaryDir mDir;
};

template <typename T> T *child(const QObject *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// The mouse moved to a point of a widget, as the window system reports it.
inline void moveMouse(QWidget *widget, const QPoint &at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// A user's choice in a drop-down list: the entry shown, then the list's activated signal.
inline void choose(QComboBox *list, int row)
{
    list->setCurrentIndex(row);
    emit list->activated(row);
}

inline QStringList listTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

inline QStringList comboTexts(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

// Typing as a keyboard does, Cyrillic and other letters included.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar character : text) {
        const char latin = character.toLatin1();
        if (character.unicode() < 0x80 && latin != 0)
            QTest::keyClick(widget, latin);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
    }
}

} // namespace kq::EditorTest

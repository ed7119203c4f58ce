#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

class QEvent;

namespace kq {

// Undo and redo belong to the project's history, not to one box's: a box asked whether it takes
// one of these keys as its own shortcut leaves it to the window.
bool isHistoryShortcut(const QEvent *event);

// A one-line box of a record field in the panel or the script box: fixed-pitch, like the list,
// and no longer than the field it edits.
class FieldBox : public QLineEdit
{
    Q_OBJECT

public:
    FieldBox(const QString &name, int maxLength, QWidget *parent = nullptr);

protected:
    bool event(QEvent *event) override;
};

// The many-line box of a record's text: fixed-pitch like the field boxes, leaving undo and redo to
// the window, and taking only plain text from the clipboard.
class FieldTextBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    FieldTextBox(const QString &name, int maxLength, QWidget *parent = nullptr);

protected:
    bool event(QEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    int mMaxLength;
};

} // namespace kq

#pragma once

#include "areaframe.h"

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kq {

class ProjectDocument;

// The script box: composes a canonical button script from two lists and a dialog number and
// asks for it to be put into the script of button 1 or 2. Its entries follow the language; the
// scripts it composes are always the canonical commands every runner understands.
class ScriptComposer : public AreaFrame
{
    Q_OBJECT

public:
    enum Command { NoAction, Go, Exit };
    enum Direction { Next, Back, To };

    explicit ScriptComposer(ProjectDocument &document, QWidget *parent = nullptr);

    // Handlers of the two lists, as a choice of the user runs them.
    void selectCommand(int index);
    void selectDirection(int index);
    void insertScript(int button);
    // The script the current choices make.
    QString composedScript() const;
    // The entries' texts in the active language.
    void retranslate();

signals:
    void insertRequested(int button, const QString &script);
    // Controls were enabled or disabled: the window colours them again.
    void statesChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void commandChosen(int index);
    void directionChosen(int index);
    void padArgument();
    // The insert buttons follow the current dialog's step type.
    void updateInsertButtons();

    ProjectDocument &mDocument;
    QLabel *mTitle = nullptr;
    QComboBox *mCommand = nullptr;
    QComboBox *mDirection = nullptr;
    QLineEdit *mArgument = nullptr;
    std::array<QPushButton *, 2> mInsert{};
};

} // namespace kq

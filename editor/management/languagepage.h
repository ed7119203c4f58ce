#pragma once

#include "managementpage.h"

#include <array>

class QComboBox;
class QFrame;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;

namespace kq {

// The languages page: the language files of the Languages folder, the selected one's name,
// author and language id, and a viewer of its resource lines. Selecting a language makes it the
// setting; the main window applies it when the management window closes.
class LanguagePage : public ManagementPage
{
    Q_OBJECT

public:
    LanguagePage(UiServices &ui, QWidget *parent);

    void fill() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void languageSelected();
    void showStringRows();
    void deleteLanguage();

    // The resource lines of the selected language, as the viewer scrolls through them.
    QStringList mStringRows;

    QComboBox *mList = nullptr;
    QPlainTextEdit *mInfo = nullptr;
    QComboBox *mLangId = nullptr;
    QFrame *mViewer = nullptr;
    std::array<QLineEdit *, 7> mStringBoxes{};
    QScrollBar *mScroll = nullptr;
    std::array<QPushButton *, 3> mButtons{};
};

} // namespace kq

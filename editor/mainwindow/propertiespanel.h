#pragma once

#include "stepflow.h"

#include "areaframe.h"
#include <QColor>
#include <QHash>

#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace kq {

class IconPicture;
class OptionRow;
class ProjectDocument;

// The properties panel of the current dialog: its type, caption, text, buttons, scripts, time
// and icon. It shows the document's record, enables the fields the step type uses, and sends
// every edit to the document: text boxes as the user types, scripts normalised when the box is
// left, and whatever is pending when the document asks before a command.
class PropertiesPanel : public AreaFrame
{
    Q_OBJECT

public:
    explicit PropertiesPanel(ProjectDocument &document, QWidget *parent = nullptr);

    // Shows the current dialog again.
    void load();
    // Puts a composed script into a script box and the record, as it stands.
    void insertScript(int button, const QString &script);
    void selectType(int type);
    void iconClick(int cell);
    // Puts the focus into the box that holds a field: the script box of a button or of the end a
    // step comes to by itself, the caption box for anything else.
    void focusField(StepField field);
    // Puts the focus into a field's box with characters of the record's field selected (a text's
    // line breaks counted as the record holds them, CR LF).
    void selectInField(int field, int start, int length);

    // The texts that are not captions: the meanings of the icon cells.
    void retranslate();

    // The icon choice redrawn: the cell of the record's icon highlighted, the strip of the style.
    void redrawIcons();
    void setSelectionColor(const QColor &color);
    IconPicture *iconPicture() const { return mIcons; }

signals:
    // Fields were enabled or disabled: the window colours them again.
    void statesChanged();
    // Characters the project file cannot hold were typed or pasted; their boxes now show the
    // "?" that was stored in their place.
    void charactersReplaced(int count);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildFields();
    void layOutFields();
    void setKeyboardOrder();
    void showStates(int type);
    void recordChanged(int index);
    // Writes every box whose text differs from the record (scripts normalised first); the
    // document asks for it before every command.
    void commitEdits();
    void writeField(QWidget *box);
    // After a box is left or the edits committed: boxes holding characters the project file
    // cannot hold show what was stored instead, and say how many once.
    void showStoredText();
    void writeTime();
    void normalizeScript(int button);
    void limitText(int position, int added);
    // Only what was typed since a box last showed or wrote its record is ever written: a box
    // that still shows an earlier record (after an undo, a move) must not write it over the
    // record that is current now.
    bool edited(QWidget *box) const;
    QString textIn(QWidget *box) const;
    bool differs(QWidget *box) const;

    ProjectDocument &mDocument;
    QColor mSelectionColor = Qt::blue;
    bool mLoading = false;
    bool mWriting = false;
    bool mLimitingText = false;
    // Each box's text as it last showed or wrote its record.
    QHash<QWidget *, QString> mSynced;

    OptionRow *mTypeRow = nullptr;
    std::array<QRadioButton *, 3> mType{};
    QPlainTextEdit *mText = nullptr;
    QLineEdit *mCaption = nullptr;
    std::array<QLineEdit *, 2> mBtn{};
    std::array<QLineEdit *, 2> mBtnScr{};
    QLineEdit *mTime = nullptr;
    IconPicture *mIcons = nullptr;
    QLabel *mLblType = nullptr;
    QLabel *mLblTime = nullptr;
    QLabel *mLblCaption = nullptr;
    QLabel *mLblText = nullptr;
    std::array<QLabel *, 2> mLblBtn{};
    std::array<QLabel *, 2> mLblBtnScr{};
    QLabel *mLblIco = nullptr;
};

} // namespace kq

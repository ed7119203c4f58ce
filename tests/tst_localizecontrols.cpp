#include "kxbutton.h"
#include "language.h"
#include "localizecontrols.h"
#include "programfolder.h"
#include "resourcefiles.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <functional>

using namespace kq;
using namespace kq::TestFiles;

namespace {

const QStringList TestLanguage{"!KestraneDevelopment10",
                               "!RescourceFile",
                               "[Language]",
                               "Name=Русский",
                               "ResId=0",
                               "Author=Kestrane",
                               "Version=2.0",
                               "Status=General",
                               "[Rescource]",
                               "%0001, Создать",
                               "%0010, Закрыть",
                               "%0101, Тип:",
                               "%0111, Стиль проекта",
                               "%0120, Сообщение",
                               "%0125, Текст",
                               "%0150, -",
                               "%0151, Открыть...",
                               "%0156, О программе",
                               "%0160, %0151",
                               ".Open, Открыть"};

// A small window as the editor designs them: resource ids in place of captions.
struct Window
{
    QWidget widget;
    QLabel *label = new QLabel("%0101");
    QLabel *emptyLabel = new QLabel;
    QPushButton *button = new QPushButton("%0010");
    QRadioButton *option = new QRadioButton("%0120");
    QCheckBox *check = new QCheckBox("%0101");
    QGroupBox *frame = new QGroupBox("%0111");
    QLabel *framedLabel = new QLabel("%0111");
    QLineEdit *box = new QLineEdit("%0125");
    KXButton *skinned = new KXButton;
    KXButton *pictureOnly = new KXButton;
    QLabel *idOfAnId = new QLabel("%0160");
    QMenu *menu = new QMenu(".Open", &widget);
    QAction *open = menu->addAction("%0151");
    QAction *line = menu->addAction("%0150");
    QAction *sample = menu->addAction(QString());
    QAction *about = new QAction("%0156", &widget);
    QDialog *owned = new QDialog(&widget);
    QLabel *ownedLabel = new QLabel("%0101", owned);

    Window()
    {
        auto *layout = new QVBoxLayout(&widget);
        for (QWidget *child :
             std::initializer_list<QWidget *>{label, emptyLabel, button, option, check, frame, box,
                                              skinned, pictureOnly, idOfAnId})
            layout->addWidget(child);
        auto *frameLayout = new QVBoxLayout(frame);
        frameLayout->addWidget(framedLabel);
        skinned->setCaption("%0001");
        pictureOnly->setCaption(QString());
        menu->addAction(about);
    }

    // What the editor does before localising again: the designed ids go back.
    void restoreIds()
    {
        label->setText("%0101");
        button->setText("%0010");
        option->setText("%0120");
        framedLabel->setText("%0111");
        skinned->setCaption("%0001");
        idOfAnId->setText("%0160");
        menu->menuAction()->setText(".Open");
        open->setText("%0151");
        line->setText("%0150");
        about->setText("%0156");
    }
};

// A control of one kind on the widget, and a reader of its caption.
std::pair<QObject *, std::function<QString()>> captionedControl(const QString &kind, QWidget *on)
{
    if (kind == "label") {
        auto *label = new QLabel(on);
        return {label, [label] { return label->text(); }};
    }
    if (kind == "push button" || kind == "option button") {
        QAbstractButton *button = kind == "push button"
                                      ? static_cast<QAbstractButton *>(new QPushButton(on))
                                      : new QRadioButton(on);
        return {button, [button] { return button->text(); }};
    }
    if (kind == "skinned button") {
        auto *button = new KXButton(on);
        return {button, [button] { return button->caption(); }};
    }
    auto *action = new QAction(on);
    on->addAction(action);
    return {action, [action] { return action->text(); }};
}

} // namespace

class TestLocalizeControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void captionsAreReplaced();
    void otherKindsAndEmptyCaptionsStay();
    void ownedWindowsAreNotEntered();
    void secondRunWithoutRestoringGivesResErr6();
    void separatorStaysASeparator();
    void entryThatStopsBeingASeparator();
    void nullWindowIsIgnored();
    void captionIdsComeBack_data();
    void captionIdsComeBack();

private:
    QTemporaryDir mDir;
};

void TestLocalizeControls::initTestCase()
{
    QVERIFY(mDir.isValid());
    setProgramFolder(mDir.path());
    QVERIFY(writeLines(mDir.filePath("Languages/test.lang"), TestLanguage));
    QCOMPARE(languageHeaderValue("test.lang", "GetFile"), QString("test.lang"));
}

void TestLocalizeControls::cleanupTestCase()
{
    setProgramFolder(QString());
}

void TestLocalizeControls::captionsAreReplaced()
{
    Window window;
    localizeControls(&window.widget);

    QCOMPARE(window.label->text(), QString("Тип:"));
    QCOMPARE(window.button->text(), QString("Закрыть"));
    QCOMPARE(window.option->text(), QString("Сообщение"));
    QCOMPARE(window.framedLabel->text(), QString("Стиль проекта"));
    QCOMPARE(window.skinned->caption(), QString("Создать"));
    QCOMPARE(window.menu->title(), QString("Открыть"));
    QCOMPARE(window.open->text(), QString("Открыть..."));
    QCOMPARE(window.about->text(), QString("О программе"));
    QCOMPARE(window.line->text(), QString());
    QVERIFY(window.line->isSeparator());
    // Looked up once: a text that is itself an id stays as it came.
    QCOMPARE(window.idOfAnId->text(), QString("%0151"));
}

void TestLocalizeControls::otherKindsAndEmptyCaptionsStay()
{
    Window window;
    localizeControls(&window.widget);

    QCOMPARE(window.emptyLabel->text(), QString());
    QCOMPARE(window.pictureOnly->caption(), QString());
    QCOMPARE(window.sample->text(), QString());
    QVERIFY(!window.sample->isSeparator());
    QCOMPARE(window.frame->title(), QString("%0111"));
    QCOMPARE(window.check->text(), QString("%0101"));
    QCOMPARE(window.box->text(), QString("%0125"));
}

void TestLocalizeControls::ownedWindowsAreNotEntered()
{
    Window window;
    localizeControls(&window.widget);
    QCOMPARE(window.ownedLabel->text(), QString("%0101"));

    localizeControls(window.owned);
    QCOMPARE(window.ownedLabel->text(), QString("Тип:"));
}

void TestLocalizeControls::secondRunWithoutRestoringGivesResErr6()
{
    Window window;
    localizeControls(&window.widget);
    localizeControls(&window.widget);

    const QString missing("ResErr6");
    QCOMPARE(window.label->text(), missing);
    QCOMPARE(window.button->text(), missing);
    QCOMPARE(window.option->text(), missing);
    QCOMPARE(window.skinned->caption(), missing);
    QCOMPARE(window.menu->title(), missing);
    QCOMPARE(window.open->text(), missing);
    // A separator keeps no text, so a second run leaves it a separator.
    QVERIFY(window.line->isSeparator());
    QCOMPARE(window.line->text(), QString());
    // The caption that was left an id by the first run resolves now.
    QCOMPARE(window.idOfAnId->text(), QString("Открыть..."));
    QCOMPARE(window.emptyLabel->text(), QString());

    window.restoreIds();
    localizeControls(&window.widget);
    QCOMPARE(window.label->text(), QString("Тип:"));
    QCOMPARE(window.skinned->caption(), QString("Создать"));
    QCOMPARE(window.menu->title(), QString("Открыть"));
}

void TestLocalizeControls::separatorStaysASeparator()
{
    Window window;
    for (int run = 0; run < 3; ++run) {
        window.restoreIds();
        localizeControls(&window.widget);
        QVERIFY(window.line->isSeparator());
        QCOMPARE(window.line->text(), QString());
    }
}

void TestLocalizeControls::entryThatStopsBeingASeparator()
{
    Window window;
    localizeControls(&window.widget);
    QVERIFY(window.line->isSeparator());

    window.line->setText("%0156");
    localizeControls(&window.widget);
    QVERIFY(!window.line->isSeparator());
    QCOMPARE(window.line->text(), QString("О программе"));
}

void TestLocalizeControls::nullWindowIsIgnored()
{
    localizeControls(nullptr);
    Window window;
    QCOMPARE(window.label->text(), QString("%0101"));
}

void TestLocalizeControls::captionIdsComeBack_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::newRow("label") << "label" << int(TextId::LabelType) << "Тип:";
    QTest::newRow("push button") << "push button" << int(TextId::ManagementClose) << "Закрыть";
    QTest::newRow("option button") << "option button" << int(TextId::TypeMessage) << "Сообщение";
    QTest::newRow("skinned button") << "skinned button" << int(TextId::ToolNew) << "Создать";
    QTest::newRow("menu entry") << "menu entry" << int(TextId::MenuOpenFile) << "Открыть...";
}

void TestLocalizeControls::captionIdsComeBack()
{
    QFETCH(QString, kind);
    QFETCH(int, id);
    QFETCH(QString, text);
    QWidget widget;
    const auto [control, caption] = captionedControl(kind, &widget);
    setCaptionId(control, TextId(id));
    QCOMPARE(caption(), resourceId(TextId(id)));
    localizeControls(&widget);
    QCOMPARE(caption(), text);
    restoreCaptionIds(&widget);
    QCOMPARE(caption(), resourceId(TextId(id)));
    localizeControls(&widget);
    QCOMPARE(caption(), text);
}

QTEST_MAIN(TestLocalizeControls)
#include "tst_localizecontrols.moc"

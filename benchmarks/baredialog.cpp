// The yardstick of the runner's and the editor's start-ups: a bare Qt dialog with a label and
// a button.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Форматирование диска C:")));
    auto *button = new QPushButton(QStringLiteral("OK"));
    layout->addWidget(button);
    QObject::connect(button, &QPushButton::clicked, &dialog, &QDialog::accept);
    return dialog.exec() == QDialog::Accepted ? 0 : 1;
}

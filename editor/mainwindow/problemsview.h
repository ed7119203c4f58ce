#pragma once

#include "projectcheck.h"

#include <QTreeWidget>

namespace kq {

// The findings of the project check as a list: one row per finding with its severity's icon,
// its step ("Project" for the project as a whole) and its text in the active language, or one
// row saying that no problems were found. It does
// not know the document: the owner calls showFindings after every check.
class ProblemsView : public QTreeWidget
{
    Q_OBJECT

public:
    explicit ProblemsView(QWidget *parent = nullptr);

    void showFindings(const QList<Finding> &findings);
    const QList<Finding> &findings() const { return mFindings; }
    // Fills the rows again in the active language, after the user chose another one.
    void retranslate();

signals:
    // The user clicked a row or pressed Enter on it: the step (-1 for the project) and the
    // button or script the finding concerns.
    void findingActivated(int step, kq::StepField field);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    static QTreeWidgetItem *noProblemsRow();
    void activate(QTreeWidgetItem *item);

    QList<Finding> mFindings;
};

} // namespace kq

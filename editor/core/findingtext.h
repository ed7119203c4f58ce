#pragma once

#include "projectcheck.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kq::FindingText {

// The name of a button or script in the active language ("Button 1", "Bar-full script"); empty
// for the header and for nothing in particular.
QString fieldName(StepField field);

// The step as a problems list shows it: its number, or "Project" for the project as a whole.
QString stepLabel(int step);

// The finding as one sentence of the active language.
QString text(const Finding &finding);
// The sentence of each finding, in order: text() of each, with each text of the language file
// looked up once for all of them.
QStringList texts(const QList<Finding> &findings);

} // namespace kq::FindingText

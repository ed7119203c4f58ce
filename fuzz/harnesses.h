#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace kq::Fuzz {

// An input broke one of the invariants a harness checks. libFuzzer records the input as a
// crash; the replay test reports the message.
class InvariantBroken : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

void require(bool condition, const char *what);

// Each harness takes one input and runs it through one family of readers, checking what must
// hold for any input. No input may crash them.

// The bytes as a project file: every record read and decoded, records encoded back, and the step
// loop played to its end with step kinds that show no window.
void projectFile(const QByteArray &input);
// The bytes (code page 1251) as a typed script and as a stored script run at a position.
void buttonScript(const QByteArray &input);
// The bytes as an old text project imported into a project.
void legacyImport(const QByteArray &input);
// The bytes as a language, a theme and a plug-in description file, read by every reader.
void resourceFiles(const QByteArray &input);
// The whole records of the bytes as a project file, the tail shorter than a record as what a user
// does in the windows, one byte per action: a project the project check passes without errors
// never ends as a fault in the runner's step loop, whatever the user does.
void checkedRun(const QByteArray &input);

} // namespace kq::Fuzz

#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

namespace kq {

// During a test run the editor asks the runner through its standard input to bring its window
// to the front: every line RaiseRequest is one request. Other lines are ignored; at the end of
// the input (the editor has gone) listening stops.
class RaiseRequests : public QObject
{
    Q_OBJECT

public:
    explicit RaiseRequests(int descriptor, QObject *parent = nullptr);

    // False once the input has ended.
    bool isListening() const;

signals:
    void raiseRequested();

private:
    void readAvailable();

    int mDescriptor;
    QSocketNotifier *mNotifier;
    QByteArray mPending;
};

// Brings the visible top-level windows of the application to the front and activates them.
void raiseVisibleWindows();

} // namespace kq

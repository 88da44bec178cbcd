// Calls handed to another thread's event loop, in an order ThreadSanitizer
// can follow. Qt queues a call behind its own locks, and Qt is not built with
// ThreadSanitizer: the order is real but invisible to it, so every value
// handed over would read as a race between the two threads. post_call wraps
// the function in an event of its own and marks that everything the posting
// thread did before posting happens before the call runs. Without
// ThreadSanitizer the marks are empty and this is a plain queued call.
#pragma once
#include <QObject>
#include <functional>

class QEvent;

namespace host {

// Queues `call` to run on `receiver`'s thread, after the calls posted to it
// before; the receiver hands its customEvent()s to run_posted_call. A call
// still queued when the receiver is destroyed is dropped.
void post_call(QObject* receiver, std::function<void()> call);
// Runs the call if `e` came from post_call; false for any other event.
bool run_posted_call(QEvent* e);

// An object that only runs the calls posted to it.
class CallReceiver : public QObject {
public:
    using QObject::QObject;

protected:
    void customEvent(QEvent* e) override { run_posted_call(e); }
};

} // namespace host

#include "host/common/posted_call.h"

#include <QCoreApplication>
#include <QEvent>

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define EMS_THREAD_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_THREAD__)
#define EMS_THREAD_SANITIZER 1
#endif
#ifdef EMS_THREAD_SANITIZER
#include <sanitizer/tsan_interface.h>
#endif

namespace host {

namespace {

QEvent::Type posted_call_type()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

class PostedCall : public QEvent {
public:
    explicit PostedCall(std::function<void()> call) : QEvent(posted_call_type()), call_(std::move(call)) {}
    void run() { call_(); }

private:
    std::function<void()> call_;
};

} // namespace

void post_call(QObject* receiver, std::function<void()> call)
{
    auto* event = new PostedCall(std::move(call));
#ifdef EMS_THREAD_SANITIZER
    __tsan_release(event);
#endif
    QCoreApplication::postEvent(receiver, event);
}

bool run_posted_call(QEvent* e)
{
#ifdef EMS_THREAD_SANITIZER
    __tsan_acquire(e); // before the first read of the event; nothing for other events
#endif
    if (e->type() != posted_call_type()) return false;
    static_cast<PostedCall*>(e)->run();
    return true;
}

} // namespace host

#pragma once

#include <QMetaObject>
#include <QObject>

#include <functional>
#include <utility>

// Qt hands a call to another thread through its own event queue and, for a call that is waited
// for, a futex-based semaphore; ThreadSanitizer sees neither. The handoffs here tell it that
// everything before the handoff happens before the call, and the call before the wait returns.
#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
#endif

namespace korvane {

namespace handoff_detail {

inline void Release(void* token) {
#if defined(__SANITIZE_THREAD__)
    __tsan_release(token);
#else
    (void)token;
#endif
}

inline void Acquire(void* token) {
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(token);
#else
    (void)token;
#endif
}

}  // namespace handoff_detail

// Runs call on receiver's thread and returns when it has run. Not from receiver's own thread.
inline void CallOnThreadAndWait(QObject* receiver, const std::function<void()>& call) {
    int token = 0;
    handoff_detail::Release(&token);
    QMetaObject::invokeMethod(
        receiver,
        [&token, &call] {
            handoff_detail::Acquire(&token);
            call();
            handoff_detail::Release(&token);
        },
        Qt::BlockingQueuedConnection);
    handoff_detail::Acquire(&token);
}

// Queues call to run on receiver's thread, unless receiver is gone by then.
inline void PostToThread(QObject* receiver, std::function<void()> call) {
    static char token;
    handoff_detail::Release(&token);
    QMetaObject::invokeMethod(
        receiver,
        [call = std::move(call)] {
            handoff_detail::Acquire(&token);
            call();
        },
        Qt::QueuedConnection);
}

}  // namespace korvane

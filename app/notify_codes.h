#pragma once

#include <QEvent>

namespace korvane {

// The shell-wide notification, message 200, and its codes.
inline constexpr int kNotifyMessage = 200;

enum NotifyCode : int {
    NotifyNewDocument = 1,
    NotifyImported = 2,
    NotifyStatusChanged = 3,
    NotifyConversionStarted = 4,
    NotifyConversionFinished = 5,
};

// How a notification reaches a target: an event of this type, delivered synchronously; a target
// handles it in its event() or customEvent().
class NotifyEvent : public QEvent {
  public:
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + kNotifyMessage);

    explicit NotifyEvent(int code) : QEvent(kType), code_(code) {}
    int code() const { return code_; }

  private:
    int code_;
};

}  // namespace korvane

#pragma once

#include <QEvent>

namespace korvane {

// The shell-wide notification, message 200, and its codes.
inline constexpr int kNotifyMessage = 200;

enum class NotifyCode : int {
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

    explicit NotifyEvent(NotifyCode code) : QEvent(kType), code_(code) {}
    NotifyCode code() const { return code_; }

  private:
    NotifyCode code_;
};

}  // namespace korvane

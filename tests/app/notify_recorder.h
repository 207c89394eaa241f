#pragma once

#include <QObject>
#include <QThread>

#include <vector>

#include "app/notify_codes.h"

namespace korvane::testing {

// A notification target that records the codes it receives, and on which thread.
class NotifyRecorder : public QObject {
  public:
    explicit NotifyRecorder(std::vector<int>* log = nullptr, int tag = 0) : log_(log), tag_(tag) {}

    std::vector<NotifyCode> codes;
    QThread* handledOn = nullptr;

  protected:
    void customEvent(QEvent* event) override {
        if (event->type() != NotifyEvent::kType) {
            return;
        }
        codes.push_back(static_cast<NotifyEvent*>(event)->code());
        handledOn = QThread::currentThread();
        if (log_ != nullptr) {
            log_->push_back(tag_);
        }
    }

  private:
    std::vector<int>* log_;
    int tag_;
};

}  // namespace korvane::testing

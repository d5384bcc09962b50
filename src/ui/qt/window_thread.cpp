// The hand-off to the window thread on Qt: a queued call to an object that lives there.
#include "ui/window_thread.h"

#include <QMetaObject>
#include <QObject>

#include <mutex>

namespace kadromir::ui {

struct WindowThreadMailbox::Address::Shared {
    std::mutex Lock;
    QObject* Receiver = nullptr; // none once the mailbox has gone
};

WindowThreadMailbox::WindowThreadMailbox() : Box(std::make_shared<Address::Shared>()) {
    Box->Receiver = new QObject;
}

WindowThreadMailbox::~WindowThreadMailbox() {
    const std::lock_guard<std::mutex> guard(Box->Lock);
    // Qt drops what is still queued for the receiver when it goes.
    delete Box->Receiver;
    Box->Receiver = nullptr;
}

void WindowThreadMailbox::Address::Post(std::function<void()> work) const {
    const std::lock_guard<std::mutex> guard(Box->Lock);
    if (Box->Receiver != nullptr) {
        QMetaObject::invokeMethod(Box->Receiver, std::move(work), Qt::QueuedConnection);
    }
}

} // namespace kadromir::ui

// The hand-off to the window thread on Win32: a queue of work and a message to a
// hidden window of that thread, which runs what is queued.
#include "ui/window_thread.h"

#include "message_window.h"

#include <deque>
#include <mutex>

namespace kadromir::ui {
namespace {
constexpr UINT WorkWaiting = WM_APP + 2;
}

struct WindowThreadMailbox::Address::Shared {
    std::mutex Lock;
    std::deque<std::function<void()>> Work;
    HWND Receiver = nullptr; // none once the mailbox has gone
    // The hidden window; made and destroyed on the window thread, by the mailbox.
    MessageWindow* Window = nullptr;
};

namespace {
// Runs what was handed over, one piece at a time, the lock not held while it runs.
// A piece of work may end the mailbox: the box is held for each piece on its own.
void RunWaiting(std::weak_ptr<WindowThreadMailbox::Address::Shared> mailbox) {
    for (;;) {
        std::function<void()> work;
        {
            const auto box = mailbox.lock();
            if (!box) {
                return;
            }
            const std::lock_guard<std::mutex> guard(box->Lock);
            if (box->Work.empty() || box->Receiver == nullptr) {
                return;
            }
            work = std::move(box->Work.front());
            box->Work.pop_front();
        }
        work();
    }
}
} // namespace

WindowThreadMailbox::WindowThreadMailbox() : Box(std::make_shared<Address::Shared>()) {
    std::weak_ptr<Address::Shared> box = Box;
    Box->Window = new MessageWindow([box](UINT, WPARAM, LPARAM) { RunWaiting(box); });
    Box->Receiver = Box->Window->Handle();
}

WindowThreadMailbox::~WindowThreadMailbox() {
    MessageWindow* window;
    {
        const std::lock_guard<std::mutex> guard(Box->Lock);
        window = Box->Window;
        Box->Window = nullptr;
        Box->Receiver = nullptr;
        Box->Work.clear(); // dropped: nothing waits for it
    }
    delete window;
}

void WindowThreadMailbox::Address::Post(std::function<void()> work) const {
    const std::lock_guard<std::mutex> guard(Box->Lock);
    if (Box->Receiver != nullptr) {
        Box->Work.push_back(std::move(work));
        PostMessageW(Box->Receiver, WorkWaiting, 0, 0);
    }
}

} // namespace kadromir::ui

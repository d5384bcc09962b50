#pragma once

#include <functional>
#include <memory>

namespace kadromir::ui {

// Hands work from any thread to the window thread, where it runs between events, in
// the order handed over. Made on the window thread. Work handed over after the mailbox
// has gone, or still waiting then, is dropped: nothing waits for it.
class WindowThreadMailbox {
  public:
    WindowThreadMailbox();
    ~WindowThreadMailbox();
    WindowThreadMailbox(const WindowThreadMailbox&) = delete;
    WindowThreadMailbox& operator=(const WindowThreadMailbox&) = delete;

    // A handle any thread may keep and post through, even after the mailbox has gone.
    class Address {
      public:
        // Thread-safe.
        void Post(std::function<void()> work) const;

        struct Shared;
        std::shared_ptr<Shared> Box;
    };
    Address Here() const { return {Box}; }

  private:
    std::shared_ptr<Address::Shared> Box;
};

} // namespace kadromir::ui

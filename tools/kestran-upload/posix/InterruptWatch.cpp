#include <pthread.h>
#include <signal.h>

#include <thread>

#include "kestran-upload/InterruptWatch.h"

// The signals stay blocked in every thread and one thread of our own takes them with
// sigwait: nothing runs in a signal handler, and no write of the upload is cut short.
struct CInterruptWatch::SPlatform {
    sigset_t watched{};
    sigset_t previous{};
    std::atomic<bool> stopping{false};
    std::thread waiter;
};

CInterruptWatch::CInterruptWatch() : m_platform(std::make_unique<SPlatform>()) {
    SPlatform& p = *m_platform;
    sigemptyset(&p.watched);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&p.watched, signal);
    pthread_sigmask(SIG_BLOCK, &p.watched, &p.previous);
    p.waiter = std::thread([this] {
        SPlatform& q = *m_platform;
        for (;;) {
            int signal = 0;
            if (sigwait(&q.watched, &signal) != 0)
                continue;
            if (q.stopping.load())
                return;
            int none = 0;
            m_signal.compare_exchange_strong(none, signal);
        }
    });
}

CInterruptWatch::~CInterruptWatch() {
    SPlatform& p = *m_platform;
    p.stopping = true;
    // A watched signal to the waiter itself ends its wait.
    pthread_kill(p.waiter.native_handle(), SIGHUP);
    p.waiter.join();
    pthread_sigmask(SIG_SETMASK, &p.previous, nullptr);
}

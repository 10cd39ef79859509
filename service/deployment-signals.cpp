#include "service/deployment-signals.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
static_assert(std::atomic<int>::is_always_lock_free, "the handler needs a lock-free flag");
std::atomic<int> g_caught{0};
struct sigaction g_previous[sizeof kSignals / sizeof kSignals[0]];

void OnSignal(int sig) {
    int expected = 0;
    g_caught.compare_exchange_strong(expected, sig);  // the first one counts
}

}  // namespace

DeploymentSignals::DeploymentSignals() {
    g_caught = 0;
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // the deployment's own calls go on
    for (size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i) {
        sigaction(kSignals[i], nullptr, &g_previous[i]);
        // A signal the launcher was told to ignore (nohup) stays ignored.
        if ((g_previous[i].sa_flags & SA_SIGINFO) != 0 || g_previous[i].sa_handler != SIG_IGN)
            sigaction(kSignals[i], &action, nullptr);
    }
}

DeploymentSignals::~DeploymentSignals() {
    for (size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i)
        sigaction(kSignals[i], &g_previous[i], nullptr);
}

int DeploymentSignals::Caught() { return g_caught.load(); }

void DeploymentSignals::EndIfCaught() {
    int const sig = g_caught.exchange(0);
    if (sig == 0) return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(sig, &action, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    raise(sig);
    _exit(128 + sig);  // only if the signal could not end the process
}

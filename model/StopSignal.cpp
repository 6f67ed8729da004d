#include "model/StopSignal.h"

#include <csignal>

namespace {
std::atomic<bool>* g_flag = nullptr;

extern "C" void onStopSignal(int)
{
    g_flag->store(true);
}
} // namespace

void stopOnInterrupt(std::atomic<bool>& flag)
{
    g_flag = &flag;
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

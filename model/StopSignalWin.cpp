#include "model/StopSignal.h"

#include <windows.h>

namespace {
std::atomic<bool>* g_flag = nullptr;

BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    g_flag->store(true);
    return TRUE;
}
} // namespace

void stopOnInterrupt(std::atomic<bool>& flag)
{
    g_flag = &flag;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

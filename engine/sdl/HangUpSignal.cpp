#include "engine/sdl/HangUpSignal.h"

#include <csignal>

namespace gfxsdl {

namespace {

volatile std::sig_atomic_t g_HungUp = 0;

void OnHangUp(int) { g_HungUp = 1; }

}  // namespace

void HangUpSignal::Catch() {
    if (m_bCaught) return;
    struct sigaction current = {};
    if (sigaction(SIGHUP, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) return;
    struct sigaction action = {};
    action.sa_handler = OnHangUp;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    g_HungUp = 0;
    m_bCaught = sigaction(SIGHUP, &action, nullptr) == 0;
}

void HangUpSignal::Release() {
    if (!m_bCaught) return;
    std::signal(SIGHUP, SIG_DFL);
    m_bCaught = false;
}

bool HangUpSignal::Take() {
    if (!g_HungUp) return false;
    g_HungUp = 0;
    return true;
}

}  // namespace gfxsdl

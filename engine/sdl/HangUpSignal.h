// A closed terminal (SIGHUP) ends the loop as SDL's own handling of SIGINT
// and SIGTERM does, so that the game ends normally and keeps its settings.
#pragma once

namespace gfxsdl {

class HangUpSignal {
public:
    // Catches SIGHUP while its action is the default one: a program started
    // with it ignored (nohup) goes on ignoring it.
    void Catch();
    // Gives back the action Catch replaced.
    void Release();
    // True when SIGHUP came since Catch or the last Take.
    bool Take();

private:
    bool m_bCaught = false;
};

}  // namespace gfxsdl

// A media object a script makes through its host table; the screen that made
// it owns it. (Its methods come with the media objects.)
#pragma once

class CScriptParticle {
public:
    CScriptParticle() = default;
    ~CScriptParticle() = default;
    CScriptParticle(const CScriptParticle&) = delete;
    CScriptParticle& operator=(const CScriptParticle&) = delete;
};

// A media object a script makes through its host table; the screen that made
// it owns it. (Its methods come with the media objects.)
#pragma once

class CScriptSprite {
public:
    CScriptSprite() = default;
    ~CScriptSprite() = default;
    CScriptSprite(const CScriptSprite&) = delete;
    CScriptSprite& operator=(const CScriptSprite&) = delete;
};

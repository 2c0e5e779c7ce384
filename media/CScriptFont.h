// A media object a script makes through its host table; the screen that made
// it owns it. (Its methods come with the media objects.)
#pragma once

class CScriptFont {
public:
    CScriptFont() = default;
    ~CScriptFont() = default;
    CScriptFont(const CScriptFont&) = delete;
    CScriptFont& operator=(const CScriptFont&) = delete;
};

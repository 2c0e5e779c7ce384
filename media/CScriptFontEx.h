// A media object a script makes through its host table; the screen that made
// it owns it. (Its methods come with the media objects.)
#pragma once

class CScriptFontEx {
public:
    CScriptFontEx() = default;
    ~CScriptFontEx() = default;
    CScriptFontEx(const CScriptFontEx&) = delete;
    CScriptFontEx& operator=(const CScriptFontEx&) = delete;
};

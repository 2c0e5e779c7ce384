// A media object a script makes through its host table; the screen that made
// it owns it. (Its methods come with the media objects.)
#pragma once

class CScriptStream {
public:
    CScriptStream() = default;
    ~CScriptStream() = default;
    CScriptStream(const CScriptStream&) = delete;
    CScriptStream& operator=(const CScriptStream&) = delete;
};

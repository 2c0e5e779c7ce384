#include "host/CHelperToKeyBinder.h"

#include "engine/gfx.h"
#include "host/CGFXStarter.h"

#include <cstdint>

int CHelperToKeyBinder::HashName(const std::string& name) {
    // Two's-complement wrap-around, without signed overflow.
    uint32_t h = 255;
    for (size_t i = 0; i < name.size(); ++i) {
        int32_t c = static_cast<signed char>(name[i]);
        h += static_cast<uint32_t>(c) * static_cast<uint32_t>(i + 1);
    }
    return static_cast<int32_t>(h);
}

void CHelperToKeyBinder::Register(const char* name, CGFXFuncHelperBase* renderer) {
    SetByKey(HashName(name ? name : ""), renderer);
}

void CHelperToKeyBinder::SetByKey(int key, CGFXFuncHelperBase* renderer) { m_Renderers[key] = renderer; }

CGFXFuncHelperBase* CHelperToKeyBinder::FindByName(const char* name) const {
    if (m_Renderers.empty()) return nullptr;
    return FindByKey(HashName(name ? name : ""));
}

CGFXFuncHelperBase* CHelperToKeyBinder::FindByKey(int key) const {
    auto it = m_Renderers.find(key);
    return it == m_Renderers.end() ? nullptr : it->second;
}

bool CHelperToKeyBinder::IsEscapeDown(float, CGFXStarter* starter) const {
    GFX* engine = starter ? starter->GetEngine() : nullptr;
    return engine && engine->Input_GetKeyState(GFXK_ESCAPE);
}

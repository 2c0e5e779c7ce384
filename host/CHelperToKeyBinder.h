// The registry of named renderers, keyed by a hash of the name so that a key
// code can select a renderer too. It does not own the renderers.
#pragma once

#include "host/Singleton.h"

#include <map>
#include <string>

class CGFXFuncHelperBase;
class CGFXStarter;

class CHelperToKeyBinder : public Singleton<CHelperToKeyBinder> {
public:
    using Map = std::map<int, CGFXFuncHelperBase*>;

    static int HashName(const std::string& name);

    void Register(const char* name, CGFXFuncHelperBase* renderer);
    void SetByKey(int key, CGFXFuncHelperBase* renderer);
    CGFXFuncHelperBase* FindByName(const char* name) const;
    CGFXFuncHelperBase* FindByKey(int key) const;
    bool IsEscapeDown(float dt, CGFXStarter* starter) const;

    const Map& GetMap() const { return m_Renderers; }

private:
    friend class Singleton<CHelperToKeyBinder>;
    CHelperToKeyBinder() = default;

    Map m_Renderers;
};

// Host-function tests: Lua scripts run as the main screen on the recording
// engine. Every script starts with a prelude that keeps the host table in
// `Host` and offers ErrorOf(name, ...), the message of a failing host call
// ("ok" when it succeeds). The process-wide click emulation is off at the
// start and at the end of every test.
#pragma once

#include "renderers/CGFXFuncHelperBase.h"
#include "script/ClickEmulation.h"
#include "tests/support/HostFixture.h"

#include <set>
#include <sstream>
#include <string>
#include <vector>

// A screen of a fixed class with a script, as the menu screens are: not a
// script renderer. It counts its detaches.
class FixedScreen : public CGFXFuncHelperBase {
public:
    explicit FixedScreen(const char* script) : CGFXFuncHelperBase(script, true) {}
    ~FixedScreen() override { Detach(GetStarter()); }
    void OnInit(CGFXStarter*) override {}
    void OnShutdown(CGFXStarter*) override { ++shutdowns; }
    bool Frame(float dt, CGFXStarter*) override { return CallScriptUpdate(dt); }
    bool Render(float, CGFXStarter*) override {
        CallScriptRender(0, 0, false);
        return false;
    }

    int shutdowns = 0;
};

class HostScriptFixture : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        ResetClickEmulation();
    }
    void TearDown() override {
        ResetClickEmulation();
        HostFixture::TearDown();
    }

    // The prelude, then the body; the body may define Init, Update and Render anew.
    static std::string Script(const std::string& body) {
        return "function ErrorOf(name, ...)\n"
               "  local ok, err = pcall(Host[name], Host, ...)\n"
               "  if ok then return 'ok' end\n"
               "  return tostring(err)\n"
               "end\n"
               "function Init(h) Host = h end\n"
               "function Update(dt) end\n"
               "function Render(x, y) end\n" +
               body;
    }

    // Serves a script at scripts/<name>.lua with the prelude.
    void Serve(const std::string& name, const std::string& body) {
        engine->AddFile("scripts/" + name + ".lua", Script(body));
    }

    std::string Run(const std::string& body, int frames = 1) { return RunMain(Script(body), frames); }

    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // Log entries made once the loop runs, of calls with one of these names.
    std::vector<std::string> LoopCalls(const std::set<std::string>& names) const {
        std::vector<std::string> out;
        bool started = false;
        for (const std::string& entry : engine->Log()) {
            const std::string name = entry.substr(0, entry.find('('));
            if (name == "System_Start") started = true;
            if (started && names.count(name)) out.push_back(entry);
        }
        return out;
    }

    // Input for one frame in which the left button goes up.
    static RecordedInput LeftButtonUp() {
        RecordedInput input;
        input.up.insert(GFXK_LBUTTON);
        return input;
    }

private:
    static void ResetClickEmulation() {
        g_bClickEmulation = false;
        g_bEmulatedClick = false;
    }
};

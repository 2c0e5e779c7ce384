// Runs the host on the recording engine: a per-user configuration in a fresh
// folder (so nothing is written beside the test program), a no-op debug
// overlay script, and scripts served from memory. Scripts report with Lua's
// print; RunMain returns what they printed.
#pragma once

#include "host/CGFXStarter.h"
#include "media/CCursorHelper.h"
#include "renderers/CScriptRenderer.h"
#include "tests/support/CapturedOutput.h"
#include "tests/support/EngineFixture.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// A script screen that runs a test's code inside its first frame, while the
// engine, the caches and its own Lua state are live, then ends the loop. The
// screen's scene is open around the code, so that what it draws is drawn.
class InFrameRenderer : public CScriptRenderer {
public:
    using Body = std::function<void(CGFXStarter*, CGFXFuncHelperBase*, lua_State*)>;
    InFrameRenderer(const char* script, Body body) : CScriptRenderer(script, nullptr), m_Body(std::move(body)) {}
    bool Frame(float dt, CGFXStarter* starter) override {
        if (m_Body) {
            starter->BeginScene();
            m_Body(starter, this, GetLuaState());
            starter->EndScene();
        }
        m_Body = nullptr;
        CScriptRenderer::Frame(dt, starter);
        return true;
    }

private:
    Body m_Body;
};

class HostFixture : public EngineFixture {
protected:
    void SetUp() override {
        setenv("XDG_DATA_HOME", m_Home.Path().c_str(), 1);
        setenv("BRINDLEWICK_NO_DIALOG", "1", 1);
        mkdir((m_Home / "Brindlewick").c_str(), 0755);
        m_Home.Write("Brindlewick/config.conf", configText);
        EngineFixture::SetUp();
        engine->AddFile("scripts/debug.lua", "function Init(t) end function Render() end");
        starter = CGFXStarter::GetInstance();
    }
    void TearDown() override {
        if (starter) starter->Release();
        starter = nullptr;
        EngineFixture::TearDown();
    }

    // Starts again with another per-user configuration.
    void Restart(const std::string& config) {
        TearDown();
        configText = config;
        SetUp();
    }

    // The saved per-user configuration.
    std::string SavedConfig() const { return m_Home.Read("Brindlewick/config.conf"); }
    const TempFolder& Home() const { return m_Home; }

    // Runs `frames` frames with a script renderer on "scripts/main.lua" as the
    // main and start screen; returns everything the scripts printed.
    std::string RunMain(const std::string& script, int frames = 1) {
        engine->AddFile("scripts/main.lua", script);
        CScriptRenderer main("scripts\\main.lua", nullptr);
        return RunScreen(main, frames);
    }

    // Runs body inside the first frame of a screen on "scripts/main.lua"
    // (empty Init, Update and Render unless the test added that file).
    std::string RunInFrame(InFrameRenderer::Body body) {
        uint32_t size = 0;
        if (void* data = gfx()->Resource_Load("scripts/main.lua", &size))
            gfx()->Resource_Free(data);
        else
            engine->AddFile("scripts/main.lua",
                            "function Init(h) Host = h end function Update(dt) end function Render(x, y) end");
        engine->ClearLog();
        InFrameRenderer main("scripts\\main.lua", std::move(body));
        return RunScreen(main, 1);
    }

    // Runs `frames` frames on an 800 x 600 screen with `screen` as the main and
    // the start screen, and the cursor when given; returns what scripts printed.
    std::string RunScreen(CGFXFuncHelperBase& screen, int frames, CCursorHelper* cursor = nullptr) {
        StartParams params;
        params.mainRenderer = &screen;
        params.startRenderer = &screen;
        params.cursorHelper = cursor;
        starter->SetScreenSize(800, 600);
        return RunCapturing(params, frames);
    }

    // RunScreen with the host's cursor on "images/cursor.png", made 16 x 16.
    std::string RunScreenWithCursor(CGFXFuncHelperBase& screen, int frames) {
        engine->AddImage("images/cursor.png", 16, 16);
        CCursorHelper cursor("images/cursor.png");
        return RunScreen(screen, frames, &cursor);
    }

    std::string RunCapturing(StartParams& params, int frames) {
        engine->SetFrameLimit(frames);
        CapturedOutput output(STDOUT_FILENO);
        starter->Run(params);
        std::string printed = output.Take();
        // Failures inside the run are reported on the captured stream: show them.
        if (HasFailure()) std::cerr << printed;
        return printed;
    }

    // Read by SetUp as the per-user "config.conf".
    std::string configText = "<?xml version=\"1.0\" ?><root/>";
    CGFXStarter* starter = nullptr;

private:
    TempFolder m_Home;
};

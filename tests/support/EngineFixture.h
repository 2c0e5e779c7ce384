// Holds one reference of the recording engine for the length of a test, so the
// code under test finds the same engine through gfxCreate.
#pragma once

#include "engine/recording/RecordingEngine.h"

#include <gtest/gtest.h>

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_Gfx = gfxCreate(GFX_VERSION);
        engine = RecordingEngine::Instance();
    }
    void TearDown() override {
        if (m_Gfx) m_Gfx->Release();
        m_Gfx = nullptr;
        engine = nullptr;
    }
    GFX* gfx() { return m_Gfx; }

    RecordingEngine* engine = nullptr;

private:
    GFX* m_Gfx = nullptr;
};

// For code that draws by itself, without the host: the engine initiated
// (800 x 600) with the screen's scene open, as inside the host's render
// callback; the log starts empty.
class ScreenFixture : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        gfx()->System_Initiate();
        gfx()->Gfx_BeginScene(0);
        engine->ClearLog();
    }
};

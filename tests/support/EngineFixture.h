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

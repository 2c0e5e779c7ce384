#include "host/CTexelCopy.h"
#include "renderers/CGFXFuncHelperBase.h"
#include "renderers/CMaskComposer.h"
#include "tests/support/EngineFixture.h"

#include <string>
#include <vector>

// The copy of a render target's picture and the composition of a picture with
// a mask, on the recording engine's textures.
class CMaskComposerTest : public ScreenFixture {
protected:
    // A 3 x 2 target whose texels are 1 to 6, row by row.
    HTARGET PatternTarget() {
        const HTARGET target = gfx()->Target_Create(3, 2, false);
        std::vector<uint32_t>& texels = engine->FindTexture(gfx()->Target_GetTexture(target))->texels;
        for (size_t i = 0; i < texels.size(); ++i) texels[i] = static_cast<uint32_t>(i + 1);
        return target;
    }
};

// A copy whose surface is wider than the target keeps the rows apart. It is
// made from the texels read back, not cleared and then written over.
TEST_F(CMaskComposerTest, CopyKeepsEachRowOnAWiderSurface) {
    engine->SetPowerOfTwoSurfaces(true);
    const HTARGET target = PatternTarget();
    engine->ClearLog();
    const HTEXTURE copy = CGFXFuncHelperBase::CopyTargetToTexture(target, gfx());
    ASSERT_NE(copy, 0u);
    EXPECT_EQ(engine->Calls("Texture_CreateFrom"), std::vector<std::string>{"Texture_CreateFrom(3,2)"});
    EXPECT_EQ(engine->Count("Texture_Create"), 0);
    const RecordingEngine::Texture* t = engine->FindTexture(copy);
    ASSERT_EQ(t->surfaceWidth, 4);
    EXPECT_EQ(t->texels, (std::vector<uint32_t>{1, 2, 3, 0, 4, 5, 6, 0}));
    EXPECT_FALSE(t->locked);
    EXPECT_FALSE(engine->FindTexture(gfx()->Target_GetTexture(target))->locked);
}

TEST_F(CMaskComposerTest, FailedCopyLeavesNoTextureBehind) {
    EXPECT_EQ(CGFXFuncHelperBase::CopyTargetToTexture(0, gfx()), 0u);
    const HTARGET target = PatternTarget();
    engine->failTextureCreate = true;
    EXPECT_EQ(CGFXFuncHelperBase::CopyTargetToTexture(target, gfx()), 0u);
    engine->failTextureCreate = false;
    ASSERT_NE(gfx()->Texture_Lock(gfx()->Target_GetTexture(target), true, 0, 0, 0, 0), nullptr);
    EXPECT_EQ(CGFXFuncHelperBase::CopyTargetToTexture(target, gfx()), 0u);
    EXPECT_EQ(engine->LiveTextures(), 0);
}

// One pass: the picture is locked once to read, and the new texture is made
// from the result, not cleared and then written over; its texels are the
// picture's colour with the mask's alpha, and 0 beyond the surface of either
// (here a wider one of its own).
TEST_F(CMaskComposerTest, ComposeReadsThePictureOnceAndMakesTheResultFromIt) {
    engine->SetPowerOfTwoSurfaces(true);
    engine->AddImage("mask.png", 2, 1, {0xFF00FF00, 0xFF000000});
    CTexelCopy mask;
    ASSERT_TRUE(mask.ReadBack(gfx(), gfx()->Texture_Load("mask.png", 0, false)));
    const HTARGET target = PatternTarget();
    const HTEXTURE picture = gfx()->Target_GetTexture(target);
    engine->ClearLog();
    const HTEXTURE composed = CMaskComposer::Compose(gfx(), picture, mask, CMaskComposer::Channel::G);
    ASSERT_NE(composed, 0u);
    EXPECT_EQ(engine->Calls("Texture_Lock"),
              std::vector<std::string>{"Texture_Lock(" + std::to_string(picture) + ",true,0,0,3,2)"});
    EXPECT_EQ(engine->Count("Texture_Unlock"), 1);
    EXPECT_EQ(engine->Count("Texture_Create"), 0);
    EXPECT_EQ(engine->Count("Texture_CreateFrom"), 1);
    const RecordingEngine::Texture* t = engine->FindTexture(composed);
    EXPECT_FALSE(t->locked);
    EXPECT_EQ(t->texels, (std::vector<uint32_t>{1, 0xFF000002, 3, 0, 4, 5, 6, 0}));
}

// Nothing stays locked and no texture is left when the picture cannot be
// read or the texture cannot be made.
TEST_F(CMaskComposerTest, FailedComposeLeavesNoTextureBehind) {
    engine->AddImage("mask.png", 2, 2, std::vector<uint32_t>(4, 0xFF000000));
    CTexelCopy mask;
    ASSERT_TRUE(mask.ReadBack(gfx(), gfx()->Texture_Load("mask.png", 0, false)));
    const HTEXTURE picture = gfx()->Texture_Create(2, 2);
    const int live = engine->LiveTextures();
    EXPECT_EQ(CMaskComposer::Compose(gfx(), 0, mask, CMaskComposer::Channel::G), 0u);
    ASSERT_NE(gfx()->Texture_Lock(picture, true, 0, 0, 0, 0), nullptr);
    EXPECT_EQ(CMaskComposer::Compose(gfx(), picture, mask, CMaskComposer::Channel::G), 0u);
    gfx()->Texture_Unlock(picture);
    engine->failTextureCreate = true;
    EXPECT_EQ(CMaskComposer::Compose(gfx(), picture, mask, CMaskComposer::Channel::G), 0u);
    EXPECT_FALSE(engine->FindTexture(picture)->locked);
    EXPECT_EQ(engine->LiveTextures(), live);
}

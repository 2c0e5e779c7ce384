#include "helpers/gfxFont.h"
#include "host/CResourceCache.h"
#include "tests/support/HostFixture.h"

using ResourceCacheTest = HostFixture;

TEST_F(ResourceCacheTest, TexturesAndSoundsLoadOnceByExactNameAndFailuresAreRetried) {
    engine->AddImage("images/a.png", 8, 8);
    engine->AddSound("sounds/a.wav");
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase*, lua_State*) {
        CResourceCache* cache = s->GetResourceCache();
        const HTEXTURE a = cache->GetTexture("images/a.png", false);
        EXPECT_NE(a, 0u);
        EXPECT_EQ(cache->GetTexture("images/a.png", false), a);
        // Another spelling is another entry, even where the pack would match it.
        EXPECT_NE(cache->GetTexture("images\\a.png", false), a);
        EXPECT_EQ(cache->GetTexture("missing.png", false), 0u);
        EXPECT_EQ(cache->GetTexture("missing.png", false), 0u);
        const HEFFECT fx = cache->GetSound("sounds/a.wav");
        EXPECT_EQ(cache->GetSound("sounds/a.wav"), fx);
        EXPECT_EQ(cache->GetSound("missing.wav"), 0u);
        EXPECT_EQ(cache->GetSound("missing.wav"), 0u);
        EXPECT_EQ(cache->GetSoundVolume(fx), 100);
        EXPECT_EQ(cache->GetSoundChannel(fx), 0u);
        cache->SetSoundVolume(0, 5);
        cache->SetSoundChannel(fx, 77);
        cache->SetSoundVolume(fx, 30);
        EXPECT_EQ(cache->GetSoundChannel(fx), 77u);
        EXPECT_EQ(cache->GetSoundVolume(fx), 30);
        EXPECT_EQ(cache->GetSoundVolume(0), 100);
    });
    EXPECT_EQ(engine->Count("Texture_Load"), 4);
    EXPECT_EQ(engine->Count("Effect_Load"), 3);
}

// A sprite made on the old texture may still draw with it, so a forced reload
// keeps a held texture until its last holder lets it go (or everything is
// freed), and frees one that nothing holds at once: captures taken again and
// again must not pile up.
TEST_F(ResourceCacheTest, ReloadFreesTheOldTextureWhenItsLastHolderLetsGo) {
    engine->AddImage("shot.bmp", 4, 4);
    HTEXTURE kept = 0, last = 0;
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase*, lua_State*) {
        CResourceCache* cache = s->GetResourceCache();
        EXPECT_EQ(cache->GetTexture("absent.bmp", true), 0u);  // not cached: a reload simply loads
        const HTEXTURE unheld = cache->GetTexture("shot.bmp", false);
        kept = cache->GetTexture("shot.bmp", true);
        EXPECT_NE(unheld, kept);
        EXPECT_EQ(engine->FindTexture(unheld), nullptr);
        EXPECT_EQ(cache->GetTexture("shot.bmp", false), kept);

        cache->HoldTexture(kept);
        cache->HoldTexture(kept);
        const HTEXTURE released = cache->GetTexture("shot.bmp", true);
        cache->HoldTexture(released);
        cache->ReleaseTexture(kept);
        EXPECT_NE(engine->FindTexture(kept), nullptr);
        cache->ReleaseTexture(kept);
        EXPECT_EQ(engine->FindTexture(kept), nullptr);

        // Letting go of the current texture keeps it: it is still the cache's.
        cache->ReleaseTexture(released);
        EXPECT_NE(engine->FindTexture(released), nullptr);
        cache->ReleaseTexture(0);
        last = cache->GetTexture("shot.bmp", true);
        EXPECT_EQ(engine->FindTexture(released), nullptr);
        cache->HoldTexture(last);
        cache->GetTexture("shot.bmp", true);
    });
    EXPECT_EQ(engine->FindTexture(last), nullptr);
}

// A texture's texels are read back at the first request and kept while it is
// its name's texture: a forced reload reads the new one's, and once the
// textures are freed nothing is kept. A read-back that fails keeps nothing.
TEST_F(ResourceCacheTest, TexelsAreReadBackOnceWhileTheirTextureIsCached) {
    engine->AddImage("mask.png", 2, 1, {1, 2});
    HTEXTURE first = 0, second = 0;
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase*, lua_State*) {
        CResourceCache* cache = s->GetResourceCache();
        EXPECT_EQ(cache->GetTexels("mask.png"), nullptr);  // not cached
        first = cache->GetTexture("mask.png", false);
        ASSERT_NE(engine->Texture_Lock(first, true, 0, 0, 0, 0), nullptr);
        EXPECT_EQ(cache->GetTexels("mask.png"), nullptr);
        engine->Texture_Unlock(first);
        const CTexelCopy* texels = cache->GetTexels("mask.png");
        ASSERT_NE(texels, nullptr);
        EXPECT_EQ(cache->GetTexels("mask.png"), texels);
        EXPECT_EQ(texels->At(0, 1), 2u);

        engine->AddImage("mask.png", 2, 1, {3, 4});
        second = cache->GetTexture("mask.png", true);
        ASSERT_NE(cache->GetTexels("mask.png"), nullptr);
        EXPECT_EQ(cache->GetTexels("mask.png")->At(0, 1), 4u);
        cache->FreeTextures();
        EXPECT_EQ(cache->GetTexels("mask.png"), nullptr);
    });
    const std::string reads[] = {std::to_string(first), std::to_string(first), std::to_string(second)};
    std::vector<std::string> expected = {"Texture_Lock(" + std::to_string(first) + ",true,0,0,0,0)"};
    for (const std::string& tex : reads) expected.push_back("Texture_Lock(" + tex + ",true,0,0,2,1)");
    EXPECT_EQ(engine->Calls("Texture_Lock"), expected);
}

TEST_F(ResourceCacheTest, FontsAreAlwaysCachedAndFreeAllGoesTexturesFontsSounds) {
    engine->AddImage("t.png", 4, 4);
    engine->AddSound("s.wav");
    RunInFrame([&](CGFXStarter* s, CGFXFuncHelperBase*, lua_State*) {
        CResourceCache* cache = s->GetResourceCache();
        gfxFont* font = cache->GetFont("missing.fnt");
        EXPECT_EQ(cache->GetFont("missing.fnt"), font);
        cache->GetTexture("t.png", false);
        cache->GetSound("s.wav");
        engine->ClearLog();
        cache->FreeAll();
        cache->FreeAll();
    });
    std::vector<std::string> order;
    for (const std::string& call : engine->Log())
        if (call.rfind("Texture_Free", 0) == 0 || call.rfind("Channel_Stop", 0) == 0 ||
            call.rfind("Effect_Free", 0) == 0)
            order.push_back(call.substr(0, call.find('(')));
    EXPECT_EQ(order, (std::vector<std::string>{"Texture_Free", "Channel_Stop", "Effect_Free"}));
    EXPECT_EQ(engine->Calls("Resource_Load"), std::vector<std::string>{});
}

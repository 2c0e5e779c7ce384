#include "host/CHelperToKeyBinder.h"

#include "renderers/CScriptRenderer.h"

#include <gtest/gtest.h>

TEST(CHelperToKeyBinderTest, KeysOfNamesCountSignedBytesByPosition) {
    const struct {
        const char* name;
        int key;
    } cases[] = {{"", 255},   {"menu", 1364}, {"options", 3378}, {"credits", 3311},
                 {"ab", 548}, {"ca", 548},    {"\xE9", 232}};
    for (const auto& c : cases) EXPECT_EQ(CHelperToKeyBinder::HashName(c.name), c.key) << c.name;
}

TEST(CHelperToKeyBinderTest, LongNamesWrapAroundWithoutOverflowing) {
    const std::string name(100000, '\x7F');
    const int64_t exact = 255 + int64_t(127) * 100000 * 100001 / 2;
    EXPECT_EQ(CHelperToKeyBinder::HashName(name), static_cast<int32_t>(static_cast<uint32_t>(exact)));
}

TEST(CHelperToKeyBinderTest, EqualKeysReplaceAndMissingNamesGiveNull) {
    CHelperToKeyBinder* binder = CHelperToKeyBinder::GetInstance();
    EXPECT_EQ(binder->FindByName("ab"), nullptr);
    EXPECT_EQ(binder->FindByKey(548), nullptr);
    CScriptRenderer first("a.lua", nullptr), second("b.lua", nullptr);
    binder->Register("ab", &first);
    binder->Register("ca", &second);
    EXPECT_EQ(binder->FindByName("ab"), &second);
    EXPECT_EQ(binder->FindByKey(548), &second);
    binder->Release();
    // The last release destroys the registry; the next one starts empty.
    binder = CHelperToKeyBinder::GetInstance();
    EXPECT_EQ(binder->FindByName("ab"), nullptr);
    binder->Release();
}

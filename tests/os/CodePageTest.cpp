#include "os/CodePage.h"

#include "tests/support/ScopedLocale.h"

#include <gtest/gtest.h>

namespace {

struct Conversion {
    const char* input;
    const char* expected;
};

void ExpectConversions(std::string (*convert)(const char*), std::initializer_list<Conversion> cases) {
    for (const Conversion& c : cases) EXPECT_EQ(convert(c.input), c.expected) << "input: " << c.input;
}

// Large enough to need several rounds of the converter's buffer.
std::string LongText(const std::string& piece) {
    std::string text;
    while (text.size() < 100000) text += piece;
    return text;
}

}  // namespace

TEST(CodePageTest, Utf8LocaleKeepsValidTextAndReplacesBadBytes) {
    ScopedLocale locale;
    ASSERT_TRUE(locale.Use("C.UTF-8"));
    for (auto convert : {Utf8ToAnsi, AnsiToUtf8}) {
        ExpectConversions(
            convert, {
                         {"", ""},
                         {"plain", "plain"},
                         {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"},
                         {"a\xff"
                          "b",
                          "a?b"},
                         {"end\xc3", "end?"},
                         {"\xc0\xaf", "??"},       // overlong '/'
                         {"\xed\xa0\x80", "???"},  // a UTF-16 surrogate
                     });
        EXPECT_EQ(convert(nullptr), "");
    }
    std::string text = LongText("abc \xc3\xa9\xe2\x82\xac ");
    EXPECT_EQ(Utf8ToAnsi(text.c_str()), text);
}

// A program started without a locale gets ASCII: its text is taken as UTF-8,
// so nothing a configuration or a script holds is lost on the way.
TEST(CodePageTest, TheCLocaleKeepsUtf8AndReplacesOnlyBadBytes) {
    for (const char* name : {"C", "POSIX"}) {
        ScopedLocale locale;
        ASSERT_TRUE(locale.Use(name));
        for (auto convert : {Utf8ToAnsi, AnsiToUtf8})
            ExpectConversions(convert, {{"Spiel \xe2\x80\x93 \xc3\x9c", "Spiel \xe2\x80\x93 \xc3\x9c"},
                                        {"J\xc3\xbcrgen \xe6\x97\xa5", "J\xc3\xbcrgen \xe6\x97\xa5"},
                                        {"caf\xe9", "caf?"}});
    }
}

TEST(CodePageTest, Latin1LocaleConvertsBothWays) {
    ScopedLocale locale;
    if (!UseLatin1(locale)) GTEST_SKIP() << "no ISO-8859-1 locale is installed (see locale -a)";
    ExpectConversions(Utf8ToAnsi, {{"caf\xc3\xa9", "caf\xe9"},
                                   {"\xe2\x82\xac"
                                    "5",
                                    "?5"},
                                   {"x\xff", "x?"}});
    ExpectConversions(AnsiToUtf8, {{"caf\xe9", "caf\xc3\xa9"}, {"\xff", "\xc3\xbf"}});
    std::string latin1 = LongText("abc \xe9\xfc ");
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(latin1.c_str()).c_str()), latin1);
}

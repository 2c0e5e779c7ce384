#include "xml/XmlFile.h"

#include <gtest/gtest.h>

namespace {

struct DepthCase {
    const char* text;
    size_t bound;
};

}  // namespace

// The bound guards the parser's recursion: it may count too many, never too few.
TEST(XmlFileTest, NestingBoundNeverMissesALevel) {
    const DepthCase cases[] = {
        {"", 0},
        {"<?xml version=\"1.0\" ?><root/>", 0},
        {"<root><a><b/></a><c></c></root>", 2},
        {"<a b=\"/>\"><c x = '>'><d>", 3},
        {"<a b=x/y><c>", 2},
        {"<!-- <a><a> --><a>", 1},
        {"<!DOCTYPE x><a><![CDATA[ > <b>]]>", 2},
        {"</a></a><a><a>", 2},
        {"<a b=\"never closed", 0},
    };
    for (const DepthCase& c : cases) EXPECT_EQ(XmlNestingBound(c.text), c.bound) << c.text;
}

// A text cut inside a UTF-8 sequence: the parser steps over the sequence by
// its lead byte, past the zero ending the text; what lies after must not count.
TEST(XmlFileTest, ParseStopsAtTheEndOfATextCutInsideASequence) {
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>";
    const std::string cuts[] = {"<root>\xC3", "<root>\n  \xE0", "<root>\xF0", "<root a=\"\xDD"};
    for (const std::string& cut : cuts) {
        for (TiXmlEncoding encoding : {TIXML_ENCODING_UTF8, TIXML_ENCODING_UNKNOWN}) {
            const std::string text = (encoding == TIXML_ENCODING_UNKNOWN ? declaration : "") + cut;
            // Past the zero, a closing tag the parser would accept.
            TiXmlDocument document;
            std::string why;
            EXPECT_FALSE(ParseXmlText(document, text + std::string(1, '\0') + "   \"></root>", encoding, why)) << text;
            EXPECT_FALSE(why.empty());
        }
    }
    TiXmlDocument document;
    std::string why;
    EXPECT_TRUE(ParseXmlText(document, "<root a=\"\xC3\xA9\">\xE2\x82\xAC</root>", TIXML_ENCODING_UTF8, why)) << why;
    EXPECT_STREQ(document.RootElement()->GetText(), "\xE2\x82\xAC");
}

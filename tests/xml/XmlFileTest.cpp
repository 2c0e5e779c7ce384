#include "xml/XmlFile.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct DepthCase {
    const char* text;
    TiXmlEncoding encoding;
    size_t depth;
};

std::string Repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// How deep the parser's elements went: it keeps what it read before an error.
size_t BuiltDepth(const TiXmlNode& document) {
    size_t deepest = 0;
    std::vector<std::pair<const TiXmlElement*, size_t>> pending;
    for (const TiXmlElement* e = document.FirstChildElement(); e != nullptr; e = e->NextSiblingElement())
        pending.emplace_back(e, 1);
    while (!pending.empty()) {
        auto [element, depth] = pending.back();
        pending.pop_back();
        deepest = std::max(deepest, depth);
        for (const TiXmlElement* e = element->FirstChildElement(); e != nullptr; e = e->NextSiblingElement())
            pending.emplace_back(e, depth + 1);
    }
    return deepest;
}

}  // namespace

// The bound guards the parser's recursion, so it must split the text as the
// parser does: closing tags inside CDATA, an unknown node or a value the
// parser reads on past a quote must not count.
TEST(XmlFileTest, NestingBoundIsTheDepthTheParserReaches) {
    const TiXmlEncoding utf8 = TIXML_ENCODING_UTF8, unknown = TIXML_ENCODING_UNKNOWN;
    const DepthCase cases[] = {
        {"", utf8, 0},
        {"<?xml version=\"1.0\" ?><root/>", utf8, 1},
        {"<root><a><b/></a><c></c></root>", utf8, 3},
        {"<a b=\"/>\"><c x = '>'><d>", utf8, 3},
        {"<a b=x/y><c>", utf8, 1},
        {"<a b=\"never closed", utf8, 1},
        {"<!-- <a><a> --><a>", utf8, 1},
        {"</a></a><a><a>", utf8, 2},
        {"<r><a><![CDATA[></x></x>]]><a><a>", utf8, 4},
        {"<r><1 a=\"><a><a>\"/><a></a></r>", utf8, 4},
        {"<r><?xml version=\"></x></x>\"?><a><a>", utf8, 3},
        // A UTF-8 lead byte takes the quote after it into the value.
        {"<r><a b=\"\xC3\"></x></x>\"><a>", utf8, 3},
        {"<r><a b=\"\xC3\"></x></x>\"><a>", unknown, 2},
        {"\xEF\xBB\xBF<r><a b=\"\xC3\"></x></x>\"><a>", unknown, 3},
        {"<?xml version=\"1.0\" encoding=\"utf-8\"?><r><a b=\"\xC3\"></x></x>\"><a>", unknown, 3},
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r><a b=\"\xC3\"></x></x>\"><a>", unknown, 2},
        {"<r>\xC3</x>text<a>", utf8, 2},
        {"<r>&#60;/r>&lt;/r><a></a></r>", utf8, 2},
    };
    for (const DepthCase& c : cases) {
        TiXmlDocument document;
        document.Parse(c.text, nullptr, c.encoding);
        EXPECT_EQ(BuiltDepth(document), c.depth) << c.text;
        EXPECT_EQ(XmlNestingBound(c.text, c.encoding), c.depth) << c.text;
    }
}

// Inputs that once took the parser's recursion past the stack: nesting it
// reaches through CDATA, unknown nodes and values is refused like any other.
TEST(XmlFileTest, NestingHiddenInsideOtherNodesIsRefused) {
    const std::string texts[] = {
        "<root>" + Repeated(Repeated("<a>", 200) + "<![CDATA[>" + Repeated("</x>", 201) + "]]>", 2000),
        "<font><1 a=\">" + Repeated("<a>", 1000000) + "\"/>",
        "<root>" + Repeated("<a b=\"\xC3\"></x></x>\">", 1000),
    };
    for (const std::string& text : texts) {
        TiXmlDocument document;
        std::string why;
        EXPECT_FALSE(ParseXmlText(document, text, TIXML_ENCODING_UTF8, why)) << text.substr(0, 40);
        EXPECT_EQ(why, "elements nested deeper than 256 levels");
    }
    const std::string deepest = Repeated("<a>", 256) + Repeated("</a>", 256);
    TiXmlDocument document;
    std::string why;
    EXPECT_TRUE(ParseXmlText(document, deepest, TIXML_ENCODING_UNKNOWN, why)) << why;
    EXPECT_FALSE(ParseXmlText(document, "<b>" + deepest + "</b>", TIXML_ENCODING_UNKNOWN, why));
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

// Opening a FIFO that nothing writes to waits for a writer: the load runs in
// a child, and the alarm only ends one that hangs.
TEST(XmlFileTest, AFifoIsRefusedAtOnce) {
    TempFolder temp;
    ASSERT_EQ(mkfifo((temp / "config.conf").c_str(), 0644), 0);
    ASSERT_EQ(symlink((temp / "config.conf").c_str(), (temp / "link.conf").c_str()), 0);
    for (const std::string& path : {temp / "config.conf", temp / "link.conf"}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            alarm(60);
            TiXmlDocument document;
            std::string why;
            const XmlLoadResult result = LoadXmlFile(document, path, why);
            _exit(result == XmlLoadResult::Failed && why == "not a regular file" ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status)) << path << ": the load waited for a writer";
        EXPECT_EQ(WEXITSTATUS(status), 0) << path << ": not refused as a FIFO";
    }
}

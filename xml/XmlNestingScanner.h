// Counts how many elements TinyXML's parser would hold open at once in a
// text, without its recursion. The text is split into nodes as the parser
// splits it: what a '<' starts is told by the parser's own test, and every
// node but an element is read by the parser's own reader for it, so CDATA,
// comments, declarations, unknown nodes, quoted values and UTF-8 sequences
// end exactly where the parser ends them.
#pragma once

#include <cstddef>
#include <tinyxml.h>

// A node only to reach the parser's test of what a '<' starts.
class XmlNestingScanner : private TiXmlNode {
public:
    XmlNestingScanner();

    // The most elements open at once, the innermost included, when the parser
    // reads text (as TiXmlDocument::Parse takes it) in that encoding.
    size_t Deepest(const char* text, TiXmlEncoding encoding);

private:
    const char* Node(const char* p, const char* withWhiteSpace);
    const char* Text(const char* p, const char* withWhiteSpace) const;
    const char* StartTag(const char* p);
    static const char* PastEndTag(const char* p);
    void TakeDeclaredEncoding(const TiXmlNode& node);

    // A scanner is never printed, copied, visited nor parsed as a node.
    TiXmlNode* Clone() const override { return nullptr; }
    bool Accept(TiXmlVisitor*) const override { return false; }
    void StreamIn(std::istream*, TIXML_STRING*) override {}
    void Print(FILE*, int) const override {}
    const char* Parse(const char*, TiXmlParsingData*, TiXmlEncoding) override { return nullptr; }

    TiXmlEncoding m_Encoding = TIXML_ENCODING_UNKNOWN;
    size_t m_Open = 0;
    size_t m_Deepest = 0;
};

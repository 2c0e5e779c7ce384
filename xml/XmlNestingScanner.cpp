#include "xml/XmlNestingScanner.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

bool StartsWithByteOrderMark(const char* p) { return std::strncmp(p, "\xEF\xBB\xBF", 3) == 0; }

}  // namespace

XmlNestingScanner::XmlNestingScanner() : TiXmlNode(TiXmlNode::TINYXML_UNKNOWN) {}

// The parser's document loop, with each element's loop over its content
// folded into it: m_Open says how many elements the content belongs to.
size_t XmlNestingScanner::Deepest(const char* p, TiXmlEncoding encoding) {
    m_Encoding = encoding;
    m_Open = 0;
    m_Deepest = 0;
    if (p == nullptr || *p == '\0') return 0;
    if (m_Encoding == TIXML_ENCODING_UNKNOWN && StartsWithByteOrderMark(p)) m_Encoding = TIXML_ENCODING_UTF8;
    const char* withWhiteSpace = p;
    p = SkipWhiteSpace(p, m_Encoding);
    while (p != nullptr && *p != '\0') {
        p = Node(p, withWhiteSpace);
        withWhiteSpace = p;
        p = SkipWhiteSpace(p, m_Encoding);
    }
    return m_Deepest;
}

// Where the parser goes on after the node at p; null where it stops.
const char* XmlNestingScanner::Node(const char* p, const char* withWhiteSpace) {
    if (m_Open > 0 && *p != '<') return Text(p, withWhiteSpace);
    if (m_Open > 0 && StringEqual(p, "</", false, m_Encoding)) {
        --m_Open;
        return PastEndTag(p);
    }
    // Outside the root, text ends the document.
    std::unique_ptr<TiXmlNode> node(Identify(p, m_Encoding));
    if (!node) return nullptr;
    if (node->ToElement() != nullptr) return StartTag(p);
    p = node->Parse(p, nullptr, m_Encoding);
    if (m_Open == 0) TakeDeclaredEncoding(*node);
    return p;
}

const char* XmlNestingScanner::Text(const char* p, const char* withWhiteSpace) const {
    TiXmlText text("");
    return text.Parse(IsWhiteSpaceCondensed() ? p : withWhiteSpace, nullptr, m_Encoding);
}

// The element's name and attributes, read as the parser reads them; an
// element that is not closed by "/>" holds what follows.
const char* XmlNestingScanner::StartTag(const char* p) {
    m_Deepest = std::max(m_Deepest, m_Open + 1);
    TIXML_STRING name;
    p = ReadName(SkipWhiteSpace(p + 1, m_Encoding), &name, m_Encoding);
    while (p != nullptr && *p != '\0') {
        p = SkipWhiteSpace(p, m_Encoding);
        if (p == nullptr || *p == '\0') return nullptr;
        if (*p == '/') return p[1] == '>' ? p + 2 : nullptr;
        if (*p == '>') {
            ++m_Open;
            return p + 1;
        }
        TiXmlAttribute attribute;
        p = attribute.Parse(p, nullptr, m_Encoding);
    }
    return nullptr;
}

// An end tag the parser takes is "</", a name and blanks, then '>': it ends
// at the first '>'. One it refuses stops the parser, so what follows is moot.
const char* XmlNestingScanner::PastEndTag(const char* p) {
    const char* end = std::strchr(p + 2, '>');
    return end != nullptr ? end + 1 : nullptr;
}

// As the parser does: the first declaration outside the root settles an
// encoding left open.
void XmlNestingScanner::TakeDeclaredEncoding(const TiXmlNode& node) {
    if (m_Encoding != TIXML_ENCODING_UNKNOWN || node.ToDeclaration() == nullptr) return;
    const char* declared = node.ToDeclaration()->Encoding();
    if (*declared == '\0' || StringEqual(declared, "UTF-8", true, TIXML_ENCODING_UNKNOWN) ||
        StringEqual(declared, "UTF8", true, TIXML_ENCODING_UNKNOWN))
        m_Encoding = TIXML_ENCODING_UTF8;
    else
        m_Encoding = TIXML_ENCODING_LEGACY;
}

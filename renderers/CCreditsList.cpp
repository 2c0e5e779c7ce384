#include "renderers/CCreditsList.h"

#include "xml/XmlFile.h"

#include <cstring>
#include <tinyxml.h>

namespace {

const uint32_t kDefaultColor = 0xFFFFFFFF;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int KindOf(const char* type) {
    if (!type) return CCreditsItem::kText;
    if (std::strcmp(type, "blank") == 0) return CCreditsItem::kBlank;
    if (std::strcmp(type, "sprite") == 0) return CCreditsItem::kSprite;
    return CCreditsItem::kText;
}

uint32_t ColorOf(const TiXmlElement* element, const char* name, uint32_t fallback) {
    const char* text = element->Attribute(name);
    return text ? CCreditsList::ParseColor(text) : fallback;
}

const char* TextOf(const TiXmlElement* element) {
    const TiXmlNode* first = element->FirstChild();
    const TiXmlText* text = first ? first->ToText() : nullptr;
    return text ? text->Value() : "";
}

}  // namespace

CCreditsList::~CCreditsList() { Clear(); }

CCreditsItem* CCreditsList::GetItem(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return m_Items[static_cast<size_t>(index)];
}

void CCreditsList::Clear() {
    for (CCreditsItem* item : m_Items) delete item;
    m_Items.clear();
}

void CCreditsList::LoadFromText(const char* text) {
    Clear();
    if (!text) return;
    TiXmlDocument document;
    std::string why;
    // A text broken part-way would otherwise show the credits cut short.
    const bool parsed = ParseXmlText(document, text, TIXML_ENCODING_UNKNOWN, why);
    const TiXmlElement* root = parsed ? document.RootElement() : nullptr;
    if (!root) return;
    uint32_t baseColor = ColorOf(root, "basecolor", kDefaultColor);
    for (const TiXmlElement* element = root->FirstChildElement(); element; element = element->NextSiblingElement())
        AddItem(element, baseColor);
}

void CCreditsList::AddItem(const TiXmlElement* element, uint32_t baseColor) {
    int kind = KindOf(element->Attribute("type"));
    const char* texture = kind == CCreditsItem::kSprite ? element->Attribute("texture") : nullptr;
    m_Items.push_back(new CCreditsItem(kind, ColorOf(element, "color", baseColor), TextOf(element), texture));
}

uint32_t CCreditsList::ParseColor(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (*p == ' ' || *p == '\t') ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) p += 2;
    uint32_t value = 0;
    for (int digit; (digit = HexDigit(*p)) >= 0; ++p) value = value * 16u + static_cast<uint32_t>(digit);
    return negative ? 0u - value : value;
}

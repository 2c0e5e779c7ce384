// The credits read from an XML text: every child element of the root is one
// item (a blank line, a text line or a picture), in document order.
#pragma once

#include "renderers/CCreditsItem.h"

#include <cstdint>
#include <vector>

class TiXmlElement;

class CCreditsList {
public:
    CCreditsList() = default;
    ~CCreditsList();
    // The list owns its items.
    CCreditsList(const CCreditsList&) = delete;
    CCreditsList& operator=(const CCreditsList&) = delete;

    // Replaces the items; a text that does not parse whole leaves the list empty.
    void LoadFromText(const char* text);
    int GetCount() const { return static_cast<int>(m_Items.size()); }
    // Null for an index outside 0 to GetCount() - 1.
    CCreditsItem* GetItem(int index) const;
    void Clear();

    // Hexadecimal ARGB with optional blanks, sign and "0x"; only the last
    // eight digits count; no digits gives 0.
    static uint32_t ParseColor(const char* text);

private:
    void AddItem(const TiXmlElement* element, uint32_t baseColor);

    std::vector<CCreditsItem*> m_Items;
};

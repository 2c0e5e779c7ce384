// Numbers of an XML font description: the attribute's leading number as atof
// reads it, truncated toward zero to an int.
#pragma once

#include "script/NumberConversion.h"

#include <tinyxml.h>

#include <clocale>
#include <cstdlib>
#include <locale.h>

// Always with '.' as the decimal point, so a description reads the same in
// every locale; a missing attribute, NaN, infinities and values beyond the
// 64-bit range give 0.
inline int XmlFontNumber(const TiXmlElement& element, const char* name) {
    const char* text = element.Attribute(name);
    if (!text) return 0;
    static const locale_t classic = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    const double value = classic ? strtod_l(text, nullptr, classic) : std::strtod(text, nullptr);
    return TruncateToInt32(value);
}

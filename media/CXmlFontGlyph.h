// One glyph of an XML font: its texel rectangle on a page, where it is drawn
// relative to the pen, and how far the pen moves after it.
#pragma once

class TiXmlElement;

struct CXmlFontGlyph {
    int id = 0;
    int x = 0, y = 0, width = 0, height = 0;
    int xoffset = 0, yoffset = 0;
    int xadvance = 0;
    int page = 0;  // position in the font's page list, not a page id

    // Takes every number from the entry's attributes (missing ones give 0).
    void Read(const TiXmlElement& entry);
};

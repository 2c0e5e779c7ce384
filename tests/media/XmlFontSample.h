// A font description for the tests: pages "fonts/p0.png" and "fonts/p1.png",
// lineHeight 20.
#pragma once

// A: 10 x 12 on page 0; B: 12 x 14 on page 1; W: 75 wide, for alignment.
inline const char kXmlFontSample[] =
    "<?xml version=\"1.0\"?>\n"
    "<font>\n"
    "  <info face=\"test\"/>\n"
    "  <common lineHeight=\"20\" base=\"16\" scaleW=\"256\" scaleH=\"256\" pages=\"2\"/>\n"
    "  <pages>\n"
    "    <page id=\"0\" file=\"fonts/p0.png\"/>\n"
    "    <page id=\"1\" file=\"fonts/p1.png\"/>\n"
    "  </pages>\n"
    "  <chars count=\"3\">\n"
    "    <char id=\"65\" x=\"0\" y=\"0\" width=\"10\" height=\"12\" xoffset=\"1\" yoffset=\"2\" xadvance=\"11\" "
    "page=\"0\"/>\n"
    "    <char id=\"66\" x=\"16\" y=\"32\" width=\"12\" height=\"14\" xoffset=\"-1\" yoffset=\"3\" xadvance=\"13\" "
    "page=\"1\"/>\n"
    "    <char id=\"87\" x=\"40\" y=\"0\" width=\"70\" height=\"16\" xadvance=\"75\" page=\"0\"/>\n"
    "  </chars>\n"
    "</font>\n";

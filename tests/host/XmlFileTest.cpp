#include "host/XmlFile.h"

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
    for (const DepthCase& c : cases)
        EXPECT_EQ(XmlNestingBound(c.text), c.bound) << c.text;
}

// Whole XML files read and written safely: a file that is not a regular file,
// larger than its reader allows or nested too deeply is refused before the
// parser sees it, and a save replaces the old file only once the new one is
// complete on disk. A save writes any size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <tinyxml.h>

enum class XmlLoadResult { Loaded, Missing, Failed };

// Largest file read unless the reader says otherwise; bounds the memory a
// parse of a file from elsewhere may take.
constexpr size_t kMaxXmlFileSize = 16 * 1024 * 1024;
// For files this program saved itself: they are read back whole.
constexpr size_t kNoXmlFileSizeLimit = SIZE_MAX;
// The most elements a parse may hold open at once; the parser recurses once
// per element.
constexpr size_t kMaxXmlDepth = 256;

// Parses the file (as UTF-8 unless told otherwise) with CR LF and CR read as
// LF; a file larger than maxSize bytes fails. Missing: no such file. Failed:
// why says what is wrong with it.
XmlLoadResult LoadXmlFile(TiXmlDocument& document, const std::string& path, std::string& why,
                          TiXmlEncoding encoding = TIXML_ENCODING_UTF8, size_t maxSize = kMaxXmlFileSize);

// Parses text up to its first zero byte; false, with why, for nesting deeper
// than kMaxXmlDepth or a parse error. The parser steps over a UTF-8 sequence
// by its lead byte, past a zero that cuts it short, so it parses a copy that
// zeros follow.
bool ParseXmlText(TiXmlDocument& document, const std::string& text, TiXmlEncoding encoding, std::string& why);

// Prints the document over path with os::ReplaceFile: on failure the old file
// is untouched and why says what failed.
bool SaveXmlFile(const TiXmlDocument& document, const std::string& path, std::string& why);

// How many elements the parser holds open at once, the innermost included,
// when it parses text as ParseXmlText does; never less than it recurses to.
size_t XmlNestingBound(const std::string& text, TiXmlEncoding encoding);

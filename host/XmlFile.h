// Whole XML files read and written safely: a file that is not a regular file,
// too large or nested too deeply is refused before the parser sees it, and a
// save replaces the old file only once the new one is complete on disk.
#pragma once

#include <cstddef>
#include <string>

class TiXmlDocument;

enum class XmlLoadResult { Loaded, Missing, Failed };

// Largest file read or written; also bounds the memory a parse may take.
constexpr size_t kMaxXmlFileSize = 16 * 1024 * 1024;
// Deepest element nesting accepted; the parser recurses once per level.
constexpr size_t kMaxXmlDepth = 256;

// Parses the file as UTF-8 with CR LF and CR read as LF. Missing: no such
// file. Failed: why says what is wrong with it.
XmlLoadResult LoadXmlFile(TiXmlDocument& document, const std::string& path, std::string& why);

// Prints the document into a temporary file beside path, syncs it and renames
// it over path (over the file a symbolic link names). On failure the old file
// is untouched, the temporary is gone and why says what failed.
bool SaveXmlFile(const TiXmlDocument& document, const std::string& path, std::string& why);

// How deep elements may nest in text, counted so that it is never less than
// what the parser would build.
size_t XmlNestingBound(const std::string& text);

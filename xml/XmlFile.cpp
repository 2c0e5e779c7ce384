#include "xml/XmlFile.h"

#include "os/AtomicFile.h"
#include "os/RegularFile.h"
#include "xml/XmlNestingScanner.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <tinyxml.h>
#include <unistd.h>

namespace {

std::string Failure(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// Reads at most one chunk past the limit, so a file that grows meanwhile is still caught.
bool ReadAll(int fd, size_t maxSize, std::string& text, std::string& why) {
    char chunk[65536];
    for (;;) {
        ssize_t got = read(fd, chunk, sizeof(chunk));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            why = Failure("cannot read");
            return false;
        }
        if (got == 0) return true;
        text.append(chunk, static_cast<size_t>(got));
        if (text.size() > maxSize) {
            why = "larger than " + std::to_string(maxSize) + " bytes";
            return false;
        }
    }
}

XmlLoadResult ReadText(const std::string& path, size_t maxSize, std::string& text, std::string& why) {
    int fd = os::OpenRegularFile(path, why);
    if (fd < 0) return errno == ENOENT ? XmlLoadResult::Missing : XmlLoadResult::Failed;
    bool ok = ReadAll(fd, maxSize, text, why);
    close(fd);
    return ok ? XmlLoadResult::Loaded : XmlLoadResult::Failed;
}

std::string WithLineFeeds(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            result += text[i];
            continue;
        }
        result += '\n';
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return result;
}

// The text up to its first zero, as the parser reads it. The parser steps
// over a UTF-8 sequence by its lead byte, past a zero that cuts it short: a
// sequence is at most four bytes long, so its lead byte can skip three.
std::string ParserCopy(const std::string& text) {
    std::string copy = text.substr(0, text.find('\0'));
    copy.append(4, '\0');
    return copy;
}

bool Fail(std::string& why, const std::string& text) {
    why = text;
    return false;
}

}  // namespace

size_t XmlNestingBound(const std::string& text, TiXmlEncoding encoding) {
    return XmlNestingScanner().Deepest(ParserCopy(text).c_str(), encoding);
}

bool ParseXmlText(TiXmlDocument& document, const std::string& text, TiXmlEncoding encoding, std::string& why) {
    const std::string copy = ParserCopy(text);
    if (XmlNestingScanner().Deepest(copy.c_str(), encoding) > kMaxXmlDepth)
        return Fail(why, "elements nested deeper than " + std::to_string(kMaxXmlDepth) + " levels");
    document.Parse(copy.c_str(), nullptr, encoding);
    if (document.Error())
        return Fail(why, std::string(document.ErrorDesc()) + " (line " + std::to_string(document.ErrorRow()) + ")");
    return true;
}

XmlLoadResult LoadXmlFile(TiXmlDocument& document, const std::string& path, std::string& why, TiXmlEncoding encoding,
                          size_t maxSize) {
    std::string text;
    XmlLoadResult result = ReadText(path, maxSize, text, why);
    if (result != XmlLoadResult::Loaded) return result;
    return ParseXmlText(document, WithLineFeeds(text), encoding, why) ? XmlLoadResult::Loaded : XmlLoadResult::Failed;
}

bool SaveXmlFile(const TiXmlDocument& document, const std::string& path, std::string& why) {
    const auto print = [&document](std::FILE* file) { document.SaveFile(file); };
    return os::ReplaceFile(path, print, why);
}

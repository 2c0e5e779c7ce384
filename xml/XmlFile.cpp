#include "xml/XmlFile.h"

#include "os/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
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
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return XmlLoadResult::Missing;
        why = Failure("cannot open");
        return XmlLoadResult::Failed;
    }
    struct stat info;
    bool ok = false;
    if (fstat(fd, &info) != 0)
        why = Failure("cannot examine");
    else if (!S_ISREG(info.st_mode))
        why = "not a regular file";
    else
        ok = ReadAll(fd, maxSize, text, why);
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

size_t SkipPast(const std::string& text, size_t from, const std::string& marker) {
    size_t at = text.find(marker, from);
    return at == std::string::npos ? text.size() : at + marker.size();
}

// Scans a start tag from just after its '<'; quoted values count only after '=',
// where the parser takes them. Sets selfClosed for "/>" and for a tag never ended.
size_t SkipStartTag(const std::string& text, size_t at, bool& selfClosed) {
    while (at < text.size()) {
        char c = text[at];
        if (c == '>') {
            selfClosed = false;
            return at + 1;
        }
        if (c == '/' && at + 1 < text.size() && text[at + 1] == '>') {
            selfClosed = true;
            return at + 2;
        }
        ++at;
        if (c != '=') continue;
        while (at < text.size() && std::strchr(" \t\n\r", text[at]) != nullptr) ++at;
        if (at < text.size() && (text[at] == '"' || text[at] == '\''))
            at = SkipPast(text, at + 1, std::string(1, text[at]));
    }
    selfClosed = true;
    return at;
}

bool Fail(std::string& why, const std::string& text) {
    why = text;
    return false;
}

}  // namespace

size_t XmlNestingBound(const std::string& text) {
    size_t depth = 0;
    size_t deepest = 0;
    size_t at = 0;
    while ((at = text.find('<', at)) != std::string::npos) {
        if (text.compare(at, 4, "<!--") == 0) {
            at = SkipPast(text, at + 4, "-->");
        } else if (text.compare(at, 2, "<!") == 0 || text.compare(at, 2, "<?") == 0) {
            at = SkipPast(text, at + 2, ">");
        } else if (text.compare(at, 2, "</") == 0) {
            depth -= depth > 0 ? 1 : 0;
            at = SkipPast(text, at + 2, ">");
        } else {
            bool selfClosed = false;
            at = SkipStartTag(text, at + 1, selfClosed);
            if (!selfClosed) deepest = std::max(deepest, ++depth);
        }
    }
    return deepest;
}

bool ParseXmlText(TiXmlDocument& document, const std::string& text, TiXmlEncoding encoding, std::string& why) {
    std::string padded = text.substr(0, text.find('\0'));
    if (XmlNestingBound(padded) > kMaxXmlDepth)
        return Fail(why, "elements nested deeper than " + std::to_string(kMaxXmlDepth) + " levels");
    // A sequence is at most four bytes long: its lead byte can skip three.
    padded.append(4, '\0');
    document.Parse(padded.c_str(), nullptr, encoding);
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

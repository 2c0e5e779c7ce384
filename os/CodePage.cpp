#include "os/CodePage.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <initializer_list>
#include <langinfo.h>
#include <strings.h>

namespace {

// Both directions pass through UTF-32, so a bad input byte and a character
// the target cannot hold are told apart: iconv reports both as EILSEQ.
const char* const kWide = "UTF-32LE";
const char kWideQuestionMark[4] = {'?', 0, 0, 0};

struct Replacement {
    size_t skip;        // input bytes given up at a failing position
    const char* bytes;  // what stands in for them in the output
    size_t length;
};

class Converter {
public:
    Converter(const char* to, const char* from) : m_Handle(iconv_open(to, from)) {}
    ~Converter() {
        if (IsOpen()) iconv_close(m_Handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool IsOpen() const { return m_Handle != reinterpret_cast<iconv_t>(-1); }

    std::string Run(const std::string& input, const Replacement& replacement) {
        std::string output;
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        int error;
        while ((error = Step(&in, &inLeft, output)) != 0) {
            if (error == E2BIG) continue;
            if ((error != EILSEQ && error != EINVAL) || inLeft == 0) break;
            size_t skip = replacement.skip < inLeft ? replacement.skip : inLeft;
            in += skip;
            inLeft -= skip;
            output.append(replacement.bytes, replacement.length);
        }
        // Return a stateful target to its initial shift state.
        Step(nullptr, nullptr, output);
        return output;
    }

private:
    // One iconv call into a chunk; the errno of a stop before the end, else 0.
    int Step(char** in, size_t* inLeft, std::string& output) {
        char chunk[4096];
        char* out = chunk;
        size_t outLeft = sizeof(chunk);
        size_t result = iconv(m_Handle, in, inLeft, &out, &outLeft);
        int error = result == static_cast<size_t>(-1) ? errno : 0;
        output.append(chunk, static_cast<size_t>(out - chunk));
        return error;
    }

    iconv_t m_Handle;
};

// The names C libraries give ASCII, the set of the C and POSIX locales.
bool IsAsciiCodeSet(const char* codeSet) {
    for (const char* name : {"ANSI_X3.4-1968", "ANSI_X3.4-1986", "ASCII", "US-ASCII", "646", "ISO646-US"})
        if (strcasecmp(codeSet, name) == 0) return true;
    return false;
}

// The locale's set, or UTF-8 when iconv does not know it. A program started
// without a locale (a service, cron, env -i) gets ASCII, which no text
// outside it fits: as most current tools do, such text is taken as UTF-8,
// so that a load and a save keep every byte of it.
std::string LocaleCodeSet() {
    const char* codeSet = nl_langinfo(CODESET);
    if (codeSet == nullptr || codeSet[0] == '\0' || IsAsciiCodeSet(codeSet)) return "UTF-8";
    Converter probe(kWide, codeSet);
    return probe.IsOpen() ? codeSet : "UTF-8";
}

// Every character set a locale uses holds ASCII as ASCII: such text needs no
// conversion, which keeps a large configuration quick to save and load.
bool IsAscii(const char* text) {
    for (; *text != '\0'; ++text)
        if (static_cast<unsigned char>(*text) >= 0x80) return false;
    return true;
}

std::string Convert(const char* text, const std::string& from, const std::string& to) {
    if (text == nullptr || text[0] == '\0') return "";
    if (IsAscii(text)) return text;
    Converter decode(kWide, from.c_str());
    Converter encode(to.c_str(), kWide);
    if (!decode.IsOpen() || !encode.IsOpen()) return "";
    std::string wide = decode.Run(text, Replacement{1, kWideQuestionMark, 4});
    return encode.Run(wide, Replacement{4, "?", 1});
}

}  // namespace

std::string Utf8ToAnsi(const char* text) { return Convert(text, "UTF-8", LocaleCodeSet()); }

std::string AnsiToUtf8(const char* text) { return Convert(text, LocaleCodeSet(), "UTF-8"); }

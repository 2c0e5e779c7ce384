#include "helpers/gfxFont.h"

#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstdio>

char gfxFont::buffer[1024];
GFX* gfxFont::gfx = nullptr;

namespace {

const char kHeader[] = "[GFXFONT]";
const unsigned char kSubstitute = '?';

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

void SkipBlanks(const std::string& s, size_t& p) {
    while (p < s.size() && IsBlank(s[p])) ++p;
}

// Next line of the text at pos; every line end after it is skipped, so blank
// lines vanish and CR LF reads like LF.
bool NextLine(const std::string& text, size_t& pos, std::string& line) {
    if (pos >= text.size()) return false;
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    line.assign(text, pos, end - pos);
    pos = text.find_first_not_of("\r\n", end);
    if (pos == std::string::npos) pos = text.size();
    return true;
}

// " , %d": a comma with blanks around it, then a decimal integer. Values
// outside int read as 0.
bool ReadNumber(const std::string& s, size_t& p, int& value) {
    SkipBlanks(s, p);
    if (p >= s.size() || s[p] != ',') return false;
    ++p;
    SkipBlanks(s, p);
    bool negative = false;
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) negative = s[p++] == '-';
    if (p >= s.size() || !std::isdigit(static_cast<unsigned char>(s[p]))) return false;
    long long v = 0;
    bool inRange = true;
    for (; p < s.size() && std::isdigit(static_cast<unsigned char>(s[p])); ++p) {
        v = v * 10 + (s[p] - '0');
        if (v > 2147483648LL) {
            inRange = false;
            v = 0;
        }
    }
    if (negative) v = -v;
    value = inRange && v >= -2147483648LL && v <= 2147483647LL ? static_cast<int>(v) : 0;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The description's folder: cut after the last backslash, else the last slash.
std::string Folder(const std::string& file) {
    size_t cut = file.rfind('\\');
    if (cut == std::string::npos) cut = file.rfind('/');
    return cut == std::string::npos ? std::string() : file.substr(0, cut + 1);
}

void Format(char* out, size_t size, const char* format, va_list ap) {
    out[0] = 0;
    if (format && std::vsnprintf(out, size, format, ap) < 0) out[0] = 0;
    out[size - 1] = 0;
}

}  // namespace

gfxFont::gfxFont(const char* filename, bool bMipmap)
    : hTexture(0),
      pre(),
      post(),
      fHeight(0.0f),
      fScale(1.0f),
      fProportion(1.0f),
      fRot(0.0f),
      fTracking(0.0f),
      fSpacing(1.0f),
      dwCol(0xFFFFFFFF),
      fZ(0.5f),
      nBlend(BLEND_DEFAULT) {
    gfx = gfxCreate(GFX_VERSION);
    if (gfx && filename) Load(filename, bMipmap);
}

gfxFont::~gfxFont() {
    for (std::unique_ptr<gfxSprite>& letter : letters) letter.reset();
    if (!gfx) return;
    for (HTEXTURE tex : textures) gfx->Texture_Free(tex);
    gfx->Release();
}

void gfxFont::Load(const char* filename, bool bMipmap) {
    uint32_t size = 0;
    void* data = gfx->Resource_Load(filename, &size);
    if (!data) return;
    // The text ends at its size or at its first zero byte.
    std::string text(static_cast<const char*>(data), size);
    gfx->Resource_Free(data);
    const size_t zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);

    size_t pos = 0;
    std::string line;
    if (!NextLine(text, pos, line) || line != kHeader) {
        gfx->System_Log("Font %s has incorrect format.", filename);
        return;
    }
    const std::string file(filename);
    while (NextLine(text, pos, line)) {
        if (line.compare(0, 6, "Bitmap") == 0) {
            if (!ReadTextureLine(line, file, bMipmap)) return;
        } else if (line.compare(0, 4, "Char") == 0) {
            ReadGlyphLine(line);
        }
    }
}

bool gfxFont::ReadTextureLine(const std::string& line, const std::string& filename, bool bMipmap) {
    size_t p = 6;
    SkipBlanks(line, p);
    if (p >= line.size() || line[p] != '=') return true;
    ++p;
    SkipBlanks(line, p);
    const size_t start = p;
    while (p < line.size() && !IsBlank(line[p])) ++p;
    if (p == start) return true;

    const std::string path = Folder(filename) + line.substr(start, p - start);
    hTexture = gfx->Texture_Load(path.c_str(), 0, bMipmap);
    if (!hTexture) return false;
    textures.push_back(hTexture);
    return true;
}

void gfxFont::ReadGlyphLine(const std::string& line) {
    size_t p = line.find('=');
    if (p == std::string::npos) return;
    ++p;
    while (p < line.size() && line[p] == ' ') ++p;

    uint32_t code = 0;
    if (p < line.size() && line[p] == '"') {
        // A quote that ends the line names no character.
        if (p + 1 >= line.size()) return;
        code = static_cast<unsigned char>(line[p + 1]);
        p = p + 3 <= line.size() ? p + 3 : line.size();
    } else {
        for (int d; p < line.size() && (d = HexDigit(line[p])) >= 0; ++p) code = (code << 4) | static_cast<uint32_t>(d);
    }
    if (code > 255) return;

    // Numbers missing from a short line read as 0.
    int v[6] = {0, 0, 0, 0, 0, 0};
    for (int& n : v)
        if (!ReadNumber(line, p, n)) break;

    letters[code].reset(new gfxSprite(hTexture, static_cast<float>(v[0]), static_cast<float>(v[1]),
                                      static_cast<float>(v[2]), static_cast<float>(v[3])));
    pre[code] = static_cast<float>(v[4]);
    post[code] = static_cast<float>(v[5]);
    if (static_cast<float>(v[3]) > fHeight) fHeight = static_cast<float>(v[3]);
}

gfxSprite* gfxFont::Glyph(unsigned char c, int& g) const {
    g = letters[c] ? c : kSubstitute;
    return letters[g].get();
}

float gfxFont::LineWidth(const char* p, const char** end) const {
    float w = 0.0f;
    for (; *p && *p != '\n'; ++p) {
        int g;
        if (const gfxSprite* spr = Glyph(static_cast<unsigned char>(*p), g))
            w += post[g] + pre[g] + fTracking + spr->width;
    }
    *end = p;
    return w;
}

float gfxFont::GetStringWidth(const char* string, bool bMultiline) const {
    if (!string || !*string) return 0.0f;
    const char* p = string;
    float widest = LineWidth(p, &p);
    while (bMultiline) {
        while (*p == '\n' || *p == '\r') ++p;
        if (!*p) break;
        const float w = LineWidth(p, &p);
        if (w > widest) widest = w;
    }
    return widest * fProportion * fScale;
}

float gfxFont::LineStart(float x, int align, const char* line) const {
    if (align == 1) return x - GetStringWidth(line, false);
    if (align == 2) return x - std::nearbyint(GetStringWidth(line, false) / 2.0f);
    return x;
}

void gfxFont::Render(float x, float y, int align, const char* string) {
    if (!string) return;
    const int a = align & 3;
    float px = LineStart(x, a, string);
    for (const char* p = string; *p; ++p) {
        if (*p == '\n') {
            y += std::nearbyint(fSpacing * fScale * fHeight);
            px = LineStart(x, a, p + 1);
            continue;
        }
        int g;
        gfxSprite* spr = Glyph(static_cast<unsigned char>(*p), g);
        if (!spr) continue;
        px += pre[g] * fProportion * fScale;
        spr->RenderEx(px, y, fRot, fProportion * fScale, fScale);
        px += (post[g] + fTracking + spr->width) * fProportion * fScale;
    }
}

void gfxFont::printf(float x, float y, int align, const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    Format(buffer, sizeof buffer, format, ap);
    va_end(ap);
    Render(x, y, align, buffer);
}

int gfxFont::WrapBuffer(float w) {
    char* lineStart = buffer;
    char* wordStart = buffer;
    char* prevDelim = nullptr;
    for (;;) {
        char* delim = wordStart;
        while (*delim && *delim != ' ' && *delim != '\n') ++delim;
        const char kept = *delim;
        *delim = 0;
        const float ww = GetStringWidth(lineStart, true);
        *delim = kept;
        if (ww > w) {
            // A word that starts its line stays there and overflows it.
            if (wordStart == lineStart) {
                if (*delim) *delim = '\n';
            } else {
                *prevDelim = '\n';
                lineStart = prevDelim + 1;
            }
        }
        if (*delim == '\n') lineStart = delim + 1;
        if (!*delim) break;
        prevDelim = delim;
        wordStart = delim + 1;
    }
    int lines = 0;
    for (const char* p = buffer; *p; ++p) lines += *p == '\n';
    return lines;
}

void gfxFont::printfb(float x, float y, float w, float h, int align, const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    Format(buffer, sizeof buffer, format, ap);
    va_end(ap);

    const int lines = WrapBuffer(w);
    const float bh = static_cast<float>(lines + 1) * fSpacing * fScale * fHeight;
    float tx = x;
    if ((align & 3) == 1) tx = x + w;
    if ((align & 3) == 2) tx = x + std::nearbyint(w / 2.0f);
    float ty = y;
    if ((align & 12) == 4) ty = y + (h - bh);
    if ((align & 12) == 8) ty = y + std::nearbyint((h - bh) / 2.0f);
    Render(tx, ty, align, buffer);
}

void gfxFont::SetColor(uint32_t col) {
    dwCol = col;
    for (std::unique_ptr<gfxSprite>& letter : letters)
        if (letter) letter->SetColor(col, -1);
}

void gfxFont::SetZ(float z) {
    fZ = z;
    for (std::unique_ptr<gfxSprite>& letter : letters)
        if (letter) letter->SetZ(z, -1);
}

void gfxFont::SetBlendMode(int blend) {
    nBlend = blend;
    for (std::unique_ptr<gfxSprite>& letter : letters)
        if (letter) letter->SetBlendMode(blend);
}

void gfxFont::SetScale(float scale) { fScale = scale; }

void gfxFont::SetTracking(float tracking) { fTracking = tracking; }

void gfxFont::SetSpacing(float spacing) { fSpacing = spacing; }

float gfxFont::GetHeight() const { return fHeight; }

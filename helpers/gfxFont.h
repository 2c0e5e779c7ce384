// A bitmap font of up to 256 glyphs cut from a texture, read from a
// "[GFXFONT]" description. Draws aligned text line by line with a scale,
// tracking and line spacing, and measures it.
#pragma once

#include "engine/gfx.h"
#include "helpers/gfxSprite.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class gfxFont {
public:
    // A missing or malformed description leaves an empty, usable font.
    gfxFont(const char* filename, bool bMipmap = false);
    ~gfxFont();
    // The font owns its glyph sprites and textures.
    gfxFont(const gfxFont&) = delete;
    gfxFont& operator=(const gfxFont&) = delete;

    // align: bits 0-1 horizontal (0 left, 1 right, 2 centre), bits 2-3
    // vertical for printfb (0 top, 4 bottom, 8 middle).
    void Render(float x, float y, int align, const char* string);
    // Output past 1023 characters is cut.
    void printf(float x, float y, int align, const char* format, ...) __attribute__((format(__printf__, 5, 6)));
    // Wraps at blanks to the box width and aligns the block in the box.
    void printfb(float x, float y, float w, float h, int align, const char* format, ...)
        __attribute__((format(__printf__, 7, 8)));

    // Width of the first line, or of the widest one when bMultiline is set.
    float GetStringWidth(const char* string, bool bMultiline = true) const;
    void SetColor(uint32_t col);
    void SetZ(float z);
    void SetBlendMode(int blend);
    void SetScale(float scale);
    void SetTracking(float tracking);
    void SetSpacing(float spacing);
    // Unscaled line height: the tallest glyph of the description.
    float GetHeight() const;

private:
    // The formatted text of the last printf or printfb, shared by all fonts.
    static char buffer[1024];
    static GFX* gfx;

    HTEXTURE hTexture;
    std::unique_ptr<gfxSprite> letters[256];
    float pre[256];
    float post[256];
    float fHeight;
    float fScale;
    float fProportion;
    float fRot;
    float fTracking;
    float fSpacing;
    uint32_t dwCol;
    float fZ;
    int nBlend;
    // Every texture the description loaded: earlier glyphs keep drawing with
    // theirs after a later "Bitmap" line, so all are freed together.
    std::vector<HTEXTURE> textures;

    void Load(const char* filename, bool bMipmap);
    // False when the texture could not be loaded: reading stops there.
    bool ReadTextureLine(const std::string& line, const std::string& filename, bool bMipmap);
    void ReadGlyphLine(const std::string& line);
    // The glyph drawn for byte c (its own, else the substitute '?'), or null.
    gfxSprite* Glyph(unsigned char c, int& g) const;
    // Width of the line starting at p, up to a line feed or the end; *end is
    // set to where it stopped.
    float LineWidth(const char* p, const char** end) const;
    float LineStart(float x, int align, const char* line) const;
    // Turns blanks into line feeds so every line fits w; returns the line feeds.
    int WrapBuffer(float w);
};

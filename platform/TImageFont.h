#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

class TImage;

enum : int32_t { BOLDFONT = 1, ITALICFONT = 2, SMOOTHFONT = 4 };

// A TrueType font rendered to glyph images at one pixel size. The glyphs of every font live in
// one shared sheet (one for smooth fonts, one for the others), so lines of text in different
// fonts go out as one batch. A full sheet is replaced by a new one (twice the size up to 4096
// pixels a side) and every font rasterises its glyphs into it again as it next uses them.
//
// A font for the interface is rasterised at its size times the interface factor but measured
// and placed in interface units, so drawn at that factor each glyph pixel is one back-buffer
// pixel and the text stays sharp.
class TImageFont {
public:
    ~TImageFont();
    // Null when the file cannot be read as a font. rasterScale: glyph pixels per unit of size.
    static std::shared_ptr<TImageFont> Load(const std::string& path, int32_t size, int32_t style = SMOOTHFONT,
                                            float rasterScale = 1.0f);

    // The bitmap fields are glyph pixels; the advance is in units of the size.
    struct TGlyph {
        int32_t atlasX = 0, atlasY = 0, width = 0, height = 0;
        int32_t left = 0, top = 0;  // bitmap offset from the pen position and the baseline
        float advance = 0;
    };

    // Line height in units of the size.
    // Rasterises the glyphs again at another scale (the texts' measures stay); false, and the
    // font as it was, for a size out of reach.
    bool SetRasterScale(float scale);
    int32_t Height() const;
    int32_t Ascender() const;
    float RasterScale() const { return rasterScale; }
    float TextWidth(const std::string& text);
    // Draws UTF-8 text with the current colour, alpha, rotation, scale, handle and origin.
    void Draw(const std::string& text, float x, float y);
    // The glyph of a code point, rendered into the sheet on first use (null when it has none).
    const TGlyph* Glyph(uint32_t codePoint);
    // The sheet the font's glyphs are in.
    const std::shared_ptr<TImage>& Atlas() const;

private:
    TImageFont() = default;
    void* face = nullptr;  // FT_Face
    int32_t size = 0;
    int32_t style = 0;
    float rasterScale = 1.0f;
    int32_t height = 0;    // glyph pixels
    int32_t ascender = 0;  // glyph pixels
    // The sheet the glyphs were rendered into (its generation); another one means rendering again.
    uint32_t sheetGeneration = 0;
    std::unordered_map<uint32_t, TGlyph> glyphs;
};

#pragma once
#include <memory>
#include <string>

#include "tools/TCanvas.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

// Lays out and rasterises UTF-8 text with FreeType into a canvas. Sizes and positions are in
// the canvas' design units; glyphs are placed at sub-pixel positions without hinting, so the
// result depends only on the font file. A font that cannot be read leaves the renderer
// empty: it then draws nothing and measures 0.
class TTextRenderer {
public:
    explicit TTextRenderer(const std::string& fontPath);
    ~TTextRenderer();
    TTextRenderer(const TTextRenderer&) = delete;
    TTextRenderer& operator=(const TTextRenderer&) = delete;

    bool IsLoaded() const { return face != nullptr; }
    // Width of the text in design units; bold widens each glyph by that many design units.
    float Measure(const TCanvas& canvas, const std::string& text, float size, float bold = 0.0f) const;
    // Draws with the baseline at y; align 0 puts the left end at x, 0.5 the middle, 1 the right end.
    void Draw(TCanvas& canvas, const std::string& text, float x, float y, float size, const TPaint& paint,
              float bold = 0.0f, float align = 0.0f) const;

private:
    // Walks the glyphs; with a canvas to draw on it renders them, and returns the advance in pixels.
    float Layout(TCanvas* target, const TCanvas& metrics, const std::string& text, float penX, float baselineY,
                 float size, const TPaint* paint, float bold) const;

    FT_LibraryRec_* library = nullptr;
    FT_FaceRec_* face = nullptr;
};

#include "tools/TTextRenderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <vector>

#include "platform/TCharset.h"
#include "platform/TStream.h"

TTextRenderer::TTextRenderer(const std::string& fontPath) {
    if (FT_Init_FreeType(&library) != 0) {
        library = nullptr;
        return;
    }
    if (FT_New_Face(library, fontPath.c_str(), 0, &face) != 0) {
        face = nullptr;
        Print("Font could not be loaded: " + fontPath);
    }
}

TTextRenderer::~TTextRenderer() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
}

float TTextRenderer::Layout(TCanvas* target, const TCanvas& metrics, const std::string& text, float penX,
                            float baselineY, float size, const TPaint* paint, float bold) const {
    if (!face) return 0.0f;
    const float pixelSize = size * metrics.Scale();
    const FT_F26Dot6 charSize = static_cast<FT_F26Dot6>(std::lround(pixelSize * 64.0f));
    if (charSize <= 0 || FT_Set_Char_Size(face, 0, charSize, 72, 72) != 0) return 0.0f;
    const FT_Pos boldness = static_cast<FT_Pos>(std::lround(bold * metrics.Scale() * 64.0f));
    float pen = penX;
    FT_UInt previous = 0;
    for (uint32_t code : TCharset::Decode(text)) {
        const FT_UInt index = FT_Get_Char_Index(face, code);
        if (previous && index && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            if (FT_Get_Kerning(face, previous, index, FT_KERNING_UNFITTED, &kern) == 0) pen += kern.x / 64.0f;
        }
        previous = index;
        if (FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) continue;
        FT_GlyphSlot slot = face->glyph;
        if (boldness > 0 && slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_Outline_Embolden(&slot->outline, boldness);
        const float advance = slot->advance.x / 64.0f + boldness / 64.0f;
        if (target && paint && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            // Place the outline at the sub-pixel pen position, then render at whole pixels.
            const float whole = std::floor(pen), wholeY = std::floor(baselineY);
            FT_Outline_Translate(&slot->outline, static_cast<FT_Pos>(std::lround((pen - whole) * 64.0f)),
                                 -static_cast<FT_Pos>(std::lround((baselineY - wholeY) * 64.0f)));
            if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0) {
                const FT_Bitmap& bitmap = slot->bitmap;
                std::vector<float> mask(static_cast<size_t>(bitmap.width) * bitmap.rows);
                for (unsigned int row = 0; row < bitmap.rows; ++row)
                    for (unsigned int col = 0; col < bitmap.width; ++col)
                        mask[row * bitmap.width + col] = bitmap.buffer[row * bitmap.pitch + col] / 255.0f;
                target->FillMask(mask, static_cast<int32_t>(bitmap.width), static_cast<int32_t>(bitmap.rows),
                                 static_cast<int32_t>(whole) + slot->bitmap_left,
                                 static_cast<int32_t>(wholeY) - slot->bitmap_top, *paint);
            }
        }
        pen += advance;
    }
    return pen - penX;
}

float TTextRenderer::Measure(const TCanvas& canvas, const std::string& text, float size, float bold) const {
    return Layout(nullptr, canvas, text, 0.0f, 0.0f, size, nullptr, bold) / canvas.Scale();
}

void TTextRenderer::Draw(TCanvas& canvas, const std::string& text, float x, float y, float size, const TPaint& paint,
                         float bold, float align) const {
    const float width = Measure(canvas, text, size, bold);
    const float penX = (x - width * align) * canvas.Scale() + canvas.OffsetX();
    const float baseline = y * canvas.Scale() + canvas.OffsetY();
    Layout(&canvas, canvas, text, penX, baseline, size, &paint, bold);
}

#include "platform/TImageFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

#include "platform/TCharset.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "platform/TPixmap.h"
#include "platform/TSpriteBatch.h"

namespace {
constexpr int32_t MinAtlasSize = 1024;
// A full sheet is followed by one twice its size up to this side, then by one of the same size.
constexpr int32_t MaxSheetSize = 4096;

// Room for the Latin-1 glyphs at any pixel size (about 16 glyphs of the size per row).
int32_t AtlasSizeFor(int32_t pixelSize) {
    int32_t side = MinAtlasSize;
    while (side < 16 * pixelSize && side < 8192) side *= 2;
    return side;
}

// The shared glyph sheet of smooth or of sharp fonts, filled row by row.
struct TSheet {
    std::shared_ptr<TImage> image;
    int32_t penX = 0, penY = 0, rowHeight = 0;
    uint32_t generation = 0;
};

TSheet& Sheet(int32_t style) {
    static TSheet sheets[2];
    return sheets[(style & SMOOTHFONT) ? 1 : 0];
}

// A new, empty sheet of at least `side` pixels a side: text drawn from the old one goes out first,
// since its texture goes with it.
void Renew(TSheet& sheet, int32_t style, int32_t side) {
    TSpriteBatch::Instance().Flush();
    sheet.image = TImage::Create(side, side, 1, (style & SMOOTHFONT) ? FILTEREDIMAGE : 0);
    sheet.penX = sheet.penY = sheet.rowHeight = 0;
    ++sheet.generation;
}

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
        return lib;
    }();
    return library;
}
}  // namespace

TImageFont::~TImageFont() {
    if (face) FT_Done_Face(static_cast<FT_Face>(face));
}

std::shared_ptr<TImageFont> TImageFont::Load(const std::string& path, int32_t size, int32_t style,
                                             float rasterScale) {
    if (!Library() || size <= 0) return nullptr;
    FT_Face ftFace = nullptr;
    if (FT_New_Face(Library(), path.c_str(), 0, &ftFace) != 0) return nullptr;
    std::shared_ptr<TImageFont> font(new TImageFont());
    font->face = ftFace;
    font->size = size;
    font->style = style;
    if (!font->SetRasterScale(rasterScale)) return nullptr;
    return font;
}

bool TImageFont::SetRasterScale(float scale) {
    if (sheetGeneration != 0 && scale == rasterScale) return true;
    if (!(scale > 0.0f)) return false;
    const float pixels = std::round(float(size) * scale);
    if (pixels < 1.0f || pixels > 512.0f) return false;
    const int32_t pixelSize = static_cast<int32_t>(pixels);
    FT_Face ftFace = static_cast<FT_Face>(face);
    if (FT_Set_Pixel_Sizes(ftFace, 0, static_cast<FT_UInt>(pixelSize)) != 0) return false;
    TSheet& sheet = Sheet(style);
    if (!sheet.image || sheet.image->width < AtlasSizeFor(pixelSize)) Renew(sheet, style, AtlasSizeFor(pixelSize));
    if (!sheet.image) return false;
    rasterScale = scale;
    ascender = static_cast<int32_t>(ftFace->size->metrics.ascender >> 6);
    height = static_cast<int32_t>((ftFace->size->metrics.ascender - ftFace->size->metrics.descender) >> 6);
    glyphs.clear();
    sheetGeneration = sheet.generation;
    // The Latin-1 range covers every text of the game; others are added when first drawn.
    for (uint32_t cp = 32; cp < 256; ++cp) Glyph(cp);
    return true;
}

const std::shared_ptr<TImage>& TImageFont::Atlas() const { return Sheet(style).image; }

const TImageFont::TGlyph* TImageFont::Glyph(uint32_t cp) {
    TSheet& sheet = Sheet(style);
    if (sheetGeneration != sheet.generation) {
        glyphs.clear();
        sheetGeneration = sheet.generation;
    }
    auto it = glyphs.find(cp);
    if (it != glyphs.end()) return &it->second;
    FT_Face ftFace = static_cast<FT_Face>(face);
    const FT_UInt index = FT_Get_Char_Index(ftFace, cp);
    if (index == 0 && cp != ' ') return nullptr;
    const FT_Int32 loadFlags = (style & SMOOTHFONT) ? FT_LOAD_RENDER : (FT_LOAD_RENDER | FT_LOAD_TARGET_MONO);
    if (FT_Load_Glyph(ftFace, index, loadFlags) != 0) return nullptr;
    const FT_GlyphSlot slot = ftFace->glyph;
    const FT_Bitmap& bmp = slot->bitmap;
    TGlyph g;
    g.width = static_cast<int32_t>(bmp.width);
    g.height = static_cast<int32_t>(bmp.rows);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.advance = float(slot->advance.x) / 64.0f / rasterScale;
    if (g.width > 0 && g.height > 0) {
        const auto place = [&sheet, &g] {
            if (sheet.penX + g.width + 1 > sheet.image->width) {
                sheet.penX = 0;
                sheet.penY += sheet.rowHeight + 1;
                sheet.rowHeight = 0;
            }
            return sheet.penY + g.height <= sheet.image->height && g.width <= sheet.image->width;
        };
        if (!place()) {
            // Full: a new sheet, larger while a larger one is affordable; the glyphs in use are
            // rendered into it again as they are asked for.
            const int32_t side = sheet.image->width;
            Renew(sheet, style, side < MaxSheetSize ? side * 2 : side);
            if (!sheet.image) return nullptr;
            glyphs.clear();
            sheetGeneration = sheet.generation;
            if (!place()) return nullptr;
        }
        g.atlasX = sheet.penX;
        g.atlasY = sheet.penY;
        auto pix = sheet.image->Lock(0);
        for (int32_t y = 0; y < g.height; ++y) {
            const unsigned char* row = bmp.buffer + y * bmp.pitch;
            for (int32_t x = 0; x < g.width; ++x) {
                uint32_t a;
                if (bmp.pixel_mode == FT_PIXEL_MODE_MONO) {
                    a = (row[x >> 3] & (0x80 >> (x & 7))) ? 255u : 0u;
                } else {
                    a = row[x];
                }
                pix->WritePixel(sheet.penX + x, sheet.penY + y, (a << 24) | 0xFFFFFFu);
            }
        }
        sheet.image->Unlock(0);
        sheet.penX += g.width + 1;
        sheet.rowHeight = std::max(sheet.rowHeight, g.height);
    }
    return &glyphs.emplace(cp, g).first->second;
}

float TImageFont::TextWidth(const std::string& text) {
    float w = 0;
    for (uint32_t cp : TCharset::Decode(text)) {
        if (const TGlyph* g = Glyph(cp)) w += g->advance;
    }
    return w;
}

int32_t TImageFont::Height() const { return static_cast<int32_t>(std::lround(float(height) / rasterScale)); }

int32_t TImageFont::Ascender() const { return static_cast<int32_t>(std::lround(float(ascender) / rasterScale)); }

void TImageFont::Draw(const std::string& text, float x, float y) {
    // Glyphs are placed in glyph pixels: the drawing scale and handle go to glyph pixels for the
    // duration, and an unrotated line starts on a whole back-buffer pixel.
    const TDrawState& s = DrawState();
    const float scaleX = s.tform_scale_x, scaleY = s.tform_scale_y, handleX = s.handle_x, handleY = s.handle_y;
    if (rasterScale != 1.0f) {
        if (s.tform_rot == 0.0f) {
            const float k = s.interface_scale;
            const float left = s.origin_x + x - handleX * scaleX, top = s.origin_y + y - handleY * scaleY;
            x += std::round(left * k) / k - left;
            y += std::round(top * k) / k - top;
        }
        SetScale(scaleX / rasterScale, scaleY / rasterScale);
        SetHandle(handleX * rasterScale, handleY * rasterScale);
    }
    float pen = 0;
    for (uint32_t cp : TCharset::Decode(text)) {
        const TGlyph* g = Glyph(cp);
        if (!g) continue;
        if (g->width > 0) {
            DrawImageArea(*Sheet(style).image, 0, float(g->atlasX), float(g->atlasY), float(g->width), float(g->height), x, y,
                          std::round(pen) + float(g->left), float(ascender - g->top));
        }
        pen += g->advance * rasterScale;
    }
    if (rasterScale != 1.0f) {
        SetScale(scaleX, scaleY);
        SetHandle(handleX, handleY);
    }
}

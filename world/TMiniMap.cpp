#include "world/TMiniMap.h"

#include <cmath>

#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "platform/TPixmap.h"
#include "platform/TStream.h"
#include "world/TISO.h"

std::shared_ptr<TMiniMap> TMiniMap::Create(int32_t width, int32_t height, int32_t layerCount) {
    if (width <= 0 || height <= 0 || layerCount <= 0) return nullptr;
    const int64_t w = int64_t(width) + height;
    // A map of odd width + height has one diamond row more than the half; the image holds it too.
    const int64_t h = (w + 1) / 2;
    if (w > TPixmap::MaxSide || w * h > TPixmap::MaxPixels) {
        Print("Minimap too large for a map of " + std::to_string(width) + " x " + std::to_string(height));
        return nullptr;
    }
    auto mm = std::make_shared<TMiniMap>();
    mm->Width = width;
    mm->Height = height;
    mm->iso = TISO::Create(2, 1);
    for (int32_t i = 0; i < layerCount; ++i) {
        auto img = TImage::Create(int32_t(w), int32_t(h), 1, MASKEDIMAGE | FILTEREDIMAGE | DYNAMICIMAGE);
        if (!img) return nullptr;
        img->SetHandle(0, 0);
        img->pixmaps[0]->ClearPixels(0x00FFFFFFu);
        mm->image.push_back(img);
    }
    mm->_pixmap.assign(size_t(layerCount), nullptr);
    mm->blendmode.assign(size_t(layerCount), ALPHABLEND);
    mm->visible.assign(size_t(layerCount), 1);
    mm->Alpha.assign(size_t(layerCount), 255);
    return mm;
}

void TMiniMap::Destroy() {
    image.clear();
    _pixmap.clear();
    blendmode.clear();
    visible.clear();
    Alpha.clear();
    iso.reset();
}

void TMiniMap::setVisible(int32_t flag, int32_t layer) {
    if (_ValidLayer(layer)) visible[size_t(layer)] = uint8_t(flag);
}

int32_t TMiniMap::isVisible(int32_t layer) const { return _ValidLayer(layer) ? visible[size_t(layer)] : 0; }

void TMiniMap::SetBlendMode(int32_t mode, int32_t layer) {
    if (_ValidLayer(layer)) blendmode[size_t(layer)] = uint8_t(mode);
}

int32_t TMiniMap::GetBlendMode(int32_t layer) const { return _ValidLayer(layer) ? blendmode[size_t(layer)] : 0; }

void TMiniMap::SetAlpha(float a, int32_t layer) {
    if (_ValidLayer(layer)) Alpha[size_t(layer)] = uint8_t(static_cast<int32_t>(a * 255.0f));
}

float TMiniMap::GetAlpha(int32_t layer) const {
    return _ValidLayer(layer) ? float(Alpha[size_t(layer)]) / 255.0f : 0.0f;
}

void TMiniMap::BeginWrite(int32_t layer) {
    if (!_ValidLayer(layer) || _pixmap[size_t(layer)]) return;
    _pixmap[size_t(layer)] = image[size_t(layer)]->Lock(0, true, true);
}

void TMiniMap::EndWrite(int32_t layer) {
    if (!_ValidLayer(layer) || !_pixmap[size_t(layer)]) return;
    _pixmap[size_t(layer)].reset();
    image[size_t(layer)]->Unlock(0);
}

void TMiniMap::TilePixel(int32_t x, int32_t y, int32_t& px, int32_t& py) const {
    px = x + y;
    py = static_cast<int32_t>(0.5f * float(x - y) + 0.5f * float(Height));
}

void TMiniMap::Write(int32_t x, int32_t y, int32_t colour, int32_t layer) {
    if (!_ValidLayer(layer) || x < 0 || y < 0 || x >= Width || y >= Height) return;
    BeginWrite(layer);
    auto& p = _pixmap[size_t(layer)];
    if (!p) return;
    int32_t px = 0, py = 0;
    TilePixel(x, y, px, py);
    p->WritePixel(px, py, uint32_t(colour));
    p->WritePixel(px + 1, py, uint32_t(colour));
}

uint32_t TMiniMap::Read(int32_t x, int32_t y, int32_t layer) const {
    if (!_ValidLayer(layer) || x < 0 || y < 0 || x >= Width || y >= Height) return 0;
    int32_t px = 0, py = 0;
    TilePixel(x, y, px, py);
    return image[size_t(layer)]->pixmaps[0]->ReadPixel(px, py);
}

std::array<float, 8> TMiniMap::Draw(float x, float y, float scaleX, float scaleY, int32_t layer) {
    if (layer < 0) {
        for (int32_t i = 0; i < int32_t(image.size()); ++i) _Draw(x, y, i);
    } else {
        _Draw(x, y, layer);
    }
    SetBlend(ALPHABLEND);
    return _GetOutline(x, y, scaleX, scaleY);
}

void TMiniMap::_Draw(float x, float y, int32_t layer) {
    if (!_ValidLayer(layer) || !visible[size_t(layer)]) return;
    EndWrite(layer);
    SetBlend(blendmode[size_t(layer)]);
    // Each layer's own alpha applies to that layer only.
    const float alpha = ::GetAlpha();
    ::SetAlpha(alpha * float(Alpha[size_t(layer)]) / 255.0f);
    DrawImage(image[size_t(layer)], x, y, 0);
    ::SetAlpha(alpha);
}

std::array<float, 8> TMiniMap::_GetOutline(float x, float y, float sx, float sy) const {
    const float w = float(getWidth()), h = float(getHeight()), H = float(Height);
    return {x + 0 * sx,
            y + 0.5f * H * sy,
            x + H * sx,
            y + 0 * sy,
            x + (w - 1) * sx,
            y + (h - 0.5f * H) * sy,
            x + float(Width) * sx,
            y + (h - 1) * sy};
}

int32_t TMiniMap::getWidth() const { return image.empty() || !image[0] ? 0 : image[0]->width; }

int32_t TMiniMap::getHeight() const { return image.empty() || !image[0] ? 0 : image[0]->height; }

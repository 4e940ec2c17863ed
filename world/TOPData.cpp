#include "world/TOPData.h"

std::shared_ptr<TOPData> TOPData::DrawImage(const std::shared_ptr<TImage>& img, float x, float y, int32_t frame,
                                            float ox, float oy, int32_t layer, bool onlyFilledBlock,
                                            uint32_t tint) {
    auto d = std::make_shared<TOPData>();
    d->img = img;
    d->x = x;
    d->y = y;
    d->ox = ox;
    d->oy = oy;
    d->Frame = frame;
    d->layer = layer;
    d->onlyFilledBlock = onlyFilledBlock;
    d->tint = tint;
    return d;
}

#include "app/TBlendInFilter.h"

#include "platform/TClock.h"

std::shared_ptr<TBlendInFilter> TBlendInFilter::Create(int32_t startms, int32_t length, const vesko::TCRGBA& color) {
    auto f = std::make_shared<TBlendInFilter>();
    f->generate(startms, length, color);
    return f;
}

void TBlendInFilter::Draw() { DrawCover(float(color.GetAlpha()) * (1.0f - Progress(Millisecs()))); }

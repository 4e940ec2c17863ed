#include "app/TBlendOutFilter.h"

#include "platform/TClock.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"

std::shared_ptr<TBlendOutFilter> TBlendOutFilter::Create(int32_t startms, int32_t length, const vesko::TCRGBA& color) {
    auto f = std::make_shared<TBlendOutFilter>();
    f->generate(startms, length, color);
    return f;
}

void TBlendOutFilter::generate(int32_t start, int32_t length, const vesko::TCRGBA& c) {
    startms = start;
    Length = length;
    color = c;
}

float TBlendOutFilter::Progress(int32_t now) const {
    if (Length <= 0) return 1.0f;
    return float(now - startms) / float(Length);
}

void TBlendOutFilter::DrawCover(float alpha) const {
    color.Use();
    SetAlpha(alpha);
    DrawRect(0, 0, float(TGraphics::GraphicsWidth()), float(TGraphics::GraphicsHeight()));
}

void TBlendOutFilter::Draw() {
    const int32_t now = Millisecs();
    if (now < startms) return;
    DrawCover(float(color.GetAlpha()) * Progress(now));
}

int32_t TBlendOutFilter::IsValid() { return Millisecs() < startms + Length ? 1 : 0; }

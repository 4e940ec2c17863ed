#include "framework/TCAnimation.h"

#include <algorithm>

#include "platform/TDraw.h"
#include "platform/TImage.h"

namespace vesko {

std::shared_ptr<TCAnimation> TCAnimation::FromImage(std::shared_ptr<TImage> image, float fps, int32_t kind,
                                                     int32_t useInt) {
    if (!image || image->FrameCount() < 1) return nullptr;
    auto a = std::make_shared<TCAnimation>();
    a->img = std::move(image);
    a->frames = a->img->FrameCount();
    a->kind = kind;
    a->useInt = useInt;
    a->timeemitter = TCTimeEmitter::Create(fps);
    a->Width = float(a->img->width);
    a->Height = float(a->img->height);
    return a;
}

std::shared_ptr<TCAnimation> TCAnimation::Create(int32_t w, int32_t h, int32_t frames, float fps, int32_t kind,
                                                 int32_t flags, int32_t useInt) {
    if (frames < 1) return nullptr;
    return FromImage(TImage::Create(w, h, frames, flags), fps, kind, useInt);
}

std::shared_ptr<TCAnimation> TCAnimation::Load(const std::string& source, int32_t w, int32_t h, int32_t frames,
                                               float fps, int32_t kind, int32_t flags, int32_t useInt) {
    if (frames < 1) return nullptr;
    return FromImage(TImage::LoadAnim(source, w, h, 0, frames, flags), fps, kind, useInt);
}

void TCAnimation::_Advance(int32_t ticks) {
    // Frame counts positions on the play path; long gaps are reduced first so it cannot overflow.
    switch (kind) {
        case kindOnce: Frame = int32_t(std::min<int64_t>(int64_t(Frame) + ticks, frames)); break;
        case kindLoop: Frame = int32_t((int64_t(Frame) + ticks) % frames); break;
        case kindForthAndBack: Frame = int32_t((int64_t(Frame) + ticks) % (2 * int64_t(frames) - 1)); break;
        default: break;
    }
}

int32_t TCAnimation::_ShownFrame() const {
    switch (kind) {
        case kindOnce: return std::min(Frame, frames - 1);
        case kindForthAndBack:
            // Up 0 … frames − 1, then down frames − 2 … 0 on the path of 2 × frames − 1 steps; the odd
            // step makes the strip rest on frame 0 for two ticks before it rises again.
            return Frame < frames ? Frame : 2 * frames - 2 - Frame;
        default: return Frame;
    }
}

void TCAnimation::_Draw(float x, float y) {
    // The image may be shared (FromImage): its own anchor comes back after the draw.
    const float hx = img->handle_x, hy = img->handle_y;
    img->SetHandle(handle_x, handle_y);
    _Advance(timeemitter->Get());
    if (_IntPosition(useInt, useIntPosition)) {
        x = float(static_cast<int32_t>(x));
        y = float(static_cast<int32_t>(y));
    }
    DrawImage(img, x, y, _ShownFrame());
    img->SetHandle(hx, hy);
}

std::shared_ptr<TContent> TCAnimation::_Copy() const {
    auto a = std::make_shared<TCAnimation>(*this);
    a->timeemitter = timeemitter->Copy();
    return a;
}

}  // namespace vesko

#include "world/TTicker.h"

#include "platform/TClock.h"

std::shared_ptr<TTicker> TTicker::Create(float fps) {
    auto ticker = std::make_shared<TTicker>();
    ticker->FPS = fps;
    ticker->Reset();
    return ticker;
}

float TTicker::GetF(int32_t peek) {
    if (peek == 0) return TCTimeEmitter::GetF();
    const double tf = _TicksSinceStart(Millisecs());
    return tf <= double(lasttick) ? 0.0f : float(tf);
}

#include "framework/TTouchPoint.h"

#include <algorithm>

namespace vesko {

std::shared_ptr<TTouchPoint> TTouchPoint::Create(float px, float py, int32_t time) {
    auto tp = std::make_shared<TTouchPoint>();
    tp->_x = tp->x = tp->lastx = tp->FirstX = px;
    tp->_y = tp->y = tp->lasty = tp->FirstY = py;
    tp->Time = time;
    return tp;
}

void TTouchPoint::_Update() {
    lastx = x;
    lasty = y;
    if (smoothing) {
        x = (_x - lastx) * 0.5f + lastx;
        y = (_y - lasty) * 0.5f + lasty;
    } else {
        x = _x;
        y = _y;
    }
    _n = std::max(_n - 1, 0);
}

std::shared_ptr<TTouchPoint> TTouchPoint::_Copy() const {
    auto tp = std::make_shared<TTouchPoint>();
    tp->id = id;
    // The raw position starts at the shown one, so that updating the copy keeps it in place.
    tp->_x = x;
    tp->_y = y;
    tp->x = x;
    tp->y = y;
    tp->lastx = lastx;
    tp->lasty = lasty;
    tp->FirstX = FirstX;
    tp->FirstY = FirstY;
    tp->Time = Time;
    tp->Active = Active;
    tp->content = content;
    tp->Source = Source;
    tp->Flags = Flags;
    tp->Mask = Mask;
    tp->ExtraInfo = ExtraInfo;
    tp->Width = Width;
    tp->Height = Height;
    return tp;
}

}  // namespace vesko

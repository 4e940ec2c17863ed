#include "app/TGameArea.h"

#include "framework/TTouchObject.h"

std::shared_ptr<TGameArea> TGameArea::Create(int32_t w, int32_t h) {
    auto a = std::make_shared<TGameArea>();
    a->generate(w, h);
    return a;
}

void TGameArea::generate(int32_t width, int32_t height) {
    Free();
    w = width;
    h = height;
    tobj = vesko::TTouchObject::Create(0, 0, 0, 0);
    tobj->addRect(float(w), float(h));
    // Created before the GUI, it lies behind every gadget.
    tobj->SetInBack();
}

void TGameArea::Free() {
    if (tobj) tobj->remove();
    tobj.reset();
}

int32_t TGameArea::atPos(float x, float y) const {
    return tobj && vesko::TTouchObject::getTouchObjectAtPos(x, y) == tobj ? 1 : 0;
}

int32_t TGameArea::inTouch() const { return tobj ? tobj->CountTouchPoints() : 0; }

#pragma once

// While one of these lives, draws are placed in back-buffer pixels: no rotation, scale 1,
// origin and handle 0, whatever the world's camera left set. The previous transform comes
// back when it ends. Every full-screen overlay (weather, fades, gamma, texts, pointers, GUI)
// draws inside one, so a zoomed world can never shrink or stretch it.
class TScreenSpace {
public:
    TScreenSpace();
    ~TScreenSpace();
    TScreenSpace(const TScreenSpace&) = delete;
    TScreenSpace& operator=(const TScreenSpace&) = delete;

private:
    float rotation, scaleX, scaleY, originX, originY, handleX, handleY;
};

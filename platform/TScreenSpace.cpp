#include "platform/TScreenSpace.h"

#include "platform/TDrawState.h"

TScreenSpace::TScreenSpace() {
    rotation = GetRotation();
    GetScale(scaleX, scaleY);
    GetOrigin(originX, originY);
    GetHandle(handleX, handleY);
    SetTransform(0, 1, 1);
    SetOrigin(0, 0);
    SetHandle(0, 0);
}

TScreenSpace::~TScreenSpace() {
    SetTransform(rotation, scaleX, scaleY);
    SetOrigin(originX, originY);
    SetHandle(handleX, handleY);
}

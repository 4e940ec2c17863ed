#include "world/TTree.h"

#include "framework/TFastRandom.h"
#include "platform/TDraw.h"
#include "world/TBuildingLayer.h"

std::shared_ptr<TTree> TTree::Create(int32_t x, int32_t y, int32_t frame, vesko::TFastRandom* random) {
    auto t = std::make_shared<TTree>();
    t->x = x;
    t->y = y;
    if (frame >= 0) {
        t->Frame = frame;
    } else {
        t->Frame = random ? random->GetIntIn(0, 14) : 0;
    }
    return t;
}

void TTree::Draw(float sx, float sy) const { DrawImage(TBuildingLayer::treeImg, sx, sy, Frame); }

int32_t TTree::GetCol() {
    if (_col == 0) {
        _col = (Frame >= 0 && Frame < frameCount) ? static_cast<int32_t>(0xFF706F4Du) : 0xFF;
    }
    return _col;
}

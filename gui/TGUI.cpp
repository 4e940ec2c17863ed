#include "gui/TGUI.h"

std::shared_ptr<TGUI> TGUI::Create(int32_t w, int32_t h) {
    auto gui = std::make_shared<TGUI>();
    gui->xmax = w;
    gui->ymax = h;
    gui->activeColor[0].Set(225, 225, 225, 1.0);
    gui->activeColor[1].Set(150, 150, 150, 1.0);
    return gui;
}

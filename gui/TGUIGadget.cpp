#include "gui/TGUIGadget.h"

#include "gui/TGUI.h"
#include "platform/TImage.h"

void TGUIGadget::Init(const std::shared_ptr<TGUI>& g) {
    gui = g;
    screenWidth = g ? g->xmax : 0;
    screenHeight = g ? g->ymax : 0;
    tooltip.textColor.SetColor(30, 30, 30);
}

void TGUIGadget::LoadToopTipImg(const std::string& path) { tooltip.image = TImage::Load(path); }

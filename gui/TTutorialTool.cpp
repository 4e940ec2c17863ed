#include "gui/TTutorialTool.h"

#include "gui/TGUI.h"
#include "platform/TCatalogue.h"
#include "platform/TImage.h"

std::shared_ptr<TTutorialTool> TTutorialTool::Create(const std::shared_ptr<TGUI>& gui, float r) {
    auto t = std::make_shared<TTutorialTool>();
    const auto& img = gui->tutorialToolImg;
    const float w = img ? float(img->width) : 4 * r, h = img ? float(img->height) : 4 * r;
    t->_mainGadget = gui->AddRectButton(startX, startY, w, h, nullptr, img);
    t->cmdClose = gui->AddRoundButton(w, 0, r, t->_mainGadget.get());
    t->cmdClose->setIcon(gui->buttonCloseImg, Tr("Beenden"));
    t->cmdClose->setGameFunc(TGUIElement::_hideTool, t.get());
    t->_mainGadget->gadget->HIDE();
    t->_mainGadget->gadget->hideChildren();
    return t;
}

#include "gui/TTouchMouseTool.h"

#include "gui/TGUI.h"

std::shared_ptr<TTouchMouseTool> TTouchMouseTool::Create(const std::shared_ptr<TGUI>& gui, float r) {
    auto t = std::make_shared<TTouchMouseTool>();
    t->generate(gui, r);
    return t;
}

void TTouchMouseTool::generate(const std::shared_ptr<TGUI>& gui, float r) {
    yDif = -2.0f * r;
    cmdMove = gui->AddRoundButton(0, 0, r, nullptr, 1);
    cmdMove->setIcon(gui->moveImg, "Verschieben");
    _mainGadget = cmdMove;
    cmdOk = gui->AddRoundButton(2.0f * r + 2.0f, 0, r, cmdMove.get());
    cmdOk->setIcon(gui->buttonOkImg, "Ok");
    cmdOk->setGameFunc(_initClickEvent, this);
    cmdCancel = gui->AddRoundButton(4.0f * r + 4.0f, 0, r, cmdMove.get());
    cmdCancel->setIcon(gui->buttonCloseImg, "Abbrechen");
    cmdCancel->setGameFunc(TGUIElement::_hideTool, this);
}

void TTouchMouseTool::SetPosition(float x, float y) {
    cmdMove->gadget->SetPosition(x - cmdOk->gadget->x, y - (cmdOk->gadget->y + yDif), 1);
}

void TTouchMouseTool::GetPosition(float& x, float& y) const {
    x = GetX();
    y = GetY();
}

float TTouchMouseTool::GetX() const { return cmdOk->gadget->GetX(1); }

float TTouchMouseTool::GetY() const { return cmdOk->gadget->GetY(1) + yDif; }

std::vector<float> TTouchMouseTool::getArrPosition() const {
    if (!isVisible()) return {};
    return {GetX(), GetY()};
}

int32_t TTouchMouseTool::hitEvent() {
    const int32_t c = clickEvent;
    clickEvent = 0;
    return c;
}

int32_t TTouchMouseTool::_initClickEvent(void* context) {
    if (auto* t = static_cast<TTouchMouseTool*>(context)) t->initClickEvent();
    return 0;
}

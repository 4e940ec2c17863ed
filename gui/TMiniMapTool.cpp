#include "gui/TMiniMapTool.h"

#include <algorithm>

#include "framework/TCFunc.h"
#include "framework/TTouchGUI.h"
#include "framework/TTouchObject.h"
#include "gui/TGUI.h"
#include "gui/TGameCommands.h"
#include "platform/TCatalogue.h"
#include "world/TLayer.h"
#include "world/TMiniMap.h"

namespace {
std::shared_ptr<void> DrawMiniMap(vesko::TCFunc& content, float x, float y) {
    if (auto* tool = static_cast<TMiniMapTool*>(content.container.get())) tool->_drawMap(x, y);
    return nullptr;
}
}  // namespace

std::shared_ptr<TMiniMapTool> TMiniMapTool::Create(const std::shared_ptr<TGUI>& gui, float r,
                                                   const std::shared_ptr<TLayer>& layer, const TGameCommands& game) {
    auto t = std::make_shared<TMiniMapTool>();
    t->layer = layer;
    if (layer && layer->mm && layer->mm->getWidth() > 0) {
        t->aspect = float(layer->mm->getHeight()) / float(layer->mm->getWidth());
    }
    t->cmdMove = gui->AddPanelAnchor(r);
    t->_mainGadget = t->cmdMove;

    auto draw = vesko::TCFunc::Load(DrawMiniMap);
    // A plain pointer back to the tool, which outlives its gadgets.
    draw->container = std::shared_ptr<void>(std::shared_ptr<void>(), t.get());
    auto to = vesko::TTouchObject::Create(0, 0, 0, 0);
    auto tg = gui->root->NewGadget(0, 0, t->cmdMove->gadget.get(), to, draw);
    t->mapGadget = TGUIGadget::Create(tg, Tr("Minimap"));
    t->mapGadget->SetAutoCorrectPositionEnable(0);

    t->cmdZoomIn = gui->AddRoundButton(0, 0, r, t->cmdMove.get());
    t->cmdZoomIn->setIcon(gui->zoomInImg, Tr("Hineinzoomen"));
    t->cmdZoomIn->setGameFunc(game.zoomIn, game.game);
    t->cmdZoomIn->setKeyAction(zoomInKey, 1);
    t->cmdZoomOut = gui->AddRoundButton(0, 0, r, t->cmdMove.get());
    t->cmdZoomOut->setIcon(gui->zoomOutImg, Tr("Herauszoomen"));
    t->cmdZoomOut->setGameFunc(game.zoomOut, game.game);
    t->cmdZoomOut->setKeyAction(zoomOutKey, 1);
    t->cmdResize = gui->AddRoundButton(0, 0, r, t->cmdMove.get(), 1);
    t->cmdResize->setIcon(gui->scaleImg, Tr("Größe ändern"));
    for (const auto& g : {t->cmdZoomIn, t->cmdZoomOut, t->cmdResize}) g->SetAutoCorrectPositionEnable(0);
    t->_placeCorners();
    return t;
}

void TMiniMapTool::_placeCorners() {
    const float w = MapWidth(), h = MapHeight();
    mapGadget->gadget->SetPosition(0, -h);
    cmdZoomIn->gadget->SetPosition(0, -h);
    cmdResize->gadget->SetPosition(w, -h);
    cmdZoomOut->gadget->SetPosition(w, 0);
    // The map answers touches inside its diamond only.
    auto to = mapGadget->gadget->getCurrentTouchObject();
    to->Object2D->polygons.clear();
    if (!layer || !layer->mm || layer->mm->getWidth() <= 0) return;
    const std::array<float, 8> o = layer->_GetMiniMapOutline();
    const float sx = w / float(layer->mm->getWidth()), sy = h / float(layer->mm->getHeight());
    to->AddPolygon({{o[0] * sx, o[1] * sy}, {o[2] * sx, o[3] * sy}, {o[4] * sx, o[5] * sy}, {o[6] * sx, o[7] * sy}});
}

void TMiniMapTool::Update() {
    if (!isVisible()) return;
    if (cmdResize->gadget->down) {
        // The handle sets the width; it snaps back to the box's corner.
        const float w = std::clamp(cmdResize->gadget->x, startWidth, 2.0f * startWidth);
        if (w != mapWidth) mapWidth = w;
        _placeCorners();
    }
    auto to = mapGadget->gadget->getCurrentTouchObject();
    touching = to && !to->GetTouchPoints().empty();
    if (touching) {
        touchX = to->GetTouchPoints().front()->GetX();
        touchY = to->GetTouchPoints().front()->GetY();
    }
}

void TMiniMapTool::_drawMap(float x, float y) {
    if (!layer) return;
    float camX = 0, camY = 0;
    const int32_t over = layer->_UpdateMiniMap(x, y, MapWidth(), MapHeight(), touchX, touchY, camX, camY);
    if (touching && over) layer->SetPosition(camX, camY, 0, 0);
}

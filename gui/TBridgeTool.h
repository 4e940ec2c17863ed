#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "gui/TGUIElement.h"

class TGUI;
class TRoad;
class TStreet;

namespace vesko {
class TCFunc;
class TCGroup;
class TCPicture;
class TCText;
}  // namespace vesko

// Pops up after a road crossed water on a street with several bridge kinds: a preview of a
// short bridge in the current kind with its name and number, next and previous to step
// through the kinds (the new bridge on the map changes at once) and OK to keep the choice.
class TBridgeTool : public TGUIElement {
public:
    using TRoadList = std::vector<std::shared_ptr<TRoad>>;

    static std::shared_ptr<TBridgeTool> Create(const std::shared_ptr<TGUI>& gui, float buttonRadius, float viewRadius);
    // The world's bridge choice: the road pieces just built.
    void startTool(const TRoadList& pieces);
    // The world's report of removed roads: a removed piece of the current bridge ends the choice.
    void roadRemoved(const TRoadList& pieces);
    void callNext();
    void callPrv();
    void callOk();
    void endTool() { callOk(); }
    void Redraw();
    static int32_t _callNext(void* tool);
    static int32_t _callPrv(void* tool);
    static int32_t _callOk(void* tool);
    // Draws the short bridge of the current kind about the preview's centre.
    static std::shared_ptr<void> _drawPreview(vesko::TCFunc& content, float cx, float cy);

    std::shared_ptr<TGUI> gui;
    std::shared_ptr<TGUIGadget> viewGadget;
    std::shared_ptr<vesko::TCPicture> viewGadgetBorderLayer;
    std::shared_ptr<vesko::TCGroup> viewGadgetImageLayer, viewGadgetTextLayer;
    float buttonRadius = 20, viewGadgetRadius = 70;
    std::shared_ptr<TGUIGadget> cmdNext, cmdPrv, cmdOk;
    std::shared_ptr<TStreet> currentStreet;
    TRoadList currentBridge;
    int32_t currentBridgeKind = 0;
    int32_t countBridgeKinds = 0;

private:
    void generate(const std::shared_ptr<TGUI>& gui, float buttonRadius, float viewRadius);
    bool _bridgeAble() const;
    void _useBridge();
    void _redrawPreview();
    void _drawText(const std::string& text);
};

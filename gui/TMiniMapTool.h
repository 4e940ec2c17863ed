#pragma once
#include <cstdint>
#include <memory>

#include "gui/TGUIElement.h"
#include "platform/TKeyMap.h"

class TGUI;
class TLayer;
struct TGameCommands;

// The minimap window: the world's minimap inside its diamond outline, with round buttons at
// the corners of its box: move (bottom left, the panel's position), zoom in (top left), zoom
// out (bottom right) and a resize handle (top right) that sets the width between the first
// width and twice that. Touching the map moves the camera there.
class TMiniMapTool : public TGUIElement {
public:
    static constexpr float startWidth = 200.0f;
    static constexpr int32_t zoomInKey = KEY_PLUS;
    static constexpr int32_t zoomOutKey = KEY_MINUS;

    static std::shared_ptr<TMiniMapTool> Create(const std::shared_ptr<TGUI>& gui, float r,
                                                const std::shared_ptr<TLayer>& layer, const TGameCommands& game);
    void Update();
    // Draws the map with its box's top left at (x, y) and moves the camera to a touched point.
    void _drawMap(float x, float y);
    // Width and height of the map box.
    float MapWidth() const { return mapWidth; }
    float MapHeight() const { return mapWidth * aspect; }

    std::shared_ptr<TGUIGadget> cmdMove, cmdZoomIn, cmdZoomOut, cmdResize, mapGadget;
    std::shared_ptr<TLayer> layer;
    float mapWidth = startWidth;
    float aspect = 0.5f;

private:
    void _placeCorners();
    bool touching = false;
    float touchX = 0, touchY = 0;
};

#include "plugins/TStreetPlugin.h"

#include <algorithm>

#include "platform/TImage.h"
#include "platform/TNumberText.h"

namespace {

// Street, traffic light and bridge pictures stand with their lower tile half on the tile.
void AnchorOnTile(TImage& image) {
    image.SetHandle(0.0f, static_cast<float>(image.height) - 0.5f * static_cast<float>(TPlugin::TileHeight()));
}

uint8_t Percent(const std::string& text) { return std::min<uint8_t>(TNumberText::ToByte(text), 100); }

}  // namespace

std::shared_ptr<TPlugin> TStreetPlugin::_Load(const std::shared_ptr<TPluginReader>& readerPtr, int32_t scope) {
    if (!readerPtr) return nullptr;
    const TPluginReader& reader = *readerPtr;
    std::shared_ptr<TStreetPlugin> p = std::make_shared<TStreetPlugin>();

    p->Name = reader.GetField("name", scope, "unnamed street");
    p->id = reader.GetField("id", scope);
    if (!_IdIsFree(p->id)) return nullptr;

    p->level = TNumberText::ToByte(reader.GetField("level", scope, "0"));
    p->price = TNumberText::ToFloat(reader.GetField("price", scope, "0"));

    const std::string imageName = reader.GetField("image", scope);
    p->image = _LoadStrip(imageName, streetFrames, TileWidth(), TileHeight());
    if (!p->image) {
        pluginErrorDetail = "Straßen-Bilddatei konnte nicht geladen werden! (" + imageName + ")";
        return nullptr;
    }
    AnchorOnTile(*p->image);

    p->trafficLightsImg = _LoadStrip(reader.GetField("trafficlights", scope), trafficLightFrames, TileWidth());
    if (p->trafficLightsImg) AnchorOnTile(*p->trafficLightsImg);

    for (const std::string& name : SplitList(reader.GetField("bridge images", scope))) {
        std::shared_ptr<TImage> bridge = _LoadStrip(name, bridgeFrames, TileWidth());
        if (!bridge) continue;
        AnchorOnTile(*bridge);
        p->bridgeImages.push_back(bridge);
    }
    // Names and heights pair with the bridge images in the order they loaded.
    const std::vector<std::string> names = SplitList(reader.GetField("bridge names", scope));
    const std::vector<std::string> heights = SplitList(reader.GetField("bridge heights", scope, "0"));
    for (size_t k = 0; k < p->bridgeImages.size(); ++k) {
        p->bridgeNames.push_back(k < names.size() ? names[k] : "unnamed bridge");
        p->bridgeHeights.push_back(k < heights.size() ? TNumberText::ToByte(heights[k]) : 0);
    }

    p->maxBridgeLength = TNumberText::ToInt(reader.GetField("max bridge length", scope));
    p->bridgePrice = TNumberText::ToFloat(reader.GetField("bridge price", scope));
    p->carSpeed = TNumberText::ToFloat(reader.GetField("car speed", scope));

    p->nearWater = TNumberText::ToByte(reader.GetField("near water", scope));
    if (p->nearWater == 0) p->nearWater = p->bridgeImages.empty() ? 0 : 1;

    p->airPollutionValue = Percent(reader.GetField("air pollution value", scope));
    p->airPollutionRadius = Percent(reader.GetField("air pollution radius", scope));
    p->noiseValue = Percent(reader.GetField("noise value", scope));
    p->noiseRadius = Percent(reader.GetField("noise radius", scope));

    if (streetFactory) {
        p->street = streetFactory(p);
        if (!p->street) return nullptr;
    }
    _add(p);
    return p;
}

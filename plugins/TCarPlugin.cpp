#include "plugins/TCarPlugin.h"

#include "platform/TCharset.h"
#include "platform/TImage.h"
#include "platform/TNumberText.h"
#include "plugins/TCarVehicle.h"

std::shared_ptr<TPlugin> TCarPlugin::_Load(const std::shared_ptr<TPluginReader>& readerPtr, int32_t scope) {
    if (!readerPtr) return nullptr;
    const TPluginReader& reader = *readerPtr;
    std::shared_ptr<TCarPlugin> p = std::make_shared<TCarPlugin>();

    p->Name = reader.GetField("name", scope);
    p->id = reader.GetField("id", scope);
    if (!_IdIsFree(p->id)) return nullptr;

    const std::string images = reader.GetField("images", scope);
    for (const std::string& name : SplitList(images)) {
        std::shared_ptr<TImage> car = _LoadStrip(name, carFrames, TileWidth());
        if (!car) continue;
        car->SetHandle(0.0f, static_cast<float>(car->height) - 0.5f * static_cast<float>(TileHeight()));
        p->image.push_back(car);
    }
    if (p->image.empty()) {
        pluginErrorDetail = "Autobild(er) konnte(n) nicht geladen werden! (" + images + ")";
        return nullptr;
    }

    for (const std::string& entry : SplitList(reader.GetField("levels", scope, defaultLevels))) {
        const int32_t level = TNumberText::ToInt(entry);
        if (level >= 1 && level <= static_cast<int32_t>(p->techLevel.size())) p->techLevel[level - 1] = 1;
    }

    uint8_t* const flags[] = {&p->bSTGround,
                              &p->bSTPublicPark,
                              &p->bSTRoad,
                              &p->bSTResidentalBuilding,
                              &p->bSTCommercialBuilding,
                              &p->bSTIndustrialBuilding,
                              &p->bSTPublicBuilding,
                              &p->bSTAward,
                              &p->bSTWater};
    for (const std::string& kind : SplitList(TCharset::ToLower(reader.GetField("kinds", scope, defaultKinds)))) {
        // Names are not trimmed: " road" is no structure type.
        const int32_t t = TCarVehicle::StructureTypeIndex(kind);
        if (t >= 0) *flags[t] = 1;
    }

    p->carVehicle = TCarVehicle::createFromPlugin(*p);
    if (!p->carVehicle) return nullptr;
    _add(p);
    return p;
}

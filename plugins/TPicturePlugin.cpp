#include "plugins/TPicturePlugin.h"

#include <algorithm>
#include <cmath>

#include "platform/TCharset.h"
#include "platform/TImage.h"
#include "platform/TNumberText.h"
#include "plugins/TCarVehicle.h"
#include "plugins/TInfluenceContainer.h"
#include "plugins/TInfluenceMask.h"

namespace {

int32_t Int(const std::string& text) { return TNumberText::ToInt(text); }

// "deco_" before the file name, not before a folder the name may start with.
std::string Prefixed(const std::string& prefix, const std::string& name) {
    return TPlugin::_GetPath(name) + prefix + TPlugin::_GetFileName(name);
}

}  // namespace

std::shared_ptr<TPlugin> TPicturePlugin::_Load(const std::shared_ptr<TPluginReader>& readerPtr, int32_t scope) {
    if (!readerPtr) return nullptr;
    const TPluginReader& reader = *readerPtr;
    std::shared_ptr<TPicturePlugin> p = std::make_shared<TPicturePlugin>();

    p->title = reader.GetTitle();
    p->author = reader.GetAuthor();
    p->homepage = reader.GetHomepage();
    p->id = reader.getID(scope, 0);
    if (!_IdIsFree(p->id)) return nullptr;

    p->plugintyp = reader.GetPluginTyp(scope);
    p->SetStructure(TCharset::ToLower(reader.GetStructureTyp(scope)));
    p->Name = reader.GetName(scope);

    p->techlevel = std::clamp(Int(reader.GetTechLevel(scope)), 1, countTechLevels);
    p->price = Int(reader.GetPrice(scope));
    p->alimony = Int(reader.GetField("alimony", scope, "0"));
    p->Height = Int(reader.getHeight(scope));
    p->population = Int(reader.GetPopulation(scope));
    p->workername = reader.GetField("worker name", scope);
    p->workerpic = _LoadStrip(reader.GetField("worker pic", scope), 1);
    if (p->workerpic) p->workerpic->MidHandle();
    p->maxcars = Int(reader.GetMaxCars(scope));

    p->animframes = std::max(Int(reader.GetAnimFrames(scope)), 1);
    p->animspeed = TNumberText::ToFloat(reader.GetAnimSpeed(scope));
    if (!(p->animspeed > 0.0f)) p->animspeed = default_AnimSpeed;
    p->decoanimframes = std::max(Int(reader.GetDecoAnimFrames(scope)), 0);
    p->decoanimspeed = TNumberText::ToFloat(reader.GetDecoAnimSpeed(scope));
    if (!(p->decoanimspeed > 0.0f)) p->decoanimspeed = dafault_DecoAnimSpeed;

    p->airpollution = Int(reader.GetAirPollution(scope));
    p->waterpollution = Int(reader.GetWaterPollution(scope));
    p->radiuspollution = Int(reader.GetRadiusPollution(scope));

    for (const std::string& entry : SplitList(reader.GetSmokeHandlerId(scope))) {
        p->smokehandlerid.push_back(entry.empty() ? -1 : Int(entry));
    }
    for (const std::string& entry : SplitList(reader.GetSmokeHandlerX(scope))) p->smokehandlerx.push_back(Int(entry));
    for (const std::string& entry : SplitList(reader.GetSmokeHandlerY(scope))) p->smokehandlery.push_back(Int(entry));
    for (const std::string& entry : SplitList(reader.GetSmokeHandlerGesch(scope))) {
        p->smokehandlergeschw.push_back(Int(entry));
    }

    p->noroadneeded = Int(reader.GetNoRoadNeeded(scope));

    std::string lastPicture;
    p->_LoadPictures(reader, scope, lastPicture);
    if (!p->picture[0]) {
        pluginErrorDetail = "Es konnte kein Primärbild geladen werden! (" + reader.getPicture(scope, 0) + ")";
        return nullptr;
    }

    p->decoframes = std::max(Int(reader.GetDecoFrames(scope)), 0);
    if (p->decoframes > 0) p->deco = p->_LoadDeco(DecoPrefix, "deco.png", lastPicture, p->decoframes);
    if (p->decoanimframes > 0) {
        p->decoanim = p->_LoadDeco(DecoAnimPrefix, "decoanim.png", lastPicture, p->decoanimframes);
    }

    p->influences = reader.GetInfluenceContainer(scope);
    p->influenceMask = p->getInfluenceMask();
    p->defaultInfluenceMask = p->influenceMask->Copy(0);

    p->constructionTime = std::fabs(TNumberText::ToFloat(reader.GetField("construction time", scope, "30")));
    p->carIds = SplitList(reader.GetField("car ids", scope));

    _add(p);
    return p;
}

void TPicturePlugin::_LoadPictures(const TPluginReader& reader, int32_t scope, std::string& lastPicture) {
    const float tileW = static_cast<float>(TileWidth());
    const float tileH = static_cast<float>(TileHeight());
    const bool groundOrWater = !IsBuilding();
    for (int32_t i = 0; i < countPictures; ++i) {
        _id[i] = reader.getID(scope, i);
        const std::string file = reader.getPicture(scope, i);
        std::shared_ptr<TImage> image = _LoadStrip(file, animframes);
        if (!image) continue;
        picture[i] = image;
        SizeX[i] = Int(reader.getSizeX(scope, i));
        SizeY[i] = Int(reader.getSizeY(scope, i));
        // Every picture stands on the footprint of the first, measured from the first picture's size.
        const float baseW = picture[0] ? static_cast<float>(picture[0]->width) : 0.0f;
        const float baseH = picture[0] ? static_cast<float>(picture[0]->height) : 0.0f;
        image->SetHandle(baseW * 0.5f - static_cast<float>(SizeX[i]) * 0.5f * tileW,
                         baseH - static_cast<float>(SizeY[i]) * 0.5f * tileH);
        // The second and third picture of ground and water are overlays placed on the tile's top corner.
        if (groundOrWater && (i == 1 || i == 2)) image->SetHandle(0.0f, 0.5f * tileH);
        lastPicture = file;
    }
    const float reference = static_cast<float>(SizeX[0] + SizeY[0]) * 0.25f;
    mxpos.fill(reference);
    mypos.fill(reference);
}

std::shared_ptr<TImage> TPicturePlugin::_LoadDeco(const std::string& prefix, const std::string& fallback,
                                                  const std::string& lastPicture, int32_t frames) const {
    const int32_t w = picture[0]->width;
    const int32_t h = picture[0]->height;
    std::shared_ptr<TImage> image = _LoadStrip(Prefixed(prefix, lastPicture), frames, w, h);
    if (!image) image = _LoadStrip(fallback, frames, w, h);
    if (image) {
        image->SetHandle(
            static_cast<float>(image->width) * 0.5f -
                static_cast<float>(SizeX[0]) * 0.5f * static_cast<float>(TileWidth()),
            static_cast<float>(image->height) - static_cast<float>(SizeY[0]) * 0.5f * static_cast<float>(TileHeight()));
    }
    return image;
}

namespace {

std::shared_ptr<TInfluenceMask> BuildingMask(uint8_t air, uint8_t water, uint8_t noise) {
    return TInfluenceMask::CreateFromValues(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, air, water, noise, 1);
}

}  // namespace

void TPicturePlugin::Init() {
    // Residents of higher levels tolerate less air pollution and noise; work places do not mind.
    static constexpr std::array<uint8_t, countTechLevels> residentialTolerance = {100, 80, 50, 30, 10};
    for (int32_t level = 0; level < countTechLevels; ++level) {
        residentialMasks[level] = BuildingMask(residentialTolerance[level], 100, residentialTolerance[level]);
        commercialMasks[level] = BuildingMask(100, 100, 100);
        industrialMasks[level] = BuildingMask(100, 100, 100);
    }
}

const std::array<std::shared_ptr<TInfluenceMask>, TPicturePlugin::countTechLevels>& TPicturePlugin::ResidentialMasks() {
    if (!residentialMasks[0]) Init();
    return residentialMasks;
}

const std::array<std::shared_ptr<TInfluenceMask>, TPicturePlugin::countTechLevels>& TPicturePlugin::CommercialMasks() {
    if (!commercialMasks[0]) Init();
    return commercialMasks;
}

const std::array<std::shared_ptr<TInfluenceMask>, TPicturePlugin::countTechLevels>& TPicturePlugin::IndustrialMasks() {
    if (!industrialMasks[0]) Init();
    return industrialMasks;
}

std::shared_ptr<TInfluenceMask> TPicturePlugin::getInfluenceMask() const {
    const size_t level = static_cast<size_t>(std::clamp(techlevel, 1, countTechLevels) - 1);
    std::shared_ptr<TInfluenceMask> table;
    if (structure == TStructure::Residential) table = ResidentialMasks()[level];
    if (structure == TStructure::Commercial) table = CommercialMasks()[level];
    if (structure == TStructure::Industrial) table = IndustrialMasks()[level];
    if (table) {
        // The level's table sets the nuisances a building bears; the services it asks for come
        // from its record ("water needed" and so on, 0 when the record names none).
        TInfluenceMask::TValues needed = table->neededValue;
        // The first twelve kinds are services, the last three nuisances.
        constexpr size_t countServices = 12;
        if (influences) {
            for (size_t k = 0; k < countServices; ++k) needed[k] = influences->neededInfluenceValue[k];
        }
        return TInfluenceMask::Create(needed, 1);
    }
    if (influences) return influences->GetInfluenceMask();
    return TInfluenceMask::Create({}, 1);
}

void TPicturePlugin::_add(const std::shared_ptr<TPlugin>& plugin) {
    const std::shared_ptr<TPicturePlugin> picture = std::dynamic_pointer_cast<TPicturePlugin>(plugin);
    if (picture && picture->isCorrect()) TPlugin::_add(picture);
}

bool TPicturePlugin::HasSmokeEmitter(size_t k) const {
    return k < smokehandlerid.size() && smokehandlerid[k] >= 0 && k < smokehandlerx.size() &&
           k < smokehandlery.size() && k < smokehandlergeschw.size();
}

void TPicturePlugin::SetStructure(const std::string& typ) {
    structuretyp = typ;
    structure = StructureOf(typ);
}

TPicturePlugin::TStructure TPicturePlugin::StructureOf(const std::string& typ) {
    static const std::pair<const char*, TStructure> names[] = {
        {"ground", TStructure::Ground},
        {"water", TStructure::Water},
        {"residentalbuilding", TStructure::Residential},
        {"commercialbuilding", TStructure::Commercial},
        {"industrialbuilding", TStructure::Industrial},
        {"publicbuilding", TStructure::Public},
        {"publicpark", TStructure::Park},
        {"award", TStructure::Award},
    };
    for (const auto& [name, kind] : names) {
        if (typ == name) return kind;
    }
    return TStructure::Other;
}

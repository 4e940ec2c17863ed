#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plugins/TPlugin.h"

class TCarVehicle;
class TImage;
class TInfluenceContainer;
class TInfluenceMask;

// A plugin drawn from pictures: ground and water tiles, buildings, parks and awards.
class TPicturePlugin : public TPlugin {
public:
    static inline const std::string YesNoPrefix = "yesno_";
    static inline const std::string CarPrefix = "car_";
    static inline const std::string DecoPrefix = "deco_";
    static inline const std::string DecoAnimPrefix = "decoanim_";
    static constexpr float default_AnimSpeed = 0.125f;
    static constexpr float dafault_DecoAnimSpeed = 0.125f;
    static constexpr int32_t countPictures = 4;
    static constexpr int32_t countTechLevels = 5;

    // What a plugin is, read once from its "structuretyp" (kept as read, lower case).
    enum class TStructure { Other, Ground, Water, Residential, Commercial, Industrial, Public, Park, Award };
    std::string structuretyp;
    TStructure structure = TStructure::Other;
    // Sets the type as read and the kind it names.
    void SetStructure(const std::string& typ);
    static TStructure StructureOf(const std::string& typ);
    // A building of the map (not ground or water).
    bool IsBuilding() const { return structure != TStructure::Ground && structure != TStructure::Water; }
    std::array<std::string, countPictures> _id;
    std::array<std::shared_ptr<TImage>, countPictures> picture;
    std::array<int32_t, countPictures> SizeX{};
    std::array<int32_t, countPictures> SizeY{};
    std::array<float, countPictures> mxpos{};
    std::array<float, countPictures> mypos{};
    std::vector<std::string> carIds;
    std::vector<std::shared_ptr<TCarVehicle>> car;
    std::shared_ptr<TImage> deco;
    std::shared_ptr<TImage> decoanim;
    std::string Name;
    int32_t techlevel = 1;
    int32_t price = 0;
    int32_t alimony = 0;
    int32_t Height = 0;
    int32_t population = 0;
    std::string workername;
    std::shared_ptr<TImage> workerpic;
    int32_t maxcars = 0;
    int32_t animframes = 1;
    float animspeed = default_AnimSpeed;
    int32_t decoanimframes = 0;
    float decoanimspeed = dafault_DecoAnimSpeed;
    int32_t airpollution = 0;
    int32_t waterpollution = 0;
    int32_t radiuspollution = 0;
    std::vector<int32_t> smokehandlerid;
    std::vector<int32_t> smokehandlerx;
    std::vector<int32_t> smokehandlery;
    std::vector<int32_t> smokehandlergeschw;
    int32_t noroadneeded = 0;
    int32_t decoframes = 0;
    float minwater = 0.0f;
    float maxwater = 0.0f;
    std::shared_ptr<TInfluenceContainer> influences;
    std::shared_ptr<TInfluenceMask> influenceMask;
    std::shared_ptr<TInfluenceMask> defaultInfluenceMask;
    float constructionTime = 0.0f;

    // Reads one picture record; registers and returns it, or returns null with the error detail set.
    static std::shared_ptr<TPlugin> _Load(const std::shared_ptr<TPluginReader>& reader, int32_t scope);
    // Builds the default influence masks of the three building types.
    static void Init();
    // The default mask of a building type at this tech level; for other types the mask of the
    // record's own needed values.
    std::shared_ptr<TInfluenceMask> getInfluenceMask() const;
    static void _add(const std::shared_ptr<TPlugin>& plugin);
    bool isCorrect() const { return true; }

    // Whether smoke emitter k exists: an id of at least 0 and an entry k in the x, y and speed lists.
    bool HasSmokeEmitter(size_t k) const;

    // The default masks per tech level (index level - 1); built by Init, or on first use.
    static const std::array<std::shared_ptr<TInfluenceMask>, countTechLevels>& ResidentialMasks();
    static const std::array<std::shared_ptr<TInfluenceMask>, countTechLevels>& CommercialMasks();
    static const std::array<std::shared_ptr<TInfluenceMask>, countTechLevels>& IndustrialMasks();

private:
    void _LoadPictures(const TPluginReader& reader, int32_t scope, std::string& lastPicture);
    std::shared_ptr<TImage> _LoadDeco(const std::string& prefix, const std::string& fallback,
                                      const std::string& lastPicture, int32_t frames) const;

    static inline std::array<std::shared_ptr<TInfluenceMask>, countTechLevels> residentialMasks;
    static inline std::array<std::shared_ptr<TInfluenceMask>, countTechLevels> commercialMasks;
    static inline std::array<std::shared_ptr<TInfluenceMask>, countTechLevels> industrialMasks;
};

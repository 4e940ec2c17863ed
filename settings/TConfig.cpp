#include "settings/TConfig.h"

#include "plugins/TPluginReader.h"
#include "settings/TSettingsFiles.h"

int32_t TConfig::ReadIn(const std::string& folder) {
    std::shared_ptr<TPluginReader> reader = TPluginReader::read(folder + "/vallmora.cfg");
    if (!reader) return 0;
    const TPluginReader& r = *reader;
    TSettingsFiles::ReadInt(r, "tilewidth", tilewidth);
    TSettingsFiles::ReadInt(r, "tileheight", tileheight);
    TSettingsFiles::ReadInt(r, "scrollspeed", scrollspeed);
    TSettingsFiles::ReadInt(r, "tree percentage", treePercentage);
    TSettingsFiles::ReadFloat(r, "particleeffect smoke speedy min", smokeSpeedYMin);
    TSettingsFiles::ReadFloat(r, "particleeffect smoke speedy max", smokeSpeedYMax);
    TSettingsFiles::ReadTruncatedFloat(r, "particleeffect smoke max frames", smokeMaxFrames);
    TSettingsFiles::ReadFloat(r, "particleeffect smoke startvariation x min", smokeStartVariationXMin);
    TSettingsFiles::ReadFloat(r, "particleeffect smoke startvariation x max", smokeStartVariationXMax);
    TSettingsFiles::ReadFloat(r, "particleeffect smoke variation x min", smokeVariationXMin);
    TSettingsFiles::ReadFloat(r, "particleeffect smoke variation x max", smokeVariationXMax);
    TSettingsFiles::ReadFloat(r, "particleeffect smoke change frame speed min", smokeChangeFrameSpeedMin);
    TSettingsFiles::ReadFloat(r, "particleeffect smoke change frame speed max", smokeChangeFrameSpeedMax);
    TSettingsFiles::ReadInt(r, "wind", wind);
    TSettingsFiles::ReadInt(r, "wind_dir", windDir);
    TSettingsFiles::ReadInt(r, "wind_dir_timer_min", windDirTimerMin);
    TSettingsFiles::ReadInt(r, "wind_dir_timer_max", windDirTimerMax);
    TSettingsFiles::ReadFloat(r, "wind_power_max", windPowerMax);
    TSettingsFiles::ReadInt(r, "wind_power_timer_min", windPowerTimerMin);
    TSettingsFiles::ReadInt(r, "wind_power_timer_max", windPowerTimerMax);
    TSettingsFiles::ReadFloat(r, "water_min_speed", waterMinSpeed);
    TSettingsFiles::ReadFloat(r, "water_max_speed", waterMaxSpeed);
    TSettingsFiles::ReadInt(r, "water_timer_imagechangemin", waterTimerImageChangeMin);
    TSettingsFiles::ReadInt(r, "water_timer_imagechangemax", waterTimerImageChangeMax);
    TSettingsFiles::ReadInt(r, "water_generatetimermin", waterGenerateTimerMin);
    TSettingsFiles::ReadInt(r, "water_generatetimermax", waterGenerateTimerMax);
    TSettingsFiles::ReadInt(r, "water_tile_timer_imagechangemin", waterTileTimerImageChangeMin);
    TSettingsFiles::ReadInt(r, "water_tile_timer_imagechangemax", waterTileTimerImageChangeMax);
    TSettingsFiles::ReadFloat(r, "water_texture01_speed", waterTexture01Speed);
    TSettingsFiles::ReadFloat(r, "water_texture02_speed", waterTexture02Speed);
    TSettingsFiles::ReadFloat(r, "minimap_alpha", minimapAlpha);
    TSettingsFiles::ReadInt(r, "minimap_screenborderwidth", minimapScreenBorderWidth);
    TSettingsFiles::ReadInt(r, "minimap_screenbordercolorr", minimapScreenBorderColorR);
    TSettingsFiles::ReadInt(r, "minimap_screenbordercolorg", minimapScreenBorderColorG);
    TSettingsFiles::ReadInt(r, "minimap_screenbordercolorb", minimapScreenBorderColorB);
    _Clamp();
    return 0;
}

void TConfig::_Clamp() {
    const std::string file = "vallmora.cfg";
    // Tile sizes are divided by and halved all over the world; below 2 they break the projection.
    TSettingsFiles::ReplaceInt(file, "tilewidth", tilewidth, 2, maxTileSize, 32);
    TSettingsFiles::ReplaceInt(file, "tileheight", tileheight, 2, maxTileSize, 16);
    // Smoke images are cut into this many frames.
    TSettingsFiles::ClampInt(file, "particleeffect smoke max frames", smokeMaxFrames, 1, 1024);
}

void TConfig::SetDefaults() {
    tilewidth = 32;
    tileheight = 16;
    scrollspeed = 16;
    treePercentage = 10;
    smokeSpeedYMin = 0.25f;
    smokeSpeedYMax = 0.7f;
    smokeMaxFrames = 8;
    smokeStartVariationXMin = 2.0f;
    smokeStartVariationXMax = 4.0f;
    smokeVariationXMin = 0.015f;
    smokeVariationXMax = 0.1f;
    smokeChangeFrameSpeedMin = 0.03f;
    smokeChangeFrameSpeedMax = 0.07f;
    wind = 1;
    windDir = 3;
    windDirTimerMin = 120000;
    windDirTimerMax = 360000;
    windPowerMax = 3.0f;
    windPowerTimerMin = 30000;
    windPowerTimerMax = 90000;
    waterMinSpeed = 0.3f;
    waterMaxSpeed = 0.4f;
    waterTimerImageChangeMin = 250;
    waterTimerImageChangeMax = 1000;
    waterGenerateTimerMin = 4000;
    waterGenerateTimerMax = 10000;
    waterTileTimerImageChangeMin = 1000;
    waterTileTimerImageChangeMax = 10000;
    waterTexture01Speed = 0.4f;
    waterTexture02Speed = 0.26f;
    minimapAlpha = 0.99f;
    minimapScreenBorderWidth = 4;
    minimapScreenBorderColorR = 155;
    minimapScreenBorderColorG = 155;
    minimapScreenBorderColorB = 155;
}

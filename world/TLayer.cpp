#include "world/TLayer.h"

#include "app/TSettingsFiles.h"
#include "platform/TImage.h"
#include "plugins/TPlugin.h"

void TLayer::LoadSettings() { TSettingsFiles::LoadSettings("cfg"); }

int32_t TLayer::SaveGagdgetSettings() { return TSettingsFiles::SaveGagdgetSettings("cfg"); }

void TLayer::Prepare(TProgressFunc::Function progressFunc, void* progressObj) {
    // Tile pictures are loaded masked but unfiltered so that tiles join without seams.
    AutoImageFlags(MASKEDIMAGE);
    TPlugin::ReadIn("data/plugins", progressFunc, progressObj);
    AutoImageFlags(MASKEDIMAGE | FILTEREDIMAGE);
}

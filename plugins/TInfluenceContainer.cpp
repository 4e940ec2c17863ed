#include "plugins/TInfluenceContainer.h"

#include <string>

#include "platform/TNumberText.h"
#include "plugins/TInfluenceMask.h"
#include "plugins/TPluginReader.h"

std::shared_ptr<TInfluenceContainer> TInfluenceContainer::ReadFromPluginReader(const TPluginReader& reader,
                                                                               int32_t scope) {
    std::shared_ptr<TInfluenceContainer> container = std::make_shared<TInfluenceContainer>();
    for (int32_t k = 0; k < countInfluences; ++k) {
        const std::string prefix = std::string(influenceNames[k]) + std::string(infPlaceholder);
        container->influenceValue[k] =
            TNumberText::ToByte(reader.GetField(prefix + std::string(infValueSuffix), scope));
        container->influenceRadius[k] =
            TNumberText::ToByte(reader.GetField(prefix + std::string(infRadiusSuffix), scope));
        container->neededInfluenceValue[k] =
            TNumberText::ToByte(reader.GetField(prefix + std::string(infNeededSuffix), scope));
    }
    return container;
}

std::shared_ptr<TInfluenceMask> TInfluenceContainer::GetInfluenceMask() const {
    return TInfluenceMask::Create(neededInfluenceValue, 1);
}

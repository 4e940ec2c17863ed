#include "settings/TGadgetConfig.h"

#include "platform/TNumberText.h"

std::shared_ptr<TGadgetConfig> TGadgetConfig::Create(const std::string& name, float x, float y, float width,
                                                     float height, int32_t visible) {
    std::shared_ptr<TGadgetConfig> config = std::make_shared<TGadgetConfig>();
    config->_fieldname = name;
    config->Set(x, y, width, height);
    config->setVisible(visible);
    return config;
}

void TGadgetConfig::SetX(float x, float width) {
    if (width != 0.0f) _x = x / width;
}

void TGadgetConfig::SetY(float y, float height) {
    if (height != 0.0f) _y = y / height;
}

void TGadgetConfig::Set(float x, float y, float width, float height) {
    SetX(x, width);
    SetY(y, height);
}

void TGadgetConfig::Get(float& x, float& y, float width, float height) const {
    x = GetX(width);
    y = GetY(height);
}

void TGadgetConfig::reLoadFromPluginReader(const TPluginReader& reader, int32_t scope) {
    _x = TNumberText::ToFloat(reader.GetField(_Key(field_x), scope, TNumberText::FromFloat(_x)));
    _y = TNumberText::ToFloat(reader.GetField(_Key(field_y), scope, TNumberText::FromFloat(_y)));
    _vis = TNumberText::TruncToInt(
        TNumberText::ToFloat(reader.GetField(_Key(field_visibile), scope, TNumberText::FromInt(_vis))));
}

void TGadgetConfig::writeToPluginReader(TPluginReader& reader, int32_t scope) const {
    reader.WriteField(_Key(field_x), scope, TNumberText::FromFloat(_x));
    reader.WriteField(_Key(field_y), scope, TNumberText::FromFloat(_y));
    reader.WriteField(_Key(field_visibile), scope, TNumberText::FromInt(_vis));
}

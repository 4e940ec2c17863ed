#include "settings/TSettingsFiles.h"

#include "platform/TNumberText.h"
#include "platform/TStream.h"
#include "settings/TConfig.h"
#include "settings/TGadgets.h"
#include "settings/TSettings.h"

void TSettingsFiles::LoadSettings(const std::string& folder) {
    TConfig::ReadIn(folder);
    TSettings::ReadIn(folder);
    TGadgets::ReadIn(folder);
}

int32_t TSettingsFiles::SaveGagdgetSettings(const std::string& folder) { return TGadgets::Save(folder); }

void TSettingsFiles::ReadInt(const TPluginReader& reader, const std::string& key, int32_t& value) {
    value = TNumberText::ToInt(reader.GetField(key, 0, TNumberText::FromInt(value)));
}

void TSettingsFiles::ReadFloat(const TPluginReader& reader, const std::string& key, float& value) {
    value = TNumberText::ToFloat(reader.GetField(key, 0, TNumberText::FromFloat(value)));
}

void TSettingsFiles::ReadString(const TPluginReader& reader, const std::string& key, std::string& value) {
    value = reader.GetField(key, 0, value);
}

void TSettingsFiles::ReadTruncatedFloat(const TPluginReader& reader, const std::string& key, int32_t& value) {
    value = TNumberText::TruncToInt(TNumberText::ToFloat(reader.GetField(key, 0, TNumberText::FromInt(value))));
}

void TSettingsFiles::ReadWholeNumber(const TPluginReader& reader, const std::string& key, float& value) {
    value = static_cast<float>(TNumberText::ToInt(reader.GetField(key, 0, TNumberText::FromFloat(value))));
}

void TSettingsFiles::ReportReplaced(const std::string& file, const std::string& key, const std::string& oldValue,
                                    const std::string& newValue) {
    Print(file + ": \"" + key + "\" = " + oldValue + " is out of range, using " + newValue);
}

void TSettingsFiles::ClampInt(const std::string& file, const std::string& key, int32_t& value, int32_t low,
                              int32_t high) {
    if (value < low) ReplaceInt(file, key, value, low, high, low);
    if (value > high) ReplaceInt(file, key, value, low, high, high);
}

void TSettingsFiles::ReplaceInt(const std::string& file, const std::string& key, int32_t& value, int32_t low,
                                int32_t high, int32_t replacement) {
    if (value >= low && value <= high) return;
    ReportReplaced(file, key, TNumberText::FromInt(value), TNumberText::FromInt(replacement));
    value = replacement;
}

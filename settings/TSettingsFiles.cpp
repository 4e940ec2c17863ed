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

int32_t TSettingsFiles::SaveValues(const std::string& path,
                                   const std::vector<std::pair<std::string, std::string>>& values) {
    std::string bytes;
    if (!LoadBytes(path, bytes)) return 0;
    // Lines with their own endings (LF or CR LF), so untouched lines are written back as they were.
    std::vector<std::string> lines;
    for (size_t from = 0; from < bytes.size();) {
        const size_t end = bytes.find('\n', from);
        const size_t next = end == std::string::npos ? bytes.size() : end + 1;
        lines.push_back(bytes.substr(from, next - from));
        from = next;
    }
    auto text = [](const std::string& line) {
        size_t n = line.size();
        while (n > 0 && (line[n - 1] == '\n' || line[n - 1] == '\r')) --n;
        return line.substr(0, n);
    };
    const std::string ending = !lines.empty() && text(lines[0]).size() + 2 == lines[0].size() ? "\r\n" : "\n";
    for (const auto& [key, value] : values) {
        bool found = false;
        for (size_t i = 0; i + 1 < lines.size() && !found; ++i) {
            // "- key", also written without the blank or with blanks after the key.
            std::string name = text(lines[i]);
            if (name.empty() || name[0] != '-') continue;
            name.erase(0, name.find_first_not_of(' ', 1));
            name.erase(name.find_last_not_of(' ') + 1);
            if (name != key) continue;
            const std::string& old = lines[i + 1];
            lines[i + 1] = value + old.substr(text(old).size());
            found = true;
        }
        if (found) continue;
        if (!lines.empty() && lines.back().back() != '\n') lines.back() += ending;
        lines.push_back("- " + key + ending);
        lines.push_back(value + ending);
    }
    auto out = TStream::WriteFile(path);
    if (!out) return 0;
    for (const auto& line : lines) out->WriteString(line);
    return out->Close() ? 1 : 0;
}

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

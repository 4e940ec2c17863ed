#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TInfluenceContainer;

// The scoped key/value text format of plugin and settings files, held as lines in memory.
//
// Files are 8-bit: a line ends at LF or NUL, every CR is dropped, each byte is one ISO-8859-1
// character (UTF-8 in memory). Written lines end in CR LF. A line ">" opens a scope and "<"
// closes it; scope 0 is everything before the first ">". A field is a key line starting with
// "-" (key at column 2 or 3, compared without letter case) followed by its value line.
class TPluginReader {
public:
    // Files larger than this are refused, so a stray huge file cannot exhaust memory.
    static constexpr size_t maxFileBytes = 16u * 1024u * 1024u;
    // Lines beyond this count are dropped (a file of NUL bytes would otherwise cost 32 bytes per byte).
    static constexpr size_t maxLines = 1000000u;

    std::vector<std::string> line;

    // Reads the file; null when it cannot be opened (or is too large). An empty file gives no lines.
    static std::shared_ptr<TPluginReader> read(const std::string& path);
    static std::shared_ptr<TPluginReader> Create();
    // Splits raw file bytes into lines (the reading half of read()); *cut tells whether lines were
    // dropped beyond maxLines.
    static std::shared_ptr<TPluginReader> FromBytes(std::string_view bytes, bool* cut = nullptr);
    // The bytes Write() puts into a file: every line in 8 bits followed by CR LF.
    std::string ToBytes() const;

    // Creates or replaces the file; 1 on success, 0 when it cannot be written. The old file stays
    // untouched unless everything was written.
    int32_t Write(const std::string& path) const;

    std::string GetField(const std::string& key, int32_t scope, const std::string& defaultValue = "") const;
    // Inserts "- " + key and value into the scope (added when missing); 1 on success, 0 when the
    // scope markers are out of order. Existing fields of the same key are not looked for.
    int32_t WriteField(const std::string& key, int32_t scope, const std::string& value);
    // Number of ">" lines, or -1 when a ">" comes inside a scope or a "<" outside one.
    int32_t CountScopes() const;
    // Appends n pairs of lines ">", "<"; returns the number of pairs appended.
    int32_t AddScope(int32_t n);

    std::string GetTitle() const { return GetField("title", 0); }
    std::string GetAuthor() const { return GetField("author", 0); }
    std::string GetHomepage() const { return GetField("homepage", 0); }
    std::string GetPluginTyp(int32_t scope) const { return GetField("plugintyp", scope); }
    std::string GetStructureTyp(int32_t scope) const { return GetField("structuretyp", scope); }
    // i = 0 ... 3 selects "id1" ... "id4" (likewise the picture and size keys).
    std::string getID(int32_t scope, int32_t i) const { return GetField("id" + std::to_string(i + 1), scope); }
    std::string getPicture(int32_t scope, int32_t i) const {
        return GetField("picture" + std::to_string(i + 1), scope);
    }
    std::string getSizeX(int32_t scope, int32_t i) const { return GetField("Size-x" + std::to_string(i + 1), scope); }
    std::string getSizeY(int32_t scope, int32_t i) const { return GetField("Size-y" + std::to_string(i + 1), scope); }
    std::string GetName(int32_t scope) const { return GetField("name", scope); }
    std::string GetTechLevel(int32_t scope) const { return GetField("techlevel", scope); }
    std::string GetPrice(int32_t scope) const { return GetField("price", scope); }
    std::string getHeight(int32_t scope) const { return GetField("height", scope); }
    std::string GetPopulation(int32_t scope) const { return GetField("population", scope); }
    std::string GetMaxCars(int32_t scope) const { return GetField("max. cars", scope); }
    std::string GetYesNo(int32_t scope) const { return GetField("yes/no", scope); }
    std::string GetAnimFrames(int32_t scope) const { return GetField("anim frames", scope); }
    std::string GetAnimSpeed(int32_t scope) const { return GetField("anim speed", scope); }
    std::string GetDecoAnimFrames(int32_t scope) const { return GetField("deco anim frames", scope); }
    std::string GetDecoAnimSpeed(int32_t scope) const { return GetField("deco anim speed", scope); }
    std::string GetAirPollution(int32_t scope) const { return GetField("airpollution", scope); }
    std::string GetWaterPollution(int32_t scope) const { return GetField("waterpollution", scope); }
    std::string GetRadiusPollution(int32_t scope) const { return GetField("radius pollution", scope); }
    std::string GetSmokeHandlerId(int32_t scope) const { return GetField("smoke handler id", scope, "-1"); }
    std::string GetSmokeHandlerX(int32_t scope) const { return GetField("smoke handler x", scope); }
    std::string GetSmokeHandlerY(int32_t scope) const { return GetField("smoke handler y", scope); }
    std::string GetSmokeHandlerGesch(int32_t scope) const { return GetField("smoke handler geschw", scope); }
    std::string GetNoRoadNeeded(int32_t scope) const { return GetField("no road needed", scope); }
    std::string GetDecoFrames(int32_t scope) const { return GetField("deco frames", scope); }
    // The 45 influence keys of the scope (TInfluenceContainer::ReadFromPluginReader).
    std::shared_ptr<TInfluenceContainer> GetInfluenceContainer(int32_t scope) const;

private:
    // Whether a key line names the (already folded) key: key + " " found at character 1, 2 or 3
    // of line + " ".
    static bool _KeyLineMatches(const std::string& keyLine, const std::vector<uint32_t>& foldedKey);
};

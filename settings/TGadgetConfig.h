#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "plugins/TPluginReader.h"

// Where one GUI panel stands (as fractions of the screen size) and whether it is shown;
// one record of cfg/gadgets.cfg.
class TGadgetConfig {
public:
    static inline const std::string field_x = "xpos";
    static inline const std::string field_y = "ypos";
    static inline const std::string field_visibile = "visible";
    static inline const std::string field_separator = " ";

    std::string _fieldname;
    float _x = 0.0f;
    float _y = 0.0f;
    int32_t _vis = 0;

    static std::shared_ptr<TGadgetConfig> Create(const std::string& name, float x, float y, float width, float height,
                                                 int32_t visible);

    // A width or height of 0 leaves the fraction unchanged instead of storing infinity.
    void SetX(float x, float width);
    void SetY(float y, float height);
    void Set(float x, float y, float width, float height);
    float GetX(float width) const { return _x * width; }
    float GetY(float height) const { return _y * height; }
    void Get(float& x, float& y, float width, float height) const;
    void setVisible(int32_t visible) { _vis = visible; }
    int32_t isVisible() const { return _vis; }

    // Keys are _fieldname + " " + field name; the current values are the defaults.
    void reLoadFromPluginReader(const TPluginReader& reader, int32_t scope);
    void writeToPluginReader(TPluginReader& reader, int32_t scope) const;

private:
    std::string _Key(const std::string& field) const { return _fieldname + field_separator + field; }
};

#pragma once
#include <array>
#include <memory>

namespace vesko {

// A colour with red, green, blue (0 … 255) and alpha (0 … 1), kept as doubles.
class TCRGBA {
public:
    static std::shared_ptr<TCRGBA> Create(double r, double g, double b, double alpha);
    void Set(double r, double g, double b, double alpha);
    void SetColor(double r, double g, double b);
    void SetAlpha(double alpha) { vec[3] = alpha; }
    double getRed() const { return vec[0]; }
    double getGreen() const { return vec[1]; }
    double getBlue() const { return vec[2]; }
    double GetAlpha() const { return vec[3]; }
    std::shared_ptr<TCRGBA> Copy() const;
    // Sets the drawing colour (components truncated) when useColor is nonzero and the
    // drawing alpha when useAlpha is nonzero.
    void Use(int useColor = 1, int useAlpha = 1) const;

    std::array<double, 4> vec{255.0, 255.0, 255.0, 1.0};
};

}  // namespace vesko

#pragma once
#include <array>
#include <cstdint>
#include <memory>

namespace vesko {

// A colour with red, green, blue (0 … 255) and alpha (0 … 1), kept as doubles.
class TCRGBA {
public:
    static std::shared_ptr<TCRGBA> Create(double r, double g, double b, double alpha);
    void Set(double r, double g, double b, double alpha);
    void Get(double& r, double& g, double& b, double& alpha) const;
    void setRed(double r) { vec[0] = r; }
    void setGreen(double g) { vec[1] = g; }
    void setBlue(double b) { vec[2] = b; }
    void SetColor(double r, double g, double b);
    void SetAlpha(double alpha) { vec[3] = alpha; }
    double getRed() const { return vec[0]; }
    double getGreen() const { return vec[1]; }
    double getBlue() const { return vec[2]; }
    double GetAlpha() const { return vec[3]; }
    std::shared_ptr<TCRGBA> Copy() const;

    // Component-wise arithmetic with another colour; colour components wrap to a byte.
    std::shared_ptr<TCRGBA> add(const TCRGBA& other) const;
    std::shared_ptr<TCRGBA> sub(const TCRGBA& other) const;
    std::shared_ptr<TCRGBA> multiple(const TCRGBA& other) const;
    // A new colour: alpha = f(alpha, other alpha), each component the byte of Int(f(c, other c)).
    std::shared_ptr<TCRGBA> gen(const TCRGBA& other, double (*f)(double, double)) const;

    // Sets the drawing colour (components truncated) when useColor is nonzero and the
    // drawing alpha when useAlpha is nonzero.
    void Use(int useColor = 1, int useAlpha = 1) const;

    // Packed pixels; colour bytes are the low 8 bits of the truncated components, the alpha
    // byte is Int(alpha × 255).
    uint32_t ConvertToRGBA8888() const;
    uint32_t ConvertToBGRA8888() const;
    uint32_t ConvertToRGB888() const;
    uint32_t ConvertToBGR888() const;
    uint8_t ConvertToI8() const;
    uint8_t ConvertToA8() const;
    // Reads pixels stored byte by byte in the named order; the 24-bit forms keep alpha.
    void ConvertFromRGBA8888(const uint8_t* bytes);
    void ConvertFromBGRA8888(const uint8_t* bytes);
    void ConvertFromRGB888(const uint8_t* bytes);
    void ConvertFromBGR888(const uint8_t* bytes);
    void ConvertFromI8(uint8_t value);
    void ConvertFromA8(uint8_t value);

    std::array<double, 4> vec{255.0, 255.0, 255.0, 1.0};

private:
    uint32_t _byte(int i) const;
    uint32_t _alphaByte() const;
};

}  // namespace vesko

#pragma once
#include "tools/TColor.h"

// The colours every interface picture is drawn from, so the families stay consistent.
namespace TArtPalette {
constexpr TColor Ink = TColor::Hex(0x2B3442);       // outlines and dark symbol parts
constexpr TColor Slate = TColor::Hex(0x4A5668);     // neutral dark symbols
constexpr TColor Steel = TColor::Hex(0x8E99A8);     // metal, neutral mid grey
constexpr TColor Cloud = TColor::Hex(0xE9EDF2);     // light neutral surfaces
constexpr TColor Paper = TColor::Hex(0xFBFCFD);     // whites
constexpr TColor Sky = TColor::Hex(0x3E8EDE);       // primary blue (commercial, water, info)
constexpr TColor DeepBlue = TColor::Hex(0x2D5DB3);  // police, save
constexpr TColor Leaf = TColor::Hex(0x5BB85D);      // residential green, ok
constexpr TColor Pine = TColor::Hex(0x2E8B45);      // parks and trees
constexpr TColor Trunk = TColor::Hex(0x8A5A34);     // wood
constexpr TColor Sun = TColor::Hex(0xF6C333);       // industry yellow, energy
constexpr TColor Gold = TColor::Hex(0xF2B01E);      // award
constexpr TColor Orange = TColor::Hex(0xF07F2A);    // fire, warnings
constexpr TColor Tomato = TColor::Hex(0xE04B3C);    // close, destroy, medic
constexpr TColor Violet = TColor::Hex(0x8E5CC7);    // culture, education
constexpr TColor Teal = TColor::Hex(0x2FA5A0);      // radio, slow speed
constexpr TColor Smog = TColor::Hex(0x8C8174);      // pollution
constexpr TColor Mud = TColor::Hex(0x8C7A3A);       // dirty water
constexpr TColor Asphalt = TColor::Hex(0x6B7079);   // asphalt
constexpr TColor Brick = TColor::Hex(0xC8553D);     // roofs
constexpr TColor Bridge = TColor::Hex(0xA0683A);    // bridge borders
}  // namespace TArtPalette

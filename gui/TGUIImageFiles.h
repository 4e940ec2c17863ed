#pragma once
#include <memory>
#include <string>
#include <vector>

#include "gui/TGUI.h"

class TImage;

// The interface pictures under data/gfx/gui, listed once: the shell loads them from this table
// and the art generator's tests check that each is generated and committed.
namespace TGUIImageFiles {

// A data name (TPaths::Resolve).
inline const std::string Folder = "data/gfx/gui/";
inline const std::string FontFile = "font.ttf";
inline const std::string MouseFile = "mouse.png";
inline const std::string FingerLightFile = "fingerLight.png";
inline const std::string StartLogoFile = "startlogo.jpg";
inline const std::string TooltipFile = "tooltip.png";
inline const std::string SmileysFile = "smileys.png";

struct TSingleImage {
    std::shared_ptr<TImage> TGUI::*field;
    const char* file;
};

// Pictures of one frame each, with the TGUI field they fill.
const std::vector<TSingleImage>& Singles();

// Where a file of the folder is.
std::string Path(const std::string& file);

// The tech-level button picture for level index i (0 … 5).
std::string TechLevelFile(size_t i);

// Every picture file the shell loads from the folder (the font excluded).
std::vector<std::string> All();

}  // namespace TGUIImageFiles

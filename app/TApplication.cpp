#include "app/TApplication.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "app/TBlendOutFilter.h"
#include "app/TEventReceiver.h"
#include "app/TFPSCounter.h"
#include "app/TMenu.h"
#include "app/TSoundDirector.h"
#include "framework/TMultiTouch.h"
#include "framework/TCPicture.h"
#include "framework/TCText.h"
#include "gui/TGUI.h"
#include "gui/TGUIGadget.h"
#include "gui/TGUIImageFiles.h"
#include "gui/TImageRect.h"
#include "platform/TImageAtlas.h"
#include "platform/TCatalogue.h"
#include "platform/TCharset.h"
#include "platform/TClock.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "platform/TImageFont.h"
#include "platform/TInterfaceSpace.h"
#include "platform/TPaths.h"
#include "platform/TScreenSpace.h"
#include "platform/TStream.h"
#include "platform/TTimer.h"
#include "settings/TSettings.h"
#include "settings/TSettingsFiles.h"
#include "world/TLayer.h"

namespace {
std::string FontPath() { return TGUIImageFiles::Path(TGUIImageFiles::FontFile); }

std::shared_ptr<TImage> LoadMidHandled(const std::string& path) {
    auto img = TImage::Load(path);
    if (img) img->MidHandle();
    return img;
}
}  // namespace

std::shared_ptr<TApplication> TApplication::Create() {
    auto app = std::make_shared<TApplication>();
    if (!app->generate()) return nullptr;
    return app;
}

TApplication::~TApplication() { Stop(); }

int32_t TApplication::generate() {
    event = TEventReceiver::Create();
    SetMaskColor(255, 0, 255);
    mouseImg = TImage::LoadAnim(TGUIImageFiles::Path(TGUIImageFiles::MouseFile), 32, 32, 0, 3);
    if (mouseImg) mouseImg->MidHandle();
    menu = TMenu::Create(this);
    appName = "Vallmora - The 2D Iso Cityprojekt";
    FPS = TFPSCounter::Create();
    infoFont = TImageFont::Load(FontPath(), 12, SMOOTHFONT, TInterfaceSpace::Factor());
    fingerLightImg = LoadMidHandled(TGUIImageFiles::Path(TGUIImageFiles::FingerLightFile));
    seed = Millisecs();
    random = vesko::TFastRandom::Create(seed);
    currentFilterList.clear();
    return 1;
}

TGraphicsDriver TApplication::DriverFromName(const std::string& name) {
    std::string lower;
    for (char c : name) lower.push_back((c >= 'A' && c <= 'Z') ? char(c + 32) : c);
    if (lower == "dx7") return TGraphicsDriver::D3D7;
    if (lower == "dx9") return TGraphicsDriver::D3D9;
    if (lower == "ogl") return TGraphicsDriver::OpenGL;
    return TGraphicsDriver::D3D9;
}

void TApplication::Init() {
    TLayer::LoadSettings();
    // Every panel is built after this, in the language options.cfg names.
    TCatalogue::Use(TSettings::Language);
    Driver = DriverFromName(TSettings::graphicsDriverName);
    xmax = TSettings::ResolutionHorizontal;
    ymax = TSettings::ResolutionVertical;
    // Full screen ("Graphic-Mode" 1) is a window over the whole display, as F11 makes it
    // (InitWindow), so the window keeps the size options.cfg gives it for when it leaves.
    depth = 0;
    savedWidth = xmax;
    savedHeight = ymax;
    timer = TTimer::Create(TSettings::TargetFPS);
    Sync = -1;
    // Panels and their texts sit on whole pixels, so thin lines and glyphs stay sharp.
    vesko::TCPicture::setUseIntPosition(true);
    vesko::TCText::setUseIntPosition(true);
}

void TApplication::Deinit() {
    timer.reset();
    vesko::TCPicture::setUseIntPosition(false);
    vesko::TCText::setUseIntPosition(false);
}

bool TApplication::InitWindow() {
    TGraphics::AppTitle(appName);
    TGraphics::SetGraphicsDriver(Driver);
    if (!TGraphics::Graphics(xmax, ymax, depth, 60, 0)) return false;
    windowOpen = true;
    if (TSettings::GraphicMode == 1) TGraphics::SetFullscreen(true);
    TGraphics::HideMouse();
    SetBlend(ALPHABLEND);
    SetClsColor(0, 0, 0);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    SetTransform(0, 1, 1);
    wantedInterfaceFactor = InterfaceFactor(TSettings::UIScale, TGraphics::DisplayDPI());
    _fitInterface();
    vesko::TMultiTouch::Init(1, 1, 0);
    sound = TSoundDirector::Open();
    TGUIGadget::fired = {_clicked, this};
    return true;
}

void TApplication::_clicked(void* context) {
    auto* app = static_cast<TApplication*>(context);
    if (app && app->sound) app->sound->Interface(TSoundDirector::Click);
}

float TApplication::InterfaceFactor(float configured, float dpi) {
    if (configured > 0.0f) return configured;
    // A quarter step nearest to the display's density against the usual 96 dots per inch.
    const float factor = dpi > 0.0f ? std::clamp(std::round(dpi / 96.0f * 4.0f) / 4.0f, TInterfaceSpace::minFactor,
                                                 TInterfaceSpace::maxFactor)
                                    : 1.0f;
    char line[96];
    if (dpi > 0.0f) {
        std::snprintf(line, sizeof line, "UI scale from the display (%.0f dpi): %g", double(dpi), double(factor));
    } else {
        std::snprintf(line, sizeof line, "UI scale from the display (its density is unknown): %g", double(factor));
    }
    Print(line);
    return factor;
}

void TApplication::DeInitWindow() {
    if (!windowOpen) return;
    windowOpen = false;
    TGUIGadget::fired = {};
    sound.reset();
    vesko::TMultiTouch::Deinit();
    TGraphics::ShowMouse();
    TGraphics::EndGraphics();
}

void TApplication::loadResources(int32_t withLoadingScreen) {
    if (withLoadingScreen) {
        prepareLoadingScreen();
        TLayer::Prepare(_drawLoadingScreen, this);
        releaseLoadingScreen();
    } else {
        TLayer::Prepare(nullptr, nullptr);
    }
    _prepareGUI();
}

void TApplication::run() { menu->run(); }

void TApplication::Stop() {
    if (stopped) return;
    stopped = true;
    if (menu) menu->Close();
    saveWindowSize();
    Deinit();
    DeInitWindow();
}

void TApplication::prepareLoadingScreen() {
    loadingTitleImg = TImage::Load(TGUIImageFiles::Path(TGUIImageFiles::StartLogoFile));
}

void TApplication::releaseLoadingScreen() { loadingTitleImg.reset(); }

void TApplication::_drawLoadingScreen(void* context, const std::string& text) {
    if (auto* app = static_cast<TApplication*>(context)) app->drawLoadingScreen(text);
}

void TApplication::drawLoadingScreen(const std::string& text) {
    TScreenSpace screen;
    Cls();
    // Pulses between alpha 0.5 and 1.0 with a period of 1440 ms (cosine in degrees).
    const double degrees = 0.25 * double(Millisecs());
    SetAlpha(static_cast<float>(0.75 + 0.25 * std::cos(degrees * M_PI / 180.0)));
    SetColor(255, 255, 255);
    DrawImageRect(loadingTitleImg, 0, 0, float(xmax), float(ymax), 0);
    {
        TInterfaceSpace units;
        SetAlpha(0.2f);
        SetColor(255, 255, 255);
        SetImageFont(infoFont);
        DrawText(text, 0, float(TInterfaceSpace::Height()) - TextHeight(text));
    }
    render(1, 0, 0, 1, 1, 0);
}

void TApplication::render(int32_t updateInputs, int32_t drawPointers, int32_t waitTimer, int32_t drawGamma,
                          int32_t drawFilters, int32_t drawInfo) {
    // The shell's overlays lie over the whole window, whatever zoom the world left set; texts and
    // pointers are part of the interface and take its scale.
    TScreenSpace screen;
    {
        TInterfaceSpace units;
        if (drawInfo) _showVersionAndFPS();
        if (drawPointers) {
            _renderFingerLights();
            _drawMouse(TInterfaceSpace::ToUnits(float(event->MouseX())), TInterfaceSpace::ToUnits(float(event->MouseY())));
        }
    }
    if (drawFilters) _renderFilter();
    if (drawGamma) _renderGamma();
    Flip(Sync);
    if (waitTimer && timer) timer->Wait();
    FPS->Update();
    if (updateInputs) _updateInputs();
    applyWindowSize();
    _applyInterfaceScale();
}

bool TApplication::applyWindowSize() {
    int32_t w = 0, h = 0;
    if (!event || !event->TakeWindowSize(w, h) || (w == xmax && h == ymax)) return false;
    if (!TGraphics::ResizeGraphics(w, h)) return false;
    xmax = w;
    ymax = h;
    // TSettings follows the window (its size only while it is a window), so the settings panel
    // shows what the player sees.
    TSettings::GraphicMode = TGraphics::IsFullscreen() ? 1 : 2;
    if (!TGraphics::IsFullscreen()) {
        TSettings::ResolutionHorizontal = w;
        TSettings::ResolutionVertical = h;
    }
    _fitInterface();
    ++sizeGeneration;
    return true;
}

void TApplication::saveWindowSize() {
    // Only a size the player chose counts (a program that opens its own window size does not).
    // TSettings holds the window's last size as a window (a size chosen in the settings panel is
    // already in the file, and full screen keeps the window's size).
    if (!windowOpen || sizeGeneration == 0) return;
    const int32_t w = TSettings::ResolutionHorizontal, h = TSettings::ResolutionVertical;
    if (w == savedWidth && h == savedHeight) return;
    const std::string options = TPaths::Config("options.cfg");
    if (!TSettingsFiles::SaveValues(options, {{"Resolution horizontal", std::to_string(w)},
                                              {"Resolution vertical", std::to_string(h)}})) {
        Print("The window size could not be written to " + options);
        return;
    }
    savedWidth = w;
    savedHeight = h;
}

void TApplication::applySetting(const std::string& key) {
    if (key == "Resolution horizontal" || key == "Resolution vertical") {
        savedWidth = TSettings::ResolutionHorizontal;
        savedHeight = TSettings::ResolutionVertical;
        TGraphics::SetWindowSize(savedWidth, savedHeight);
    } else if (key == "Graphic-Mode") {
        TGraphics::SetFullscreen(TSettings::GraphicMode == 1);
    } else if (key == "UI scale") {
        interfaceScaleChanged = true;
    } else if (key == "Language") {
        TCatalogue::Use(TSettings::Language);
    }
}

void TApplication::_applySetting(void* context, const std::string& key) {
    if (auto* app = static_cast<TApplication*>(context)) app->applySetting(key);
}

TSettingsCommands TApplication::SettingsCommands() {
    TSettingsCommands c;
    c.context = this;
    c.changed = _applySetting;
    return c;
}

void TApplication::_applyInterfaceScale() {
    if (!interfaceScaleChanged) return;
    interfaceScaleChanged = false;
    wantedInterfaceFactor = InterfaceFactor(TSettings::UIScale, TGraphics::DisplayDPI());
    const float before = TInterfaceSpace::Factor();
    _fitInterface();
    if (TInterfaceSpace::Factor() != before) ++sizeGeneration;
}

void TApplication::writeToStdOut(const std::string& line) {
    if (stdOut.size() >= maxStdOutLines) stdOut.erase(stdOut.begin());
    stdOut.push_back(line);
}

std::shared_ptr<TPixmap> TApplication::getPixmap() { return GrabPixmap(0, 0, xmax, ymax); }

void TApplication::addFilter(const std::shared_ptr<TRenderFilter>& filter) {
    if (filter) currentFilterList.push_back(filter);
}

void TApplication::_updateInputs() { event->Update(); }

void TApplication::_showVersionAndFPS() {
    SetImageFont(infoFont);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    if (TSettings::ShowFPSAndVersion) {
        DrawText("Unreleased Version, current FPS: " + std::to_string(static_cast<int32_t>(FPS->getFPS())), 0, 0);
    }
    if (TSettings::ShowDebugInfo && !stdOut.empty()) {
        const float h = TextHeight("");
        DrawText("Stdout: " + stdOut[0], 0, h);
        const float indent = TextWidth("Stdout: ");
        for (size_t i = 1; i < stdOut.size(); ++i) DrawText(stdOut[i], indent, h * float(i + 1));
        stdOut.clear();
    }
}

void TApplication::_renderFingerLights() {
    if (!TSettings::drawFingerLights) return;
    SetAlpha(0.5f);
    SetColor(255, 255, 255);
    SetBlend(LIGHTBLEND);
    for (const auto& tp : event->TouchPoints()) {
        if (tp) DrawImage(fingerLightImg, tp->GetX(), tp->GetY(), 0);
    }
    SetBlend(ALPHABLEND);
}

void TApplication::_drawMouse(float fx, float fy) {
    if (TSettings::drawMouseShadow) {
        SetAlpha(0.15f);
        SetColor(0, 0, 0);
        const std::pair<float, float> shadow[] = {{1, 1}, {1, 0}, {1, 2}, {0, 1}, {2, 1}};
        for (const auto& [dx, dy] : shadow) DrawImage(mouseImg, fx + dx, fy + dy, mouseFrame);
    }
    SetAlpha(1.0f);
    SetColor(255, 255, 255);
    DrawImage(mouseImg, fx, fy, mouseFrame);
    mouseFrame = MouseFrame_Default;
}

void TApplication::_renderFilter() {
    // Walk a copy: a filter's game function may add filters.
    const std::vector<std::shared_ptr<TRenderFilter>> filters = currentFilterList;
    for (const auto& f : filters) {
        f->Draw();
        if (!f->IsValid()) {
            f->onDelete();
            std::erase(currentFilterList, f);
        }
    }
}

void TApplication::_renderGamma() {
    const int32_t g = TSettings::Gamma;
    if (g == 0) return;
    if (g > 0) {
        SetColor(g, g, g);
        SetBlend(LIGHTBLEND);
    } else {
        SetColor(255 + g, 255 + g, 255 + g);
        SetBlend(SHADEBLEND);
    }
    SetAlpha(1.0f);
    DrawRect(0, 0, float(xmax), float(ymax));
    SetBlend(ALPHABLEND);
}

void TApplication::_prepareGUI() {
    gui = TGUI::Create(TInterfaceSpace::Width(), TInterfaceSpace::Height());
    TGUIGadget::Init(gui);
    _LoadGUIFonts();
    _LoadGUIImages();
    _SetGuiTextColors();
    _PrepareTooltips();
    _PackGUIImages();
}

void TApplication::_PackGUIImages() {
    // One texture for all interface pictures: a panel of buttons and icons is then one batch.
    std::vector<std::shared_ptr<TImage>> images;
    for (const TGUIImageFiles::TSingleImage& s : TGUIImageFiles::Singles()) images.push_back((*gui).*s.field);
    images.insert(images.end(), gui->techlevelImg.begin(), gui->techlevelImg.end());
    if (const auto& frame = TGUIGadget::TooltipStyle().image) {
        images.insert(images.end(), frame->Cells().begin(), frame->Cells().end());
    }
    // The fonts' glyph sheet too (its Latin-1 glyphs are rendered by now), so that a label beside
    // an icon does not break the batch. A glyph added later moves the sheet back to a texture of
    // its own.
    if (gui->DefaultFont) images.push_back(gui->DefaultFont->Atlas());
    TImageAtlas::Pack(images);
}

void TApplication::_fitInterface() {
    const float factor = TInterfaceSpace::FactorFor(wantedInterfaceFactor, xmax, ymax);
    if (factor == TInterfaceSpace::Factor()) return;
    TInterfaceSpace::SetFactor(factor);
    // Texts stay sharp: every font is rasterised again for the new factor.
    std::vector<std::shared_ptr<TImageFont>> fonts{infoFont};
    if (gui) fonts.insert(fonts.end(), {gui->smallFont, gui->DefaultFont, gui->bigFont, gui->largeFont});
    for (const auto& font : fonts) {
        if (font) font->SetRasterScale(factor);
    }
}

void TApplication::_LoadGUIFonts() {
    const float k = TInterfaceSpace::Factor();
    gui->smallFont = TImageFont::Load(FontPath(), 12, SMOOTHFONT, k);
    gui->DefaultFont = TImageFont::Load(FontPath(), 14, SMOOTHFONT, k);
    gui->bigFont = TImageFont::Load(FontPath(), 18, SMOOTHFONT, k);
    gui->largeFont = TImageFont::Load(FontPath(), 32, SMOOTHFONT, k);
}

void TApplication::_LoadGUIImages() {
    namespace F = TGUIImageFiles;
    for (const F::TSingleImage& s : F::Singles()) (*gui).*s.field = TImage::Load(F::Path(s.file));
    for (size_t i = 0; i < gui->techlevelImg.size(); ++i)
        gui->techlevelImg[i] = TImage::Load(F::Path(F::TechLevelFile(i)));
    gui->smileysImg = TImage::LoadAnim(F::Path(F::SmileysFile), 15, 15, 0, 5);
}

void TApplication::_SetGuiTextColors() {
    gui->textCol_default.Set(40, 40, 40, 1.0);
    gui->textCol_light.Set(40, 40, 40, 0.5);
    gui->textCol_dark.Set(0, 0, 0, 1.0);
    gui->textCol_red.Set(100, 40, 40, 1.0);
    gui->textCol_green.Set(40, 100, 40, 1.0);
    gui->textCol_yellow.Set(100, 100, 40, 1.0);
    gui->textCol_blue.Set(40, 40, 100, 1.0);
    gui->textCol_white.Set(255, 255, 255, 1.0);
}

void TApplication::_PrepareTooltips() {
    TGUIGadget::LoadToopTipImg(TGUIImageFiles::Path(TGUIImageFiles::TooltipFile));
    TGUIGadget::setToolTipAlpha(0.75f);
    TGUIGadget::SetToolTipAnimSpeed(1000);
    TGUIGadget::SetToolTipEnable(TSettings::ShowTooltips & 0xFF);
    TGUIGadget::SetToolTipAnimEnable(1);
    TGUIGadget::SetToolTipWaitTime(700);
    TGUIGadget::SetToolTipFont(gui->DefaultFont);
    TGUIGadget::setShowHover(TSettings::showGadgetHover);
}

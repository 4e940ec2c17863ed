#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/TCRGBA.h"
#include "gui/TGUIGadget.h"

class TImage;
class TImageFont;

namespace vesko {
class TCGroup;
class TCPicture;
class TCText;
class TTouchGUI;
class TTouchObject;
}  // namespace vesko

// A round preview window: its gadget, the picture layer of its coloured border and the
// picture layer of the item it shows (both without an image until one is set).
struct TPreviewWindow {
    std::shared_ptr<TGUIGadget> gadget;
    std::shared_ptr<vesko::TCPicture> colorLayer, imageLayer;
};

// The GUI's shared resources (fonts, interface images and text colours, filled by the shell),
// the root of the touch GUI and the builders of the buttons every panel is made of.
class TGUI {
public:
    static std::shared_ptr<TGUI> Create(int32_t w, int32_t h);
    void setTimeSpeed(float s) { timeSpeed = s; }

    // Touch GUI first, then escaping copies, hover colours and the tooltip.
    void drawAll(const std::vector<int32_t>& tooltipPos, const std::vector<std::string>& lines, const std::string& id);
    // Gadgets first, so a release the touch GUI records this frame fires in the next one.
    void updateAll(TGUIGadget::TKeyHits keyHits);
    void Update();
    void Draw();

    // A round button about (x, y): the image fitted into 2r × 2r, tinted per state, and a
    // circle of radius r that can be moved, scaled and turned as the switches say. Under the
    // parent's touch gadget, or at the top level without a parent.
    std::shared_ptr<TGUIGadget> AddRoundButton(float x, float y, float r, TGUIGadget* parent = nullptr,
                                               int32_t move = 0, int32_t scale = 0, int32_t rotation = 0,
                                               std::shared_ptr<TImage> image = nullptr);
    // A draggable round button of radius image width × 0.5 × scale showing the move icon.
    std::shared_ptr<TGUIGadget> AddMoveButton(float x, float y, TGUIGadget* parent = nullptr,
                                              std::shared_ptr<TImage> image = nullptr, float scale = 1.0f);
    // A panel's anchor: a draggable round button of radius r at the top level showing the move
    // icon with the tooltip "Verschieben"; the panel's other gadgets hang below it.
    std::shared_ptr<TGUIGadget> AddPanelAnchor(float r);
    // A rectangle from (x, y) to (x + w, y + h) showing the image stretched over it.
    std::shared_ptr<TGUIGadget> AddRectButton(float x, float y, float w, float h, TGUIGadget* parent = nullptr,
                                              std::shared_ptr<TImage> image = nullptr);
    // A bar centred on (x, y): the image (default the bar picture) stretched to w × h (its own
    // size where w or h is 0 or less), tinted per state like a round button, and a rectangle
    // of that size to touch.
    std::shared_ptr<TGUIGadget> AddBarButton(float x, float y, TGUIGadget* parent = nullptr,
                                             std::shared_ptr<TImage> image = nullptr, float w = 0, float h = 0);
    // A draggable round window of radius r about (x, y): the preview background, then the
    // border layer, then the item layer.
    TPreviewWindow addPreviewWindow(float x, float y, float r, TGUIGadget* parent = nullptr);
    // A round info bubble of radius r about (x, y) on the light preview disc; contents added to
    // the returned gadget's normal-state group are drawn on it.
    std::shared_ptr<TGUIGadget> addInfoWindow(float x, float y, float r, TGUIGadget* parent = nullptr);
    // The frame of the smiley strip for a value 0 … 1: 0 the saddest, 4 the happiest.
    int32_t getSmileyImgFrame(float value) const;
    // The group every state of a gadget draws (the face first), or null.
    static std::shared_ptr<vesko::TCGroup> StateGroup(const TGUIGadget& gadget, int32_t state);
    // The text when it is at most room wide in the font, else as many of its first characters as
    // fit followed by "…" (without a font, the text).
    static std::string FitText(const std::string& text, TImageFont* font, float room);
    // A text in the font and colour whose top left lies at (left, top) from where its group is drawn.
    static std::shared_ptr<vesko::TCText> PlacedText(const std::string& text, const std::shared_ptr<TImageFont>& font,
                                                     const vesko::TCRGBA& colour, float left, float top);
    // The font's line height; 0 without a font.
    static float FontHeight(const std::shared_ptr<TImageFont>& font);
    // The first of the fonts in which every text is at most room wide (the last one there is when
    // none is; null without any).
    static std::shared_ptr<TImageFont> FittingFont(const std::vector<std::shared_ptr<TImageFont>>& fonts,
                                                   const std::vector<std::string>& texts, float room);

    int32_t xmax = 0, ymax = 0;
    std::shared_ptr<vesko::TTouchGUI> root;

private:
    // A gadget of the given shape whose two states show the image fitted into w × h, tinted with
    // the active colours.
    std::shared_ptr<TGUIGadget> _AddFacedButton(float x, float y, TGUIGadget* parent,
                                                std::shared_ptr<vesko::TTouchObject> shape,
                                                const std::shared_ptr<TImage>& image, float w, float h,
                                                int32_t keepAspect);

public:
    float timeSpeed = 1.0f;
    std::array<vesko::TCRGBA, 2> activeColor;
    int32_t useInt = 1;

    std::shared_ptr<TImageFont> smallFont, DefaultFont, bigFont, largeFont;

    std::shared_ptr<TImage> moveImg, scaleImg, zoomInImg, zoomOutImg;
    std::array<std::shared_ptr<TImage>, 6> techlevelImg;
    std::shared_ptr<TImage> buttonCloseImg, buttonBuildImg, buttonViewImg, buttonSettingsImg, buttonExitImg;
    std::shared_ptr<TImage> buttonAwardImg, buttonComercialImg, buttonIndustrialImg, buttonParkImg, buttonPublicImg,
        buttonResidentalImg, buttonRoadRailImg;
    std::shared_ptr<TImage> buttonBulldozerImg, bulldozerImg, buttonChangeMinimapImg;
    std::shared_ptr<TImage> buttonLoadImg, buttonSaveImg, buttonOkImg, buttonLeftImg, buttonRightImg, buttonPhotoImg,
        buttonUndoImg;
    std::shared_ptr<TImage> speedPauseImg, speedSlowImg, speedDefaultImg, speedFastImg, speedVerryFastImg;
    std::shared_ptr<TImage> clockFaceImg, clockNeedleImg;
    std::shared_ptr<TImage> buttonHideResidentalImg, buttonHideComercialImg, buttonHideIndustrialImg, buttonHideParkImg,
        buttonHidePublicImg, buttonHideAwardImg, buttonHideForestImg, buttonHideCarsImg, buttonHideSmokeImg,
        buttonHideRCIImg;
    std::shared_ptr<TImage> buttonInfoImg, buttonInfluencesImg, buttonPeopleImg, buttonStatsImg;
    std::shared_ptr<TImage> buttonCenterMapImg, buttonInfoModeImg, buttonJumpToImg, buttonKeyboardImg;
    std::shared_ptr<TImage> buttonTaxesUp, buttonTaxesDown;
    std::shared_ptr<TImage> infWaterImg, infEnergyImg, infMedicImg, infReligionImg, infSportImg, infPoliceImg,
        infFireDepartmentImg, infCultureImg, infFreeTimeImg, infLearnImg, infRadioImg, infTVImg, infAirPollutionImg,
        infWaterPollutionImg, infNoiseImg;
    std::shared_ptr<TImage> buttonImg, button_BarImg, sidebarButtonImg, textfieldImg, circleImg, arcImg, previewImg;
    std::shared_ptr<TImage> preview_roadBorderImg, preview_greenBorderImg, preview_blueBorderImg,
        preview_yellowBorderImg, preview_greyBorderImg, preview_parkBorderImg, preview_destroyBorderImg,
        preview_bridgeBorderImg, preview_awardBorderImg;
    std::shared_ptr<TImage> tutorialToolImg, infoImg, smileysImg, levelUpImg;

    vesko::TCRGBA textCol_default, textCol_light, textCol_dark, textCol_red, textCol_green, textCol_yellow,
        textCol_blue, textCol_white;
};

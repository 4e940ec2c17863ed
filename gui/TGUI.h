#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "framework/TCRGBA.h"

class TImage;
class TImageFont;

// The GUI's shared resources: fonts, interface images and text colours, filled by the shell.
class TGUI {
public:
    static std::shared_ptr<TGUI> Create(int32_t w, int32_t h);
    void setTimeSpeed(float s) { timeSpeed = s; }

    int32_t xmax = 0, ymax = 0;
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
    std::shared_ptr<TImage> buttonLoadImg, buttonSaveImg, buttonOkImg, buttonLeftImg, buttonRightImg, buttonPhotoImg;
    std::shared_ptr<TImage> speedPauseImg, speedSlowImg, speedDefaultImg, speedFastImg, speedVerryFastImg;
    std::shared_ptr<TImage> clockFaceImg, clockNeedleImg;
    std::shared_ptr<TImage> buttonHideResidentalImg, buttonHideComercialImg, buttonHideIndustrialImg, buttonHideParkImg,
        buttonHidePublicImg, buttonHideAwardImg, buttonHideForestImg, buttonHideCarsImg, buttonHideSmokeImg,
        buttonHideRCIImg;
    std::shared_ptr<TImage> buttonInfoImg, buttonInfluencesImg, buttonPeopleImg;
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

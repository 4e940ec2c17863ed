#include "gui/TGUIImageFiles.h"

#include "platform/TPaths.h"

namespace TGUIImageFiles {

const std::vector<TSingleImage>& Singles() {
    static const std::vector<TSingleImage> singles = {
        {&TGUI::moveImg, "move.png"},
        {&TGUI::scaleImg, "scale.png"},
        {&TGUI::zoomInImg, "zoomIn.png"},
        {&TGUI::zoomOutImg, "zoomOut.png"},
        {&TGUI::buttonCloseImg, "button_close.png"},
        {&TGUI::buttonBuildImg, "build.png"},
        {&TGUI::buttonViewImg, "view.png"},
        {&TGUI::buttonSettingsImg, "settings.png"},
        {&TGUI::buttonExitImg, "button_exit.png"},
        {&TGUI::buttonAwardImg, "button_award.png"},
        {&TGUI::buttonComercialImg, "button_com.png"},
        {&TGUI::buttonIndustrialImg, "button_ind.png"},
        {&TGUI::buttonParkImg, "button_park.png"},
        {&TGUI::buttonPublicImg, "button_public.png"},
        {&TGUI::buttonResidentalImg, "button_res.png"},
        {&TGUI::buttonRoadRailImg, "button_road_rail.png"},
        {&TGUI::buttonBulldozerImg, "button_buldozer.png"},
        {&TGUI::bulldozerImg, "bulldozer.png"},
        {&TGUI::buttonChangeMinimapImg, "button_change_minimap.png"},
        {&TGUI::buttonLoadImg, "button_load.png"},
        {&TGUI::buttonSaveImg, "button_save.png"},
        {&TGUI::buttonOkImg, "button_ok.png"},
        {&TGUI::buttonLeftImg, "button_left.png"},
        {&TGUI::buttonUndoImg, "button_undo.png"},
        {&TGUI::buttonRightImg, "button_right.png"},
        {&TGUI::buttonPhotoImg, "button_photo.png"},
        {&TGUI::speedPauseImg, "speed_pause.png"},
        {&TGUI::speedSlowImg, "speed_slow.png"},
        {&TGUI::speedDefaultImg, "speed_default.png"},
        {&TGUI::speedFastImg, "speed_fast.png"},
        {&TGUI::speedVerryFastImg, "speed_verryfast.png"},
        {&TGUI::clockFaceImg, "clock_face.png"},
        {&TGUI::clockNeedleImg, "clock_needle.png"},
        {&TGUI::buttonHideResidentalImg, "hide_res.png"},
        {&TGUI::buttonHideComercialImg, "hide_com.png"},
        {&TGUI::buttonHideIndustrialImg, "hide_ind.png"},
        {&TGUI::buttonHideParkImg, "hide_park.png"},
        {&TGUI::buttonHidePublicImg, "hide_public.png"},
        {&TGUI::buttonHideAwardImg, "hide_award.png"},
        {&TGUI::buttonHideForestImg, "hide_forest.png"},
        {&TGUI::buttonHideCarsImg, "hide_cars.png"},
        {&TGUI::buttonHideSmokeImg, "hide_smoke.png"},
        {&TGUI::buttonHideRCIImg, "hide_rci.png"},
        {&TGUI::buttonInfoImg, "button_info.png"},
        {&TGUI::buttonInfluencesImg, "button_influences.png"},
        {&TGUI::buttonPeopleImg, "button_people.png"},
        {&TGUI::buttonStatsImg, "button_stats.png"},
        {&TGUI::buttonCenterMapImg, "button_centerMap.png"},
        {&TGUI::buttonInfoModeImg, "button_infoMode.png"},
        {&TGUI::buttonJumpToImg, "button_jumpTo.png"},
        {&TGUI::buttonKeyboardImg, "keyboard.png"},
        {&TGUI::buttonTaxesUp, "tax_up.png"},
        {&TGUI::buttonTaxesDown, "tax_down.png"},
        {&TGUI::infWaterImg, "infWater.png"},
        {&TGUI::infEnergyImg, "infEnergy.png"},
        {&TGUI::infMedicImg, "infMedic.png"},
        {&TGUI::infReligionImg, "infReligion.png"},
        {&TGUI::infSportImg, "infSport.png"},
        {&TGUI::infPoliceImg, "infPolice.png"},
        {&TGUI::infFireDepartmentImg, "infFireDepartment.png"},
        {&TGUI::infCultureImg, "infCulture.png"},
        {&TGUI::infFreeTimeImg, "infFreeTime.png"},
        {&TGUI::infLearnImg, "infLearn.png"},
        {&TGUI::infRadioImg, "infRadio.png"},
        {&TGUI::infTVImg, "infTV.png"},
        {&TGUI::infAirPollutionImg, "infAirPollution.png"},
        {&TGUI::infWaterPollutionImg, "infWaterPollution.png"},
        {&TGUI::infNoiseImg, "infNoise.png"},
        {&TGUI::buttonImg, "button.png"},
        {&TGUI::button_BarImg, "button_bar.png"},
        {&TGUI::sidebarButtonImg, "sidebarbutton.png"},
        {&TGUI::textfieldImg, "textfield.png"},
        {&TGUI::circleImg, "circle.png"},
        {&TGUI::arcImg, "arc.png"},
        {&TGUI::previewImg, "preview.png"},
        {&TGUI::preview_roadBorderImg, "preview_roadborder.png"},
        {&TGUI::preview_greenBorderImg, "preview_greenborder.png"},
        {&TGUI::preview_blueBorderImg, "preview_blueborder.png"},
        {&TGUI::preview_yellowBorderImg, "preview_yellowborder.png"},
        {&TGUI::preview_greyBorderImg, "preview_greyborder.png"},
        {&TGUI::preview_parkBorderImg, "preview_parkborder.png"},
        {&TGUI::preview_destroyBorderImg, "preview_destroyborder.png"},
        {&TGUI::preview_bridgeBorderImg, "preview_bridgeborder.png"},
        {&TGUI::preview_awardBorderImg, "preview_awardborder.png"},
        {&TGUI::tutorialToolImg, "tut.png"},
        {&TGUI::infoImg, "info.png"},
        {&TGUI::levelUpImg, "lvl_up.png"},
    };
    return singles;
}

std::string Path(const std::string& file) { return TPaths::Resolve(Folder + file); }

std::string TechLevelFile(size_t i) { return "button_level_" + std::to_string(i + 1) + ".png"; }

std::vector<std::string> All() {
    std::vector<std::string> files;
    for (const TSingleImage& s : Singles()) files.push_back(s.file);
    for (size_t i = 0; i < std::tuple_size_v<decltype(TGUI::techlevelImg)>; ++i) files.push_back(TechLevelFile(i));
    for (const std::string* f : {&SmileysFile, &TooltipFile, &MouseFile, &FingerLightFile, &StartLogoFile})
        files.push_back(*f);
    return files;
}

}  // namespace TGUIImageFiles

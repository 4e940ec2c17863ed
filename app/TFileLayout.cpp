#include "app/TFileLayout.h"

#include <ostream>

#include "platform/TStream.h"
#include "settings/TSettingsFolder.h"

bool TFileLayout::ForGame(const TPaths::TSituation& situation) {
    TPaths::TPlaces places = TPaths::Find(situation);
    if (!places.missing.empty()) {
        Print(places.missing);
        return false;
    }
    Print(TPaths::Describe(places, situation.workingFolder));
    if (places.layout == TPaths::TLayout::Installed) {
        const std::string shipped = TPaths::ShippedConfig(places);
        const std::string settingsProblem = TPaths::MakeWritable(places.config);
        if (settingsProblem.empty()) {
            TSettingsFolder::Prepare(places.config, shipped);
        } else {
            // Writing is still tried where the settings belong: it fails and says so, and nothing is
            // ever written into the installation.
            places.settingsRead = shipped;
            Print("Settings folder " + places.config + " cannot be written (" + settingsProblem +
                  "): the shipped settings in " + shipped + " are used and changes are not kept");
        }
        const std::string userProblem = TPaths::MakeWritable(places.user);
        if (!userProblem.empty()) {
            Print("Folder for saved cities and screenshots " + places.user + " cannot be written (" + userProblem +
                  "): cities and screenshots cannot be saved");
        }
    }
    TPaths::Use(places);
    return true;
}

bool TFileLayout::ForSimulator(const TPaths::TSituation& situation, std::ostream& err) {
    TPaths::TPlaces places = TPaths::Find(situation);
    if (!places.missing.empty()) {
        err << places.missing << '\n';
        return false;
    }
    if (places.layout == TPaths::TLayout::Installed)
        places.config = places.settingsRead = TPaths::ShippedConfig(places);
    TPaths::Use(places);
    return true;
}

#pragma once
#include <iosfwd>

#include "platform/TPaths.h"

// Readies the files of the layout the program finds itself in (TPaths) before anything is loaded.
class TFileLayout {
public:
    // The game: says which layout is in use. Installed, it makes the player's folders, copies the
    // shipped settings into the settings folder at the first start (TSettingsFolder), and says what
    // cannot be written: with a settings folder that cannot be written the shipped settings are
    // read and changes are not kept; a folder for saved cities that cannot be written only fails the
    // saves. False, with the reason on standard output, when there is no data folder.
    static bool ForGame(const TPaths::TSituation& situation);
    // vallmora-sim: the data and the shipped settings, writing nothing and saying nothing, so its
    // output stays the same. False, with the reason on err, when there is no data folder.
    static bool ForSimulator(const TPaths::TSituation& situation, std::ostream& err);
};

#include "world/TCheat.h"

std::shared_ptr<TCheat> TCheat::Create() { return std::make_shared<TCheat>(); }

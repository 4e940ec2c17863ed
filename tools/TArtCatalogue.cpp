#include "tools/TArtCatalogue.h"

#include "tools/TButtonIconArt.h"
#include "tools/TPointerArt.h"
#include "tools/TTitleArt.h"
#include "tools/TWidgetArt.h"

TArtCatalogue::TArtCatalogue(const std::string& fontPath) : text(std::make_unique<TTextRenderer>(fontPath)) {
    TTitleArt::AddTo(pictures, *text);
    TPointerArt::AddTo(pictures);
    TWidgetArt::AddTo(pictures);
    TButtonIconArt::AddTo(pictures, *text);
}

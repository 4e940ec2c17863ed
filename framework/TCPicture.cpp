#include "framework/TCPicture.h"

#include "platform/TDraw.h"
#include "platform/TImage.h"

namespace vesko {

std::shared_ptr<TCPicture> TCPicture::FromImage(std::shared_ptr<TImage> image, int32_t useInt) {
    if (!image) return nullptr;
    auto p = std::make_shared<TCPicture>();
    p->img = std::move(image);
    p->useInt = useInt;
    p->Width = float(p->img->width);
    p->Height = float(p->img->height);
    return p;
}

std::shared_ptr<TCPicture> TCPicture::Create(int32_t w, int32_t h, int32_t flags, int32_t useInt) {
    return FromImage(TImage::Create(w, h, 1, flags), useInt);
}

std::shared_ptr<TCPicture> TCPicture::Load(const std::string& source, int32_t flags, int32_t useInt) {
    return FromImage(TImage::Load(source, flags), useInt);
}

std::shared_ptr<TCPicture> TCPicture::FromImageFrame(const std::shared_ptr<TImage>& image, int32_t frame,
                                                     int32_t useInt) {
    if (!image || frame < 0 || frame >= image->FrameCount()) return nullptr;
    auto one = TImage::Create(image->width, image->height, 1, image->flags);
    if (!one) return nullptr;
    one->SetPixmap(0, image->pixmaps[static_cast<size_t>(frame)]);
    return FromImage(one, useInt);
}

void TCPicture::_Draw(float x, float y) {
    if (_IntPosition(useInt, useIntPosition)) {
        x = float(static_cast<int32_t>(x));
        y = float(static_cast<int32_t>(y));
    }
    DrawImage(img, x, y, 0);
}

}  // namespace vesko

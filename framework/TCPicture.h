#pragma once
#include <memory>
#include <string>

#include "framework/TContent.h"

class TImage;

namespace vesko {

// Frame 0 of an image.
class TCPicture : public TContent {
public:
    // A new empty one-frame image; null when it cannot be made.
    static std::shared_ptr<TCPicture> Create(int32_t w, int32_t h, int32_t flags = -1, int32_t useInt = -1);
    // Null when the file cannot be read.
    static std::shared_ptr<TCPicture> Load(const std::string& source, int32_t flags = -1, int32_t useInt = -1);
    // A new one-frame image with the pixels of the given frame; null for a missing image or frame.
    static std::shared_ptr<TCPicture> FromImageFrame(const std::shared_ptr<TImage>& image, int32_t frame,
                                                     int32_t useInt = -1);
    // Draws frame 0 of the image itself (no copy), so pictures of one image share its texture.
    static std::shared_ptr<TCPicture> FromImage(std::shared_ptr<TImage> image, int32_t useInt = -1);
    static void setUseIntPosition(bool on) { useIntPosition = on; }
    static bool getUseIntPosition() { return useIntPosition; }

    void _Draw(float x, float y) override;
    std::shared_ptr<TContent> _Copy() const override { return std::make_shared<TCPicture>(*this); }

    std::shared_ptr<TImage> img;
    int32_t useInt = -1;

private:
    static inline bool useIntPosition = false;
};

}  // namespace vesko

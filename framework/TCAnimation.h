#pragma once
#include <memory>
#include <string>

#include "framework/TCTimeEmitter.h"
#include "framework/TContent.h"

class TImage;

namespace vesko {

// A strip of frames played by a time emitter.
class TCAnimation : public TContent {
public:
    static constexpr int32_t kindOnce = 0;
    static constexpr int32_t kindLoop = 1;
    static constexpr int32_t kindForthAndBack = 2;
    static constexpr int32_t kindManual = 3;

    // Empty frames of w × h; null when the image cannot be made.
    static std::shared_ptr<TCAnimation> Create(int32_t w, int32_t h, int32_t frames, float fps, int32_t kind,
                                               int32_t flags = -1, int32_t useInt = -1);
    // The file cut into frames of w × h; null when it cannot be read.
    static std::shared_ptr<TCAnimation> Load(const std::string& source, int32_t w, int32_t h, int32_t frames, float fps,
                                             int32_t kind, int32_t flags = -1, int32_t useInt = -1);
    // Plays the frames of the image itself (no copy), so animations of one image share its texture.
    static std::shared_ptr<TCAnimation> FromImage(std::shared_ptr<TImage> image, float fps, int32_t kind,
                                                  int32_t useInt = -1);
    static void setUseIntPosition(bool on) { useIntPosition = on; }
    static bool getUseIntPosition() { return useIntPosition; }

    void setFrame(int32_t frame) { Frame = frame; }
    int32_t getFrame() const { return Frame; }
    int32_t CountFrames() const { return frames; }
    void setFPS(float fps) { timeemitter->FPS = fps; }
    float getFPS() const { return timeemitter->FPS; }
    // The frame shown for the current Frame.
    int32_t _ShownFrame() const;

    void _Draw(float x, float y) override;
    // The copy runs its own time emitter.
    std::shared_ptr<TContent> _Copy() const override;

    std::shared_ptr<TImage> img;
    int32_t Frame = 0;
    int32_t frames = 0;
    int32_t kind = 0;
    std::shared_ptr<TCTimeEmitter> timeemitter;
    int32_t useInt = -1;

private:
    void _Advance(int32_t ticks);
    static inline bool useIntPosition = false;
};

}  // namespace vesko

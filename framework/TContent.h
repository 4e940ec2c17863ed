#pragma once
#include <memory>
#include <vector>

#include "framework/TCFormation.h"

namespace vesko {

class TCGroup;

// Something drawable with a size, an anchor point (handle) and a formation. Drawing applies
// the formation, moves the position back by the scaled and rotated handle and lets the kind
// draw itself.
class TContent : public std::enable_shared_from_this<TContent> {
public:
    virtual ~TContent() = default;

    virtual void Draw(float x, float y);
    virtual void SetHandle(float x, float y);
    virtual void SetIntHandle(int32_t x, int32_t y);
    virtual void GetHandle(float& x, float& y) const;
    virtual void GetIntHandle(int32_t& x, int32_t& y) const;
    // Scales to fit w × h; with keepAspect both axes take the smaller factor.
    virtual void FitIn(float w, float h, int32_t keepAspect);
    virtual float getWidth() const { return Width; }
    virtual float getHeight() const { return Height; }
    virtual std::shared_ptr<TContent> Copy() const;
    virtual void MidHandle();
    virtual void MidIntHandle();
    // New groups holding this content followed by the others.
    virtual std::shared_ptr<TCGroup> SumToGroup(const std::shared_ptr<TContent>& other);
    virtual std::shared_ptr<TCGroup> SumContentsToGroup(const std::vector<std::shared_ptr<TContent>>& others);
    virtual std::shared_ptr<TCGroup> ToGroup();
    virtual void _Draw(float x, float y) = 0;
    virtual std::shared_ptr<TContent> _Copy() const = 0;

    TCFormation formation;
    float Width = 0, Height = 0;
    float handle_x = 0, handle_y = 0;

protected:
    // Whether a kind draws at whole pixels: 1 always, -1 the kind's class-wide setting, else never.
    static bool _IntPosition(int32_t useInt, bool classWide) { return useInt == 1 || (useInt == -1 && classWide); }
};

}  // namespace vesko

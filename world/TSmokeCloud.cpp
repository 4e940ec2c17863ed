#include "world/TSmokeCloud.h"

std::shared_ptr<TSmokeCloud> TSmokeCloud::Create(float x, float y, int32_t frame) {
    auto c = std::make_shared<TSmokeCloud>();
    c->X = x;
    c->Y = y;
    c->Frame = frame;
    return c;
}

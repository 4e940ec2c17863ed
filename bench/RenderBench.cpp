// Frame time of the 2D layer drawing many textured 32 x 32 frames at 1280 x 720, side by side
// with one device call per frame and with the physical limit (the same quads streamed into one
// vertex buffer and drawn with one call), plus the shell's start-up time to the first frame.
// Needs a display (run under Xvfb: xvfb-run -s "-screen 0 1280x1024x24" build/bench/RenderBench).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/TApplication.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TParkMiller.h"
#include "platform/TPixmap.h"
#include "platform/TRenderBackend.h"

using Clock = std::chrono::steady_clock;

namespace {
constexpr int32_t Width = 1280, Height = 720, Frames = 40;

double Ms(Clock::time_point since) { return std::chrono::duration<double, std::milli>(Clock::now() - since).count(); }

struct TSprite {
    float x, y;
    int32_t frame;
};

// Sends what is batched and waits until the device has drawn it (reading a pixel forces it).
void Finish() { GrabPixmap(0, 0, 1, 1); }

template <typename DrawFn>
double MedianFrameMs(DrawFn draw) {
    std::vector<double> times;
    for (int i = 0; i < Frames; ++i) {
        const auto start = Clock::now();
        Cls();
        draw();
        Finish();
        times.push_back(Ms(start));
        Flip(0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::vector<TVertex> Quads(const std::vector<TSprite>& sprites, TImage& image) {
    std::vector<TVertex> v;
    v.reserve(sprites.size() * 6);
    for (const TSprite& s : sprites) {
        const TImageFrame* f = image.Frame(s.frame);
        const TVertex c[4] = {{s.x, s.y, f->u0, f->v0, 0xFFFFFFFFu},
                              {s.x + 32, s.y, f->u1, f->v0, 0xFFFFFFFFu},
                              {s.x + 32, s.y + 32, f->u1, f->v1, 0xFFFFFFFFu},
                              {s.x, s.y + 32, f->u0, f->v1, 0xFFFFFFFFu}};
        for (int k : {0, 1, 2, 0, 2, 3}) v.push_back(c[k]);
    }
    return v;
}

void RenderFigures() {
    if (!TGraphics::Graphics(Width, Height, 0, 60, 0)) return;
    // Four 32 x 32 frames of one image, unfiltered.
    auto strip = TPixmap::Create(128, 32);
    for (int32_t y = 0; y < 32; ++y) {
        for (int32_t x = 0; x < 128; ++x)
            strip->WritePixel(x, y, 0xFF000000u | uint32_t(x * 2) << 16 | uint32_t(y * 8));
    }
    auto image = TImage::FromAnimPixmap(strip, 32, 32, 0, 4, 0);
    TParkMiller random;
    std::printf("%-8s %14s %16s %14s %10s\n", "frames", "batched ms", "call-per-quad ms", "bare loop ms", "ratio");
    for (int32_t count : {2000, 10000}) {
        std::vector<TSprite> sprites;
        for (int32_t i = 0; i < count; ++i) {
            sprites.push_back({float(random.Range(0, Width - 32)), float(random.Range(0, Height - 32)), i % 4});
        }
        const double batched = MedianFrameMs([&] {
            for (const TSprite& s : sprites) DrawImage(image, s.x, s.y, s.frame);
        });
        const double perQuad = MedianFrameMs([&] {
            const std::vector<TVertex> v = Quads(sprites, *image);
            for (size_t i = 0; i < v.size(); i += 6) {
                TGraphics::Backend()->DrawTriangles(image->Frame(0)->texture, ALPHABLEND, &v[i], 6);
            }
        });
        const double bare = MedianFrameMs([&] {
            const std::vector<TVertex> v = Quads(sprites, *image);
            TGraphics::Backend()->DrawTriangles(image->Frame(0)->texture, ALPHABLEND, v.data(), v.size());
        });
        std::printf("%-8d %14.2f %16.2f %14.2f %9.2fx\n", count, batched, perQuad, bare, batched / bare);
    }
    TGraphics::EndGraphics();
}

void StartupFigure() {
    const auto start = Clock::now();
    auto app = TApplication::Create();
    app->Init();
    if (!app->InitWindow()) return;
    app->loadResources(1);
    Cls();
    app->render(1, 1, 0, 1, 1, 1);
    std::printf("start-up to the first presented frame (in process): %.1f ms\n", Ms(start));
    app->Stop();
}
}  // namespace

int main() {
    RenderFigures();
    StartupFigure();
    return 0;
}

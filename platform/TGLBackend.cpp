#include "platform/TGLBackend.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/TStream.h"
#include "platform/TTexelRuns.h"

namespace {
const char* Version = "#version 330 core\n";

const char* VertexShader = R"(
layout(location = 0) in vec2 aPos;
layout(location = 1) in vec2 aUV;
layout(location = 2) in vec4 aColor;
uniform vec2 uScreen;
out vec2 vUV;
out vec4 vColor;
void main() {
    vUV = aUV;
    vColor = aColor;
    gl_Position = vec4(aPos.x / uScreen.x * 2.0 - 1.0, 1.0 - aPos.y / uScreen.y * 2.0, 0.0, 1.0);
}
)";

// Compiled twice: with DROP_CLEAR for the blend modes that drop fragments (see DiscardBelow), and
// without for the others, since a software rasteriser pays for a discard even when it never drops.
const char* FragmentShader = R"(
in vec2 vUV;
in vec4 vColor;
uniform sampler2D uTexture;
uniform vec4 uDiscardBelow;
out vec4 fragColor;
void main() {
    vec4 c = texture(uTexture, vUV) * vColor;
#ifdef DROP_CLEAR
    if (all(lessThan(c, uDiscardBelow))) discard;
#endif
    fragColor = c;
}
)";

// In alpha and light blending a fragment of alpha 0 leaves the target as it is; discarding it
// spares the blend, which a software rasteriser skips for whole blocks of such fragments.
constexpr float ClearFragment = 1e-6f;

GLuint Compile(GLenum type, const char* defines, const char* source) {
    GLuint shader = glCreateShader(type);
    const char* parts[] = {Version, defines, source};
    glShaderSource(shader, 3, parts, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024];
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        Print(std::string("OpenGL shader error: ") + log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

// The vertex shader with the fragment shader under `defines`; 0 when they cannot be built.
GLuint Link(const char* defines) {
    GLuint vs = Compile(GL_VERTEX_SHADER, "", VertexShader);
    GLuint fs = Compile(GL_FRAGMENT_SHADER, defines, FragmentShader);
    GLuint program = vs && fs ? glCreateProgram() : 0;
    if (program) {
        glAttachShader(program, vs);
        glAttachShader(program, fs);
        glLinkProgram(program);
    }
    if (vs) glDeleteShader(vs);
    if (fs) glDeleteShader(fs);
    GLint ok = 0;
    if (program) glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (program && !ok) {
        Print("OpenGL shader program could not be linked");
        glDeleteProgram(program);
        return 0;
    }
    return program;
}
}  // namespace

bool TGLBackend::Init(int32_t w, int32_t h) {
    width = w;
    height = h;
    program = Link("#define DROP_CLEAR\n");
    plainProgram = Link("");
    if (!program || !plainProgram) return false;
    glUseProgram(plainProgram);
    glUniform1i(glGetUniformLocation(plainProgram, "uTexture"), 0);
    glUseProgram(program);
    uDiscardBelow = glGetUniformLocation(program, "uDiscardBelow");
    glUniform1i(glGetUniformLocation(program, "uTexture"), 0);
    currentProgram = program;
    SetScreenSize();

    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glGenBuffers(1, &vbo);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(TVertex), reinterpret_cast<void*>(offsetof(TVertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(TVertex), reinterpret_cast<void*>(offsetof(TVertex, u)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(TVertex),
                          reinterpret_cast<void*>(offsetof(TVertex, rgba)));

    GLint maxSize = 2048;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    maxTextureSize = maxSize;

    // Texture 0 of the layer: one white pixel for untextured shapes.
    glGenTextures(1, &white);
    glBindTexture(GL_TEXTURE_2D, white);
    const uint32_t px = 0xFFFFFFFFu;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, &px);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    textures[0] = white;

    // Filtered textures drawn texel for pixel are sampled through this one (TTexelRuns).
    glGenSamplers(1, &nearest);
    glSamplerParameteri(nearest, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glSamplerParameteri(nearest, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glSamplerParameteri(nearest, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(nearest, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_SCISSOR_TEST);
    glViewport(0, 0, w, h);
    SetViewport(0, 0, w, h);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return true;
}

TGLBackend::~TGLBackend() {
    for (auto& [id, fbo] : framebuffers) glDeleteFramebuffers(1, &fbo);
    for (auto& [id, name] : textures) glDeleteTextures(1, &name);
    if (nearest) glDeleteSamplers(1, &nearest);
    if (vbo) glDeleteBuffers(1, &vbo);
    if (vao) glDeleteVertexArrays(1, &vao);
    if (program) glDeleteProgram(program);
    if (plainProgram) glDeleteProgram(plainProgram);
}

uint32_t TGLBackend::CreateTexture(int32_t w, int32_t h, bool filtered) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    currentTexture = ~0u;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    const GLint filter = filtered ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    const uint32_t id = nextId++;
    textures[id] = name;
    textureSizes[id] = {w, h};
    if (filtered) filteredTextures.insert(id);
    return id;
}

void TGLBackend::UploadTexture(uint32_t texture, int32_t x, int32_t y, int32_t w, int32_t h, const uint32_t* pixels,
                               int32_t pitchPixels) {
    auto it = textures.find(texture);
    if (it == textures.end()) return;
    glBindTexture(GL_TEXTURE_2D, it->second);
    currentTexture = ~0u;
    glPixelStorei(GL_UNPACK_ROW_LENGTH, pitchPixels);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

void TGLBackend::DeleteTexture(uint32_t texture) {
    auto it = textures.find(texture);
    if (it == textures.end() || texture == 0) return;
    if (auto fbo = framebuffers.find(texture); fbo != framebuffers.end()) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &fbo->second);
        framebuffers.erase(fbo);
    }
    glDeleteTextures(1, &it->second);
    textures.erase(it);
    textureSizes.erase(texture);
    filteredTextures.erase(texture);
    currentTexture = ~0u;
}

std::pair<int32_t, int32_t> TGLBackend::TextureSize(uint32_t texture) const {
    auto it = textureSizes.find(texture);
    return it == textureSizes.end() ? std::pair<int32_t, int32_t>{0, 0} : it->second;
}

bool TGLBackend::SetTarget(uint32_t texture) {
    if (texture == 0) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return true;
    }
    const auto tex = textures.find(texture);
    if (tex == textures.end()) return false;
    auto [fbo, made] = framebuffers.try_emplace(texture, 0u);
    if (made) {
        glGenFramebuffers(1, &fbo->second);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo->second);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, tex->second, 0);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
            glDeleteFramebuffers(1, &fbo->second);
            framebuffers.erase(fbo);
            return false;
        }
    } else {
        glBindFramebuffer(GL_FRAMEBUFFER, fbo->second);
    }
    return true;
}

void TGLBackend::ClearTarget(int32_t x, int32_t y, int32_t w, int32_t h) {
    glScissor(x, height - (y + h), std::max(w, 0), std::max(h, 0));
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(scissor[0], scissor[1], scissor[2], scissor[3]);
}

// A fragment is dropped when its colour channels are all below `colour` and its alpha below
// `alpha` (colours never reach 2).
void TGLBackend::DiscardBelow(float colour, float alpha) {
    UseProgram(program);
    glUniform4f(uDiscardBelow, colour, colour, colour, alpha);
}

void TGLBackend::ApplyBlend(int32_t blend) {
    if (blend == currentBlend) return;
    currentBlend = blend;
    switch (blend) {
        case MASKBLEND:
            glDisable(GL_BLEND);
            DiscardBelow(2.0f, 0.5f);
            return;
        case SOLIDBLEND: glDisable(GL_BLEND); break;
        case LIGHTBLEND:
            glEnable(GL_BLEND);
            glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE, GL_ZERO, GL_ONE);
            DiscardBelow(2.0f, ClearFragment);
            return;
        case SHADEBLEND:
            glEnable(GL_BLEND);
            glBlendFuncSeparate(GL_DST_COLOR, GL_ZERO, GL_ZERO, GL_ONE);
            break;
        case DIMBLEND:
            glEnable(GL_BLEND);
            glBlendFuncSeparate(GL_ONE, GL_SRC_ALPHA, GL_ZERO, GL_ONE);
            break;
        case OVERBLEND:
            // Light leaves colour at alpha 0: only a fragment with nothing in it changes nothing.
            glEnable(GL_BLEND);
            glBlendFuncSeparate(GL_ONE, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
            DiscardBelow(ClearFragment, ClearFragment);
            return;
        default:
            glEnable(GL_BLEND);
            glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
            DiscardBelow(2.0f, ClearFragment);
            return;
    }
    UseProgram(plainProgram);
}

void TGLBackend::DrawTriangles(uint32_t texture, int32_t blend, const TVertex* v, size_t count) {
    auto it = textures.find(texture);
    if (it == textures.end() || count == 0) return;
    if (texture != currentTexture) {
        glBindTexture(GL_TEXTURE_2D, it->second);
        currentTexture = texture;
    }
    ApplyBlend(blend);
    // A fresh buffer of exactly this batch's size: the driver never waits on the previous draw
    // and never clears more than it uploads.
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(TVertex)), v, GL_STREAM_DRAW);
    if (!filteredTextures.count(texture)) {
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(count));
        return;
    }
    const auto [tw, th] = textureSizes[texture];
    for (const TTexelRun& run : TTexelRuns::Split(v, count, tw, th, MaxTexelRuns)) {
        if (run.aligned != nearestBound) {
            glBindSampler(0, run.aligned ? nearest : 0);
            nearestBound = run.aligned;
        }
        glDrawArrays(GL_TRIANGLES, static_cast<GLint>(run.first), static_cast<GLsizei>(run.count));
    }
}

void TGLBackend::Resize(int32_t w, int32_t h) {
    width = w;
    height = h;
    glViewport(0, 0, w, h);
    SetScreenSize();
}

void TGLBackend::SetScreenSize() {
    for (const uint32_t p : {plainProgram, program}) {
        glUseProgram(p);
        glUniform2f(glGetUniformLocation(p, "uScreen"), float(width), float(height));
    }
    // The program of the blend mode in force stays in use.
    glUseProgram(currentProgram);
}

void TGLBackend::UseProgram(uint32_t p) {
    if (p == currentProgram) return;
    glUseProgram(p);
    currentProgram = p;
}

void TGLBackend::SetViewport(int32_t x, int32_t y, int32_t w, int32_t h) {
    scissor[0] = x;
    scissor[1] = height - (y + h);
    scissor[2] = std::max(w, 0);
    scissor[3] = std::max(h, 0);
    glScissor(scissor[0], scissor[1], scissor[2], scissor[3]);
}

void TGLBackend::Clear(int32_t r, int32_t g, int32_t b) {
    glClearColor(float(r) / 255.0f, float(g) / 255.0f, float(b) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void TGLBackend::Submit() { glFlush(); }

void TGLBackend::Present(int32_t) {
    if (swap) swap(swapContext);
}

void TGLBackend::ReadPixels(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t* out) {
    std::vector<uint32_t> rows(static_cast<size_t>(w) * static_cast<size_t>(h));
    glReadBuffer(GL_BACK);
    glReadPixels(x, height - (y + h), w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
    // GL rows run bottom-up.
    for (int32_t row = 0; row < h; ++row) {
        const uint32_t* src = rows.data() + static_cast<size_t>(h - 1 - row) * static_cast<size_t>(w);
        uint32_t* dst = out + static_cast<size_t>(row) * static_cast<size_t>(w);
        for (int32_t i = 0; i < w; ++i) dst[i] = src[i] | 0xFF000000u;
    }
}

// The quad limit: what this machine draws per frame when nothing but OpenGL
// stands between the sprites and the screen. N sprites of S x S pixels move
// and bounce inside an 800 x 600 screen as the benchmark script moves them;
// each frame they are written straight into a mapped vertex buffer in the
// engine's vertex layout, one upload and one draw call per batch of 16,384
// quads, alpha-blended into an off-screen target that is then copied to the
// window. No script, no engine.
//
//     bench_quad_limit SPRITES SIZE [WARMUP_SECONDS SECONDS]
//
// Prints "limit: sprites N size S: F fps (...)" on standard error.
#include "bench/floor/GlWindow.h"

#include <epoxy/gl.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = kFloorWidth, kHeight = kFloorHeight;
constexpr int kBatchQuads = 16384;
constexpr float kSpeed = 240.0f;

// The engine's vertex: position, ARGB colour, texture coordinates.
struct Vertex {
    float x, y, z;
    uint32_t color;
    float u, v;
};
static_assert(sizeof(Vertex) == 24, "the engine's layout");

const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec4 color;
layout(location = 2) in vec2 uv;
uniform vec2 toClip;
out vec2 texCoord;
void main() {
    gl_Position = vec4(position.xy * toClip - 1.0, position.z * 2.0 - 1.0, 1.0);
    texCoord = uv;
}
)";

const char* const kFragmentShader = R"(#version 330 core
in vec2 texCoord;
uniform sampler2D picture;
out vec4 result;
void main() { result = texture(picture, texCoord); }
)";

GLuint Program() {
    GLuint program = glCreateProgram();
    for (GLenum type : {GL_VERTEX_SHADER, GL_FRAGMENT_SHADER}) {
        GLuint shader = glCreateShader(type);
        const char* source = type == GL_VERTEX_SHADER ? kVertexShader : kFragmentShader;
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
        glAttachShader(program, shader);
        glDeleteShader(shader);
    }
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    return linked ? program : 0;
}

// The benchmark pack's sprite: an orange disc with a soft edge.
GLuint SpriteTexture(int size) {
    std::vector<uint32_t> argb(static_cast<size_t>(size) * size);
    const double centre = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double d = std::hypot(x - centre, y - centre) / (size / 2.0);
            int a = static_cast<int>((1.0 - d) * 4.0 * 255);
            a = a < 0 ? 0 : a > 255 ? 255 : a;
            uint32_t g = static_cast<uint32_t>(160 - static_cast<int>(60 * d));
            argb[static_cast<size_t>(y) * size + x] = static_cast<uint32_t>(a) << 24 | 0xFF0000u | g << 8 | 64u;
        }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size, size, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb.data());
    return texture;
}

struct Sprites {
    std::vector<float> x, y, vx, vy;
    float right = 0, bottom = 0;

    Sprites(int count, int size)
        : right(static_cast<float>(kWidth - size)), bottom(static_cast<float>(kHeight - size)) {
        std::mt19937 random(12345);
        std::uniform_real_distribution<float> unit(0.0f, 1.0f);
        auto velocity = [&] {
            float v = (unit(random) * 2 - 1) * kSpeed;
            return v > -20 && v < 20 ? 20.0f : v;
        };
        for (int i = 0; i < count; ++i) {
            x.push_back(unit(random) * right);
            y.push_back(unit(random) * bottom);
            vx.push_back(velocity());
            vy.push_back(velocity());
        }
    }

    static void Bounce(float& p, float& v, float dt, float limit) {
        p += v * dt;
        if (p < 0) p = -p, v = -v;
        if (p > limit) p = limit + limit - p, v = -v;
    }

    void Move(float dt) {
        for (size_t i = 0; i < x.size(); ++i) {
            Bounce(x[i], vx[i], dt, right);
            Bounce(y[i], vy[i], dt, bottom);
        }
    }
};

void WriteQuad(Vertex* out, float x, float y, float size) {
    out[0] = Vertex{x, y, 0.5f, 0xFFFFFFFFu, 0, 0};
    out[1] = Vertex{x + size, y, 0.5f, 0xFFFFFFFFu, 1, 0};
    out[2] = Vertex{x + size, y + size, 0.5f, 0xFFFFFFFFu, 1, 1};
    out[3] = Vertex{x, y + size, 0.5f, 0xFFFFFFFFu, 0, 1};
}

// Each batch gets fresh storage, so it never waits for a draw still reading.
void DrawSprites(const Sprites& sprites, float size) {
    const size_t count = sprites.x.size();
    for (size_t first = 0; first < count; first += kBatchQuads) {
        const size_t quads = count - first < kBatchQuads ? count - first : kBatchQuads;
        const GLsizeiptr bytes = static_cast<GLsizeiptr>(quads * 4 * sizeof(Vertex));
        glBufferData(GL_ARRAY_BUFFER, kBatchQuads * 4 * sizeof(Vertex), nullptr, GL_STREAM_DRAW);
        auto* out = static_cast<Vertex*>(glMapBufferRange(GL_ARRAY_BUFFER, 0, bytes, GL_MAP_WRITE_BIT));
        if (!out) return;
        for (size_t i = 0; i < quads; ++i) WriteQuad(out + i * 4, sprites.x[first + i], sprites.y[first + i], size);
        glUnmapBuffer(GL_ARRAY_BUFFER);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(quads * 6), GL_UNSIGNED_SHORT, nullptr);
    }
}

void SetUpVertices() {
    GLuint vao = 0, vbo = 0, ibo = 0;
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glGenBuffers(1, &vbo);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, color)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, u)));
    std::vector<uint16_t> indices;
    for (int q = 0; q < kBatchQuads; ++q)
        for (int corner : {0, 1, 2, 2, 3, 0}) indices.push_back(static_cast<uint16_t>(q * 4 + corner));
    glGenBuffers(1, &ibo);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * 2), indices.data(), GL_STATIC_DRAW);
}

GLuint ScreenTarget() {
    GLuint texture = 0, framebuffer = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kWidth, kHeight, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE ? framebuffer : 0;
}

bool PumpEvents() {
    SDL_Event event;
    bool open = true;
    while (SDL_PollEvent(&event))
        if (event.type == SDL_QUIT) open = false;
    return open;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: %s SPRITES SIZE [WARMUP_SECONDS SECONDS]\n", argv[0]);
        return 2;
    }
    const int count = std::atoi(argv[1]), size = std::atoi(argv[2]);
    const double warmup = argc == 5 ? std::atof(argv[3]) : 1.0, seconds = argc == 5 ? std::atof(argv[4]) : 4.0;
    if (count < 0 || size <= 0 || size > kHeight) {
        std::fprintf(stderr, "quad_limit: bad sprite count or size\n");
        return 2;
    }
    SDL_GLContext context = nullptr;
    SDL_Window* window = OpenGlWindow("quad_limit", &context);
    if (!window) return 1;
    SDL_GL_SetSwapInterval(0);

    const GLuint program = Program();
    const GLuint screen = ScreenTarget();
    if (!program || !screen) {
        std::fprintf(stderr, "quad_limit: OpenGL could not be set up\n");
        return 1;
    }
    glUseProgram(program);
    glUniform2f(glGetUniformLocation(program, "toClip"), 2.0f / kWidth, 2.0f / kHeight);
    glUniform1i(glGetUniformLocation(program, "picture"), 0);
    SpriteTexture(size);
    SetUpVertices();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glViewport(0, 0, kWidth, kHeight);

    Sprites sprites(count, size);
    const double tick = 1.0 / static_cast<double>(SDL_GetPerformanceFrequency());
    Uint64 last = SDL_GetPerformanceCounter();
    double elapsed = 0, measured = 0;
    long frames = 0;
    while (PumpEvents()) {
        const Uint64 now = SDL_GetPerformanceCounter();
        const double dt = static_cast<double>(now - last) * tick;
        last = now;
        sprites.Move(static_cast<float>(dt));
        elapsed += dt;
        // Counted as the benchmark script counts: from the first frame after
        // the warm-up, whose own time is not counted.
        if (elapsed >= warmup) {
            if (frames > 0) measured += dt;
            ++frames;
            if (measured >= seconds) {
                --frames;
                break;
            }
        }
        glBindFramebuffer(GL_FRAMEBUFFER, screen);
        glClearColor(0.06f, 0.09f, 0.125f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        DrawSprites(sprites, static_cast<float>(size));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, screen);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, kWidth, kHeight, 0, kHeight, kWidth, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        SDL_GL_SwapWindow(window);
    }
    std::fprintf(stderr, "limit: sprites %d size %d: %.1f fps (%ld frames in %.2f s)\n", count, size,
                 measured > 0 ? static_cast<double>(frames) / measured : 0.0, frames, measured);
    CloseGlWindow(window, context);
    return 0;
}

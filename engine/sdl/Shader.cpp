#include "engine/sdl/Shader.h"

#include "engine/sdl/Log.h"

#include <epoxy/gl.h>

namespace gfxsdl {

namespace {

// Pixels to clip space with row 0 at the bottom of the framebuffer, which is
// row 0 of its texture: every picture keeps its top row first. Depth 0..1 as
// given (clamped, so that no quad is clipped away by its depth).
const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec4 aColor;
layout(location = 2) in vec2 aTexCoord;
uniform vec2 uScale;
out vec4 vColor;
out vec2 vTexCoord;
void main() {
    float z = clamp(aPosition.z, 0.0, 1.0) * 2.0 - 1.0;
    gl_Position = vec4(aPosition.x * uScale.x - 1.0, aPosition.y * uScale.y - 1.0, z, 1.0);
    vColor = aColor;
    vTexCoord = aTexCoord;
}
)";

const char* kFragmentShaderMul = R"(#version 330 core
in vec4 vColor;
in vec2 vTexCoord;
uniform sampler2D uTexture;
out vec4 oColor;
void main() {
    vec4 texel = texture(uTexture, vTexCoord);
    oColor = vec4(texel.rgb * vColor.rgb, texel.a * vColor.a);
}
)";

const char* kFragmentShaderAdd = R"(#version 330 core
in vec4 vColor;
in vec2 vTexCoord;
uniform sampler2D uTexture;
out vec4 oColor;
void main() {
    vec4 texel = texture(uTexture, vTexCoord);
    oColor = vec4(min(texel.rgb + vColor.rgb, vec3(1.0)), texel.a * vColor.a);
}
)";

const char* kFragmentShaderTexel = R"(#version 330 core
in vec2 vTexCoord;
uniform sampler2D uTexture;
out vec4 oColor;
void main() {
    oColor = texture(uTexture, vTexCoord);
}
)";

const char* const kFragmentShaders[kShadingCount] = {kFragmentShaderMul, kFragmentShaderAdd, kFragmentShaderTexel};

GLuint Compile(GLenum type, const char* source, Log& log) {
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char text[1024] = {0};
        glGetShaderInfoLog(shader, sizeof text, nullptr, text);
        log.Write("Drawing: a shader does not compile: %s", text);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

bool BuildQuadProgram(QuadProgram& program, QuadShading shading, Log& log) {
    GLuint vs = Compile(GL_VERTEX_SHADER, kVertexShader, log);
    GLuint fs = Compile(GL_FRAGMENT_SHADER, kFragmentShaders[shading], log);
    if (!vs || !fs) {
        glDeleteShader(vs);
        glDeleteShader(fs);
        return false;
    }
    GLuint id = glCreateProgram();
    glAttachShader(id, vs);
    glAttachShader(id, fs);
    glLinkProgram(id);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(id, GL_LINK_STATUS, &ok);
    if (!ok) {
        char text[1024] = {0};
        glGetProgramInfoLog(id, sizeof text, nullptr, text);
        log.Write("Drawing: a shader does not link: %s", text);
        glDeleteProgram(id);
        return false;
    }
    program.program = id;
    program.scale = glGetUniformLocation(id, "uScale");
    program.texture = glGetUniformLocation(id, "uTexture");
    glUseProgram(id);
    glUniform1i(program.texture, 0);
    return true;
}

void DeleteQuadProgram(QuadProgram& program) {
    if (program.program) glDeleteProgram(program.program);
    program = QuadProgram();
}

}  // namespace gfxsdl

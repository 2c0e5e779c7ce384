#include "engine/sdl/Resources.h"

#include "engine/sdl/Log.h"
#include "engine/sdl/Paths.h"

#include <cstdio>
#include <cstdlib>

namespace gfxsdl {

Resources::~Resources() { Clear(); }

bool Resources::AttachPack(const char* filename, const char* password) {
    if (!filename || !*filename) return false;
    std::string path = FindFileNoCase(ResolveProgramPath(filename));
    if (path.empty()) {
        m_Log.Write("Resource_AttachPack: %s not found", filename);
        return false;
    }
    auto pack = std::make_unique<Pack>();
    if (!pack->Open(path, password, m_Log)) return false;
    m_Packs.push_back(std::move(pack));
    return true;
}

void* Resources::Load(const char* filename, uint32_t* size) {
    uint32_t dummy = 0;
    if (!size) size = &dummy;
    *size = 0;
    if (!filename || !*filename) return nullptr;
    void* data = nullptr;
    std::string name = NormalisePackName(filename);
    for (auto& pack : m_Packs) {
        if (pack->Contains(name)) {
            data = pack->Read(name, size, m_Log);
            break;
        }
    }
    if (!data) data = LoadFromDisk(filename, size);
    if (!data) {
        *size = 0;
        return nullptr;
    }
    m_Buffers.insert(data);
    return data;
}

void* Resources::LoadFromDisk(const char* filename, uint32_t* size) {
    std::string path = FindFileNoCase(ResolveProgramPath(filename));
    if (path.empty()) return nullptr;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return nullptr;
    char* buffer = nullptr;
    long length = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) length = std::ftell(f);
    if (length >= 0 && length < 0x7FFFFFFF && std::fseek(f, 0, SEEK_SET) == 0) {
        buffer = static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1));
        if (buffer && std::fread(buffer, 1, static_cast<size_t>(length), f) != static_cast<size_t>(length)) {
            std::free(buffer);
            buffer = nullptr;
        }
    }
    std::fclose(f);
    if (!buffer) {
        m_Log.Write("Resource_Load: cannot read %s", path.c_str());
        return nullptr;
    }
    buffer[length] = 0;
    *size = static_cast<uint32_t>(length);
    return buffer;
}

void Resources::Free(void* data) {
    if (data && m_Buffers.erase(data)) std::free(data);
}

void Resources::Clear() {
    m_Packs.clear();
    for (void* data : m_Buffers) std::free(data);
    m_Buffers.clear();
}

}  // namespace gfxsdl

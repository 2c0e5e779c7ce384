#include "engine/sdl/Resources.h"

#include "engine/sdl/Log.h"
#include "engine/sdl/Paths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
    m_Error.clear();
    if (!filename || !*filename) return nullptr;
    void* data = nullptr;
    std::string name = NormalisePackName(filename);
    for (auto& pack : m_Packs) {
        if (pack->Contains(name)) {
            data = pack->Read(name, size, m_Log, m_Error);
            break;
        }
    }
    if (!data) data = LoadFromDisk(filename, size);
    if (!data) {
        *size = 0;
        return nullptr;
    }
    m_Error.clear();
    m_Buffers.insert(data);
    return data;
}

namespace {

// The reason of a failed read from disk, for the log and Error().
std::string DiskError(FILE* f, long length) {
    if (length >= 0x7FFFFFFF) return "it is 2 GB or more";
    if (f && std::feof(f)) return "it ended early";
    return errno != 0 ? std::strerror(errno) : "read error";
}

}  // namespace

void* Resources::LoadFromDisk(const char* filename, uint32_t* size) {
    std::string path = FindFileNoCase(ResolveProgramPath(filename));
    if (path.empty()) return nullptr;
    errno = 0;
    FILE* f = std::fopen(path.c_str(), "rb");
    char* buffer = nullptr;
    long length = -1;
    if (f && std::fseek(f, 0, SEEK_END) == 0) length = std::ftell(f);
    if (length >= 0 && length < 0x7FFFFFFF && std::fseek(f, 0, SEEK_SET) == 0) {
        buffer = static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1));
        if (buffer && std::fread(buffer, 1, static_cast<size_t>(length), f) != static_cast<size_t>(length)) {
            std::free(buffer);
            buffer = nullptr;
        }
    }
    const std::string reason = buffer ? std::string() : DiskError(f, length);
    if (f) std::fclose(f);
    if (!buffer) {
        m_Log.WriteOnce("Resource_Load: cannot read %s: %s", path.c_str(), reason.c_str());
        // A pack's reason comes first: its entry is what the name stood for.
        if (m_Error.empty()) m_Error = path + " cannot be read: " + reason;
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

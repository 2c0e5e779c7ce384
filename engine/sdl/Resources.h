// Resource files: the attached packs in attach order, then the disk.
#pragma once

#include "engine/sdl/Pack.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace gfxsdl {

class Log;

class Resources {
public:
    explicit Resources(Log& log) : m_Log(log) {}
    ~Resources();

    // A relative name lies in the program's folder.
    bool AttachPack(const char* filename, const char* password);
    // From the packs, else from disk (relative names from the program's
    // folder, case ignored when the exact name is missing). Null, size 0, when
    // absent. The buffer holds one zero byte past its end.
    void* Load(const char* filename, uint32_t* size);
    // Why the last Load found nothing: "" when no pack holds the file and it
    // is not on disk, else what stopped the read.
    const std::string& Error() const { return m_Error; }
    // Accepts null; a pointer this class did not hand out is ignored.
    void Free(void* data);
    // Detaches every pack and frees every buffer still loaded.
    void Clear();

private:
    void* LoadFromDisk(const char* filename, uint32_t* size);

    Log& m_Log;
    std::vector<std::unique_ptr<Pack>> m_Packs;
    std::unordered_set<void*> m_Buffers;
    std::string m_Error;
};

}  // namespace gfxsdl

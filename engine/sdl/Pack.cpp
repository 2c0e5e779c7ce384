#include "engine/sdl/Pack.h"

#include "engine/sdl/Log.h"

#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace gfxsdl {

std::string NormalisePackName(const char* name) {
    std::string result;
    if (!name) return result;
    const char* p = name;
    while (*p == '/' || *p == '\\') ++p;
    for (; *p; ++p) {
        char c = *p;
        if (c == '\\')
            c = '/';
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        result += c;
    }
    return result;
}

Pack::~Pack() {
    if (m_Zip) zip_discard(m_Zip);
}

bool Pack::Open(const std::string& path, const char* password, Log& log) {
    int error = 0;
    m_Path = path;
    m_Zip = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!m_Zip) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        log.Write("Resource_AttachPack: cannot open %s: %s", path.c_str(), zip_error_strerror(&ze));
        zip_error_fini(&ze);
        return false;
    }
    if (password && *password) zip_set_default_password(m_Zip, password);
    zip_int64_t count = zip_get_num_entries(m_Zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(m_Zip, static_cast<zip_uint64_t>(i), 0);
        if (!name || !*name || name[std::strlen(name) - 1] == '/') continue;
        m_Entries.emplace(NormalisePackName(name), static_cast<uint64_t>(i));
    }
    if (!CheckPassword()) {
        log.Write("Resource_AttachPack: %s: the password does not open its entries", path.c_str());
        zip_discard(m_Zip);
        m_Zip = nullptr;
        m_Entries.clear();
        return false;
    }
    return true;
}

// A wrong password shows only when an entry is read (its check byte or its
// CRC fails), so the smallest protected entry is read once at attach time.
bool Pack::CheckPassword() {
    bool found = false;
    uint64_t smallest = 0, smallestSize = 0;
    for (const auto& entry : m_Entries) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(m_Zip, entry.second, 0, &st) != 0) return false;
        if (!(st.valid & ZIP_STAT_ENCRYPTION_METHOD) || st.encryption_method == ZIP_EM_NONE) continue;
        if (!found || st.size < smallestSize) {
            found = true;
            smallest = entry.second;
            smallestSize = st.size;
        }
    }
    if (!found) return true;
    void* data = nullptr;
    uint32_t size = 0;
    std::string why;
    if (!ReadIndex(smallest, &data, &size, why)) return false;
    std::free(data);
    return true;
}

bool Pack::Contains(const std::string& normalisedName) const { return m_Entries.count(normalisedName) != 0; }

std::vector<std::string> Pack::Names() const {
    std::vector<std::string> names;
    names.reserve(m_Entries.size());
    for (const auto& entry : m_Entries) names.push_back(entry.first);
    return names;
}

void* Pack::Read(const std::string& normalisedName, uint32_t* size, Log& log, std::string& why) {
    auto it = m_Entries.find(normalisedName);
    if (it == m_Entries.end() || !m_Zip) return nullptr;
    void* data = nullptr;
    std::string reason;
    if (!ReadIndex(it->second, &data, size, reason)) {
        log.WriteOnce("Resource_Load: cannot read %s from %s: %s", normalisedName.c_str(), m_Path.c_str(),
                      reason.c_str());
        why = "in " + m_Path + " but cannot be read: " + reason;
        return nullptr;
    }
    return data;
}

namespace {

bool Refuse(std::string& why, const std::string& reason) {
    why = reason;
    return false;
}

std::string ZipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

// The entry's bytes into a buffer grown as they come: a header that claims
// gigabytes costs only the memory of what is really there.
bool ReadWhole(zip_file_t* file, zip_uint64_t stated, char** buffer, std::string& why) {
    constexpr zip_uint64_t kFirstChunk = 1 << 20;
    zip_uint64_t capacity = 0, done = 0;
    while (done < stated) {
        if (done == capacity) {
            capacity = std::min(stated, std::max(kFirstChunk, 2 * capacity));
            char* grown = static_cast<char*>(std::realloc(*buffer, static_cast<size_t>(capacity) + 1));
            if (!grown) return Refuse(why, ZipErrorText(ZIP_ER_MEMORY));
            *buffer = grown;
        }
        zip_int64_t n = zip_fread(file, *buffer + done, capacity - done);
        if (n < 0) return Refuse(why, zip_file_strerror(file));
        if (n == 0)
            return Refuse(why,
                          "it ends after " + std::to_string(done) + " of its " + std::to_string(stated) + " bytes");
        done += static_cast<zip_uint64_t>(n);
    }
    if (!*buffer) *buffer = static_cast<char*>(std::malloc(1));  // an empty entry
    if (!*buffer) return Refuse(why, ZipErrorText(ZIP_ER_MEMORY));
    // Reading on to the end lets libzip check the CRC, which catches a wrong
    // traditional password that passed the one-byte check.
    char extra;
    zip_int64_t n = zip_fread(file, &extra, 1);
    if (n < 0) return Refuse(why, zip_file_strerror(file));
    if (n > 0) return Refuse(why, "it is longer than its " + std::to_string(stated) + " bytes");
    return true;
}

}  // namespace

bool Pack::ReadIndex(uint64_t index, void** data, uint32_t* size, std::string& why) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(m_Zip, index, 0, &st) != 0) return Refuse(why, zip_strerror(m_Zip));
    if (!(st.valid & ZIP_STAT_SIZE)) return Refuse(why, "its size is not known");
    if (st.size >= 0xFFFFFFFFu) return Refuse(why, "its " + std::to_string(st.size) + " bytes are 4 GB or more");
    // libzip leaks what it built for an entry whose encryption it then refuses.
    if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && !zip_encryption_method_supported(st.encryption_method, 0))
        return Refuse(why, ZipErrorText(ZIP_ER_ENCRNOTSUPP));
    zip_file_t* file = zip_fopen_index(m_Zip, index, 0);
    if (!file) return Refuse(why, zip_strerror(m_Zip));
    char* buffer = nullptr;
    const bool ok = ReadWhole(file, st.size, &buffer, why);
    zip_fclose(file);
    if (!ok) {
        std::free(buffer);
        return false;
    }
    buffer[st.size] = 0;
    *data = buffer;
    *size = static_cast<uint32_t>(st.size);
    return true;
}

}  // namespace gfxsdl

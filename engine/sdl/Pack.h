// One attached zip pack (libzip): entries looked up by normalised name and
// read whole, decrypted with the pack's password (traditional or AES).
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

struct zip;

namespace gfxsdl {

class Log;

// '\\' and '/' alike, leading separators dropped, ASCII letters lower-cased.
std::string NormalisePackName(const char* name);

class Pack {
public:
    Pack() = default;
    Pack(const Pack&) = delete;
    Pack& operator=(const Pack&) = delete;
    ~Pack();

    // False for a missing or corrupt archive, or one whose protected entries
    // do not open with the password (or with none given).
    bool Open(const std::string& path, const char* password, Log& log);
    bool Contains(const std::string& normalisedName) const;
    // Every entry's normalised name, in no set order.
    std::vector<std::string> Names() const;
    // The entry's contents in a malloc'd buffer (one zero byte past the end),
    // or null when absent or unreadable. An entry that cannot be read is
    // logged once, and why says so with libzip's reason.
    void* Read(const std::string& normalisedName, uint32_t* size, Log& log, std::string& why);

private:
    bool ReadIndex(uint64_t index, void** data, uint32_t* size, std::string& why);
    bool CheckPassword();

    zip* m_Zip = nullptr;
    std::string m_Path;
    std::unordered_map<std::string, uint64_t> m_Entries;
};

}  // namespace gfxsdl

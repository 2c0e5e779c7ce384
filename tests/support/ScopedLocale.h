// Switches the whole locale for one test and puts the earlier one back.
#pragma once

#include <clocale>
#include <cstring>
#include <initializer_list>
#include <langinfo.h>
#include <string>

class ScopedLocale {
public:
    ScopedLocale() : m_Saved(std::setlocale(LC_ALL, nullptr)) {}
    ~ScopedLocale() { std::setlocale(LC_ALL, m_Saved.c_str()); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    bool Use(const char* name) { return std::setlocale(LC_ALL, name) != nullptr; }

    // The first of the names that is installed and has the character set codeSet.
    bool UseAnyWithCodeSet(std::initializer_list<const char*> names, const char* codeSet) {
        for (const char* name : names)
            if (Use(name) && std::strcmp(nl_langinfo(CODESET), codeSet) == 0) return true;
        std::setlocale(LC_ALL, m_Saved.c_str());
        return false;
    }

private:
    std::string m_Saved;
};

// Common names of Latin-1 locales; none may be installed.
inline bool UseLatin1(ScopedLocale& locale) {
    return locale.UseAnyWithCodeSet({"C.ISO-8859-1", "en_US.ISO-8859-1", "en_US", "en_GB", "de_DE.ISO-8859-1", "de_DE",
                                     "fr_FR", "en_US.iso88591", "de_DE.iso88591"},
                                    "ISO-8859-1");
}

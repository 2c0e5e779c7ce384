// The game's settings: named sections of string values and of number values,
// kept in memory for the run and stored in the XML file "config.conf".
// Names and strings are held in the locale's character set and written as UTF-8.
#pragma once

#include <map>
#include <string>

class TiXmlElement;

class CConfigStore {
public:
    using StringSection = std::map<std::string, std::string>;
    using NumberSection = std::map<std::string, double>;

    CConfigStore();
    ~CConfigStore();

    // Replaces the contents with the file's when it loads; a missing or
    // unreadable file leaves them as they were. True when the file loaded.
    // An unreadable file is kept under its name plus kUnreadableSuffix; one
    // that cannot be kept so is never saved over.
    bool Load(const char* path);
    // Writes the whole store; the old file is replaced only by a complete new
    // one. True when saved; a failure is also reported on standard error.
    bool Save(const char* path) const;

    // "" and 0 for an absent (or null) section or key.
    std::string GetString(const char* section, const char* key) const;
    double GetNumber(const char* section, const char* key) const;
    // Creates the section when needed and replaces an earlier value; a null
    // argument does nothing.
    void SetString(const char* section, const char* key, const char* value);
    void SetNumber(const char* section, const char* key, double value);
    // Removes the section from both the string and the number sections.
    void DeleteSection(const char* section);

    static constexpr const char* kUnreadableSuffix = ".unreadable";

private:
    static bool KeepUnreadable(const std::string& path, const std::string& why);
    TiXmlElement* BuildRoot() const;
    void WriteStringValues(TiXmlElement* rootNode) const;
    void WriteNumberValues(TiXmlElement* rootNode) const;

    std::map<std::string, StringSection> m_StringValues;
    std::map<std::string, NumberSection> m_DoubleValues;
    // A file that did not load and of which no copy could be kept.
    std::string m_Uncopied;
};

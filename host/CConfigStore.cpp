#include "host/CConfigStore.h"

#include "os/AtomicFile.h"
#include "os/CodePage.h"
#include "xml/XmlFile.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <tinyxml.h>

namespace {

// "%f" at full length: every finite double fits in 317 characters and reads
// back as itself. Infinities come out as "inf"/"-inf"; NaN is written "nan".
std::string FixedNumber(double value) {
    if (std::isnan(value)) return "nan";
    char text[400];
    std::to_chars_result result = std::to_chars(text, text + sizeof(text), value, std::chars_format::fixed, 6);
    assert(result.ec == std::errc());
    return std::string(text, result.ptr);
}

// The leading number as atof reads it, but always with '.' as the decimal
// point: the file must read the same in every locale.
double LeadingNumber(const char* text) {
    if (text == nullptr) return 0;
    static const locale_t classic = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    return classic != nullptr ? strtod_l(text, nullptr, classic) : std::strtod(text, nullptr);
}

template <class Visit>
void ForEachChildElement(TiXmlElement* parent, Visit visit) {
    for (TiXmlElement* child = parent->FirstChildElement(); child != nullptr; child = child->NextSiblingElement())
        visit(child);
}

template <class Value>
using Sections = std::map<std::string, std::map<std::string, Value>>;

// A value's "data" as the store holds it: a string without "data" is dropped,
// a number without it reads as 0.
bool ReadData(const char* data, std::string& value) {
    if (data == nullptr) return false;
    value = Utf8ToAnsi(data);
    return true;
}

bool ReadData(const char* data, double& value) {
    value = LeadingNumber(data);
    return true;
}

// One reader per level of a group, for strings and numbers alike. The first
// value of a name in a section wins; later ones are dropped.
template <class Value>
void ReadValue(TiXmlElement* node, std::map<std::string, Value>* addTo) {
    assert(node != nullptr);
    assert(addTo != nullptr);
    const char* name = node->Attribute("name");
    Value data{};
    if (name != nullptr && ReadData(node->Attribute("data"), data)) addTo->emplace(Utf8ToAnsi(name), std::move(data));
}

template <class Value>
void ReadValues(TiXmlElement* node, std::map<std::string, Value>* addTo) {
    assert(node != nullptr);
    assert(addTo != nullptr);
    ForEachChildElement(node, [addTo](TiXmlElement* value) { ReadValue(value, addTo); });
}

// Sections of the same name add up.
template <class Value>
void ReadSection(TiXmlElement* node, Sections<Value>& sections) {
    assert(node != nullptr);
    const char* name = node->Attribute("name");
    if (name != nullptr) ReadValues(node, &sections[Utf8ToAnsi(name)]);
}

template <class Value>
void ReadSections(TiXmlElement* group, Sections<Value>& sections) {
    assert(group != nullptr);
    ForEachChildElement(group, [&sections](TiXmlElement* node) { ReadSection(node, sections); });
}

template <class Section, class DataText>
TiXmlElement* GroupElement(const char* group, const std::map<std::string, Section>& sections, DataText dataText) {
    TiXmlElement* groupElement = new TiXmlElement(group);
    for (const auto& [sectionName, values] : sections) {
        TiXmlElement* section = new TiXmlElement("section");
        section->SetAttribute("name", AnsiToUtf8(sectionName.c_str()));
        for (const auto& [name, data] : values) {
            TiXmlElement* value = new TiXmlElement("value");
            value->SetAttribute("name", AnsiToUtf8(name.c_str()));
            value->SetAttribute("data", dataText(data));
            section->LinkEndChild(value);
        }
        groupElement->LinkEndChild(section);
    }
    return groupElement;
}

template <class Section>
const typename Section::mapped_type* FindValue(const std::map<std::string, Section>& sections, const char* section,
                                               const char* key) {
    if (section == nullptr || key == nullptr) return nullptr;
    auto found = sections.find(section);
    if (found == sections.end()) return nullptr;
    auto value = found->second.find(key);
    return value == found->second.end() ? nullptr : &value->second;
}

template <class Section, class Value>
void StoreValue(std::map<std::string, Section>& sections, const char* section, const char* key, const Value& value) {
    if (section != nullptr && key != nullptr) sections[section][key] = value;
}

}  // namespace

CConfigStore::CConfigStore() = default;

CConfigStore::~CConfigStore() = default;

bool CConfigStore::Load(const char* path) {
    if (path == nullptr) return false;
    TiXmlDocument document;
    std::string why;
    // Save writes the store whatever its size, so no size is refused here.
    XmlLoadResult result = LoadXmlFile(document, path, why, TIXML_ENCODING_UTF8, kNoXmlFileSizeLimit);
    if (result == XmlLoadResult::Failed && !KeepUnreadable(path, why)) m_Uncopied = path;
    if (result != XmlLoadResult::Loaded) return false;
    m_StringValues.clear();
    m_DoubleValues.clear();
    TiXmlElement* root = document.RootElement();
    if (root == nullptr) return true;
    if (TiXmlElement* strings = root->FirstChildElement("string_values")) ReadSections(strings, m_StringValues);
    if (TiXmlElement* numbers = root->FirstChildElement("number_values")) ReadSections(numbers, m_DoubleValues);
    return true;
}

// The game saves over the file when it ends; the player's edits stay in the copy.
bool CConfigStore::KeepUnreadable(const std::string& path, const std::string& why) {
    const std::string copy = path + kUnreadableSuffix;
    std::string copyWhy;
    if (os::KeepCopy(path, copy, copyWhy)) {
        std::fprintf(stderr, "config: ignoring %s: %s; it is kept as %s\n", path.c_str(), why.c_str(), copy.c_str());
        return true;
    }
    std::fprintf(stderr, "config: ignoring %s: %s; no copy kept (%s), so it is not saved over\n", path.c_str(),
                 why.c_str(), copyWhy.c_str());
    return false;
}

bool CConfigStore::Save(const char* path) const {
    if (path == nullptr) return false;
    if (!m_Uncopied.empty() && os::IsSameFile(path, m_Uncopied)) {
        std::fprintf(stderr, "config: not saving over %s: it did not load and no copy of it is kept\n", path);
        return false;
    }
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    document.LinkEndChild(BuildRoot());
    std::string why;
    if (SaveXmlFile(document, path, why)) return true;
    std::fprintf(stderr, "config: cannot save %s: %s\n", path, why.c_str());
    return false;
}

std::string CConfigStore::GetString(const char* section, const char* key) const {
    const std::string* value = FindValue(m_StringValues, section, key);
    return value != nullptr ? *value : std::string();
}

double CConfigStore::GetNumber(const char* section, const char* key) const {
    const double* value = FindValue(m_DoubleValues, section, key);
    return value != nullptr ? *value : 0;
}

void CConfigStore::SetString(const char* section, const char* key, const char* value) {
    if (value != nullptr) StoreValue(m_StringValues, section, key, std::string(value));
}

void CConfigStore::SetNumber(const char* section, const char* key, double value) {
    StoreValue(m_DoubleValues, section, key, value);
}

void CConfigStore::DeleteSection(const char* section) {
    if (section == nullptr) return;
    m_StringValues.erase(section);
    m_DoubleValues.erase(section);
}

TiXmlElement* CConfigStore::BuildRoot() const {
    TiXmlElement* rootNode = new TiXmlElement("root");
    WriteStringValues(rootNode);
    WriteNumberValues(rootNode);
    return rootNode;
}

void CConfigStore::WriteStringValues(TiXmlElement* rootNode) const {
    assert(rootNode != NULL);
    rootNode->LinkEndChild(GroupElement("string_values", m_StringValues,
                                        [](const std::string& data) { return AnsiToUtf8(data.c_str()); }));
}

void CConfigStore::WriteNumberValues(TiXmlElement* rootNode) const {
    assert(rootNode != NULL);
    rootNode->LinkEndChild(GroupElement("number_values", m_DoubleValues, FixedNumber));
}

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
    if (result == XmlLoadResult::Failed) KeepUnreadable(path, why);
    if (result != XmlLoadResult::Loaded) return false;
    m_StringValues.clear();
    m_DoubleValues.clear();
    TiXmlElement* root = document.RootElement();
    if (root == nullptr) return true;
    if (TiXmlElement* strings = root->FirstChildElement("string_values")) ReadStringSections(strings);
    if (TiXmlElement* numbers = root->FirstChildElement("number_values")) ReadNumberSections(numbers);
    return true;
}

// The game saves over the file when it ends; the player's edits stay in the copy.
void CConfigStore::KeepUnreadable(const std::string& path, const std::string& why) {
    const std::string copy = path + kUnreadableSuffix;
    std::string copyWhy;
    if (os::KeepCopy(path, copy, copyWhy))
        std::fprintf(stderr, "config: ignoring %s: %s; it is kept as %s\n", path.c_str(), why.c_str(), copy.c_str());
    else
        std::fprintf(stderr, "config: ignoring %s: %s; no copy kept: %s\n", path.c_str(), why.c_str(), copyWhy.c_str());
}

bool CConfigStore::Save(const char* path) const {
    if (path == nullptr) return false;
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

void CConfigStore::ReadStringSections(TiXmlElement* root) {
    assert(root != NULL);
    ForEachChildElement(root, [this](TiXmlElement* node) { ReadStringSection(node); });
}

// Sections of the same name add up; see ReadStringValue for clashing values.
void CConfigStore::ReadStringSection(TiXmlElement* node) {
    assert(node != NULL);
    const char* name = node->Attribute("name");
    if (name == nullptr) return;
    auto it = m_StringValues.try_emplace(Utf8ToAnsi(name)).first;
    assert(it != m_StringValues.end());
    ReadStringValues(node, &it->second);
}

void CConfigStore::ReadStringValues(TiXmlElement* node, StringSection* addTo) {
    assert(node != NULL);
    assert(addTo != NULL);
    ForEachChildElement(node, [addTo](TiXmlElement* value) { ReadStringValue(value, addTo); });
}

// The first value of a name in the file wins; later ones are dropped.
void CConfigStore::ReadStringValue(TiXmlElement* node, StringSection* addTo) {
    assert(node != NULL);
    assert(addTo != NULL);
    const char* name = node->Attribute("name");
    const char* data = node->Attribute("data");
    if (name != nullptr && data != nullptr) addTo->emplace(Utf8ToAnsi(name), Utf8ToAnsi(data));
}

void CConfigStore::ReadNumberSections(TiXmlElement* root) {
    assert(root != NULL);
    ForEachChildElement(root, [this](TiXmlElement* node) { ReadNumberSection(node); });
}

void CConfigStore::ReadNumberSection(TiXmlElement* node) {
    assert(node != NULL);
    const char* name = node->Attribute("name");
    if (name == nullptr) return;
    auto it = m_DoubleValues.try_emplace(Utf8ToAnsi(name)).first;
    assert(it != m_DoubleValues.end());
    ReadNumberValues(node, &it->second);
}

void CConfigStore::ReadNumberValues(TiXmlElement* node, NumberSection* addTo) {
    assert(node != NULL);
    assert(addTo != NULL);
    ForEachChildElement(node, [addTo](TiXmlElement* value) { ReadNumberValue(value, addTo); });
}

// A number without "data" reads as 0, unlike a string without it.
void CConfigStore::ReadNumberValue(TiXmlElement* node, NumberSection* addTo) {
    assert(node != NULL);
    assert(addTo != NULL);
    const char* name = node->Attribute("name");
    if (name != nullptr) addTo->emplace(Utf8ToAnsi(name), LeadingNumber(node->Attribute("data")));
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

// An owning list of objects in the order of addition: its destructor deletes
// them, first to last, each through its own class.
#pragma once

#include <algorithm>
#include <cstddef>
#include <unordered_set>
#include <vector>

template <class T>
class CPtrVector {
public:
    CPtrVector() = default;
    ~CPtrVector() {
        // Taken out first, so an element's destructor may call Remove safely.
        std::vector<T*> items;
        items.swap(m_Items);
        // A pointer added twice by mistake is deleted once.
        std::unordered_set<T*> deleted;
        for (T* item : items) {
            if (item && deleted.insert(item).second) delete item;
        }
    }
    CPtrVector(const CPtrVector&) = delete;
    CPtrVector& operator=(const CPtrVector&) = delete;

    void Add(T* item) { m_Items.push_back(item); }

    // Drops and deletes, first to last, every element the predicate picks.
    template <class Picks>
    void DeleteIf(Picks picks) {
        std::vector<T*> gone;
        std::unordered_set<T*> picked;
        for (T* item : m_Items)
            if (item && !picked.count(item) && picks(item)) {
                picked.insert(item);
                gone.push_back(item);
            }
        m_Items.erase(std::remove_if(m_Items.begin(), m_Items.end(), [&](T* item) { return picked.count(item) > 0; }),
                      m_Items.end());
        for (T* item : gone) delete item;
    }

    // Drops the first element equal to item without deleting it.
    void Remove(T* item) {
        auto found = std::find(m_Items.begin(), m_Items.end(), item);
        if (found != m_Items.end()) m_Items.erase(found);
    }

    size_t size() const { return m_Items.size(); }
    bool empty() const { return m_Items.empty(); }
    T* operator[](size_t index) const { return m_Items[index]; }
    typename std::vector<T*>::const_iterator begin() const { return m_Items.begin(); }
    typename std::vector<T*>::const_iterator end() const { return m_Items.end(); }

private:
    std::vector<T*> m_Items;
};

// A lazily created, reference-counted process-wide instance. Every GetInstance
// is paired with one Release; the last Release destroys the instance, and the
// next GetInstance builds a fresh one.
#pragma once

template <typename T>
class Singleton {
public:
    static T* GetInstance() {
        if (!s_Instance) s_Instance = new T();
        ++s_RefCount;
        return s_Instance;
    }

    void Release() {
        if (--s_RefCount == 0) delete static_cast<T*>(this);
    }

    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) = delete;

protected:
    Singleton() = default;
    virtual ~Singleton() { s_Instance = nullptr; }

private:
    static inline T* s_Instance = nullptr;
    static inline int s_RefCount = 0;
};

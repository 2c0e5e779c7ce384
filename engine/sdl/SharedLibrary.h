// A shared library opened by its file name while the program runs, and kept
// to the end of the process; its functions are looked up by name.
#pragma once

#include <string>

namespace gfxsdl {

class SharedLibrary {
public:
    // True when open already. False, with the reason in `error`, when the
    // library cannot be opened.
    bool Open(const char* file, std::string& error);
    // False, with the reason in `error`, when the library lacks the function.
    template <typename Function>
    bool Find(const char* name, Function& function, std::string& error) {
        function = reinterpret_cast<Function>(FindSymbol(name, error));
        return function != nullptr;
    }

private:
    void* FindSymbol(const char* name, std::string& error);

    void* m_Handle = nullptr;
};

}  // namespace gfxsdl

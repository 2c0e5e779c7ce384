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

// The functions of one library, found once per process: `findAll` fills them
// from the opened library; the first call that succeeds keeps them. Null,
// with the reason in `error`, until then.
template <typename Functions>
const Functions* OpenLibraryFunctions(const char* file, bool (*findAll)(SharedLibrary&, Functions&, std::string&),
                                      std::string& error) {
    static SharedLibrary library;
    static Functions functions;
    static bool found = false;
    if (!found) found = library.Open(file, error) && findAll(library, functions, error);
    return found ? &functions : nullptr;
}

}  // namespace gfxsdl

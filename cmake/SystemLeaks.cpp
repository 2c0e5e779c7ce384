// Sanitizer builds of the engine tests and of the program: the system's
// libraries (Mesa's software driver with its LLVM, D-Bus through SDL,
// libinstpatch through SDL2_mixer) keep allocations of their own until exit.
// Their leaks are suppressed by library name; every other leak stays reported.
#include <dlfcn.h>

#include <initializer_list>

namespace {

// Keeps Mesa's software driver loaded to the end, so that the leak checker
// can name it in the stacks of its allocations instead of an unloaded
// "unknown module" that no suppression matches.
__attribute__((constructor)) void PinSoftwareDriver() {
    for (const char* path :
         {"/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", "/usr/lib/aarch64-linux-gnu/dri/swrast_dri.so",
          "/usr/lib64/dri/swrast_dri.so", "/usr/lib/dri/swrast_dri.so"}) {
        if (dlopen(path, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE)) return;
    }
}

}  // namespace

extern "C" const char* __lsan_default_suppressions() {
    return "leak:swrast_dri.so\n"
           "leak:libgallium\n"
           "leak:libLLVM\n"
           "leak:libGLX_mesa.so\n"
           "leak:libdbus-1.so\n"
           "leak:libinstpatch\n";
}

// A shared library opened when a program first needs it rather than at
// start-up, for libraries that most runs never call: each one linked in the
// ordinary way is mapped and relocated by every run, and costs it time and
// memory.
#pragma once

#include <dlfcn.h>

namespace tessary {

class SharedLibrary {
  public:
    // Opens the library of that name (its soname); it stays loaded until the
    // process ends, so that the functions found in it can be kept.
    explicit SharedLibrary(const char* soname) : handle(dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {}

    bool IsOpen() const { return handle != nullptr; }

    // Sets function to the library's function of that name; false when the
    // library isn't open or doesn't have it.
    template <typename Function>
    bool Find(const char* name, Function& function) const {
        function = handle ? reinterpret_cast<Function>(dlsym(handle, name)) : nullptr;
        return function != nullptr;
    }

  private:
    void* handle;
};

}  // namespace tessary

#pragma once

#include <string>

namespace dorvane {

// A part of the program kept in a shared library of its own in the program
// folder ("libtessiq-video.so"), so that only the work that needs its heavy
// libraries loads them. A part is loaded on first use and never unloaded.
//
// entry() finds the function a part exports under symbol: null, with the
// system's text in error, when the library cannot be loaded or lacks it.
// Safe from any thread.
class SharedModule
{
public:
    static void *entry(const std::string &fileName, const char *symbol, std::string &error);
};

// The exported function of a part, as a pointer to its type.
template<typename Function>
Function moduleEntry(const std::string &fileName, const char *symbol, std::string &error)
{
    // dlsym gives an object's address; a function's is cast from it.
    return reinterpret_cast<Function>(SharedModule::entry(fileName, symbol, error));
}

} // namespace dorvane

#include "core/app/SharedModule.h"

#include "core/app/ProgramPaths.h"

#include <dlfcn.h>
#include <map>
#include <mutex>

namespace dorvane {

void *SharedModule::entry(const std::string &fileName, const char *symbol, std::string &error)
{
    static std::mutex mutex;
    static std::map<std::string, void *> loaded;
    std::lock_guard lock(mutex);
    void *&handle = loaded[fileName];
    if (!handle) {
        // Its own symbols first: a part never takes another's by chance.
        handle = ::dlopen((programFolder() + fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char *text = ::dlerror();
            error = text ? text : fileName + ": cannot be loaded";
            loaded.erase(fileName);
            return nullptr;
        }
    }
    ::dlerror();
    void *address = ::dlsym(handle, symbol);
    if (!address) {
        const char *text = ::dlerror();
        error = text ? text : fileName + ": " + symbol + " is missing";
    }
    return address;
}

} // namespace dorvane

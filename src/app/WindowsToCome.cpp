#include "app/WindowsToCome.h"

namespace rsgz::app {

const std::set<std::string>& windowsToCome()
{
    static const std::set<std::string> captions = {
        // Every window the program opens is built; a caption added to the menus or the module
        // tables before its window exists is listed here until it is.
    };
    return captions;
}

bool isWindowToCome(const std::string& caption) { return windowsToCome().count(caption) != 0; }

}  // namespace rsgz::app

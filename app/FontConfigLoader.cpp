#include "app/FontConfigLoader.h"

#ifdef CORVANE_FONTCONFIG
#include <fontconfig/fontconfig.h>

#include <system_error>
#endif

FontConfigLoader::FontConfigLoader()
{
#ifdef CORVANE_FONTCONFIG
    // The same call Qt's font database makes first; once it has run, Qt's does nothing. Without a
    // thread, Qt loads the configuration when it first needs it, as it always does.
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
    }
#endif
}

FontConfigLoader::~FontConfigLoader() { wait(); }

void FontConfigLoader::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

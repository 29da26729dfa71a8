#pragma once
// The first font the program asks for makes Qt load the system's font configuration (fontconfig's
// files and caches): several milliseconds of work that needs nothing from the program. A loader
// made before the application object does that on a thread of its own while the application
// object is made; wait() returns once it is done. Where fonts do not come from fontconfig (Windows),
// it does nothing.

#include <thread>

class FontConfigLoader {
public:
    FontConfigLoader();
    ~FontConfigLoader();  // waits
    FontConfigLoader(const FontConfigLoader&) = delete;
    FontConfigLoader& operator=(const FontConfigLoader&) = delete;

    void wait();

private:
    std::thread m_thread;
};

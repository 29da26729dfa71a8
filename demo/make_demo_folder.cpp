// make_demo_folder <output-folder>: writes the made-up demo game folder (data files and unit pictures).

#include <exception>
#include <iostream>

#include "demo/DemoGameFolder.h"

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '\0') {
        std::cerr << "usage: make_demo_folder <output-folder>\n";
        return 1;
    }
    try {
        WriteGameFolder(argv[1], MakeDemoGameFiles());
    } catch (const std::exception& error) {
        std::cerr << "make_demo_folder: " << error.what() << '\n';
        return 1;
    }
    return 0;
}

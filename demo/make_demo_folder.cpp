// make_demo_folder <output-folder>: writes the made-up demo game folder (data files and unit pictures).

#include <exception>
#include <iostream>
#include <string_view>

#include "demo/DemoGameFolder.h"

namespace {

constexpr char kUsage[] = "usage: make_demo_folder <output-folder>\n";  // --help, -h: this line

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::cout << kUsage << "Writes a made-up game folder (data files and unit pictures) for trying Corvane.\n";
        return 0;
    }
    if (argc != 2 || argv[1][0] == '\0' || argv[1][0] == '-') {  // a folder named so is written ./-name
        std::cerr << kUsage;
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

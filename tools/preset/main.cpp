// velmora-preset: inspects and converts preset, bank and MIDI-settings files and state chunks.
#include "tools/preset/Commands.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return velmora::presettool::runCommand(arguments, std::cout, std::cerr);
}

// velmora-snapshot: the editor panel as a PNG, for looking at the artwork and the layout.
#include "editor/EditorBitmaps.h"
#include "tools/snapshot/PanelSnapshot.h"
#include "tools/snapshot/SnapshotOptions.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace velmora;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const snapshot::ParsedOptions parsed = snapshot::parseOptions(arguments);
    if (!parsed.options) {
        std::cerr << "velmora-snapshot: " << parsed.error << "\n" << snapshot::usage();
        return 2;
    }
    const snapshot::SnapshotOptions& options = *parsed.options;
    if (options.help) {
        std::cout << snapshot::usage();
        return 0;
    }

    snapshot::PanelSnapshot panel;
    for (const auto& [tag, value] : options.values) {
        if (!panel.setValue(tag, value)) {
            std::cerr << "velmora-snapshot: no control has tag " << tag << "\n";
            return 2;
        }
    }
    if (options.about) panel.showAbout();
    if (!panel.writePng(options.output)) {
        std::cerr << "velmora-snapshot: cannot write " << options.output << "\n";
        return 1;
    }
    return 0;
}

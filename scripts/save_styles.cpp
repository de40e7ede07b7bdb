// Prints each style block of a settings file as the style editor's Save
// writes it, and the file a save of that block leaves: a check that saving
// writes the same bytes from one build to the next.
#include <fstream>
#include <iostream>
#include <sstream>

#include "settings/settings_file.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: save_styles FILE\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string text = buffer.str();
    settings::Style first;
    settings::ProgramSettings program;
    const settings::ReadResult read = settings::ReadSettingsText(text, first, program);
    for (const std::string& name : read.newStyles) {
        settings::Style style;
        style.CurrentStyle = name;
        settings::ReadSettingsText(text, style, program);
        std::cout << "== " << name << "\r\n" << settings::StyleBlock(style);
        settings::StyleWrite mode = settings::StyleWrite::kSave;
        std::cout << "-- file\r\n" << settings::WriteStyleText(style, &text, mode);
    }
    return 0;
}

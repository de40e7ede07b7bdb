#include "diagram/seek.h"

#include "settings/style.h"

namespace diagram {

namespace {

// Extensions are compared as the rest of the program compares names:
// upper-cased, so a filter typed as "*.BMP" counts as "*.bmp".
bool SameFilter(const std::string& a, const char* b) {
    return settings::Upper(a) == settings::Upper(b);
}

}  // namespace

std::optional<SeekSetup> SeekSetupFor(int purpose, const std::string& previousFilter) {
    SeekSetup setup;
    setup.purpose = purpose;
    switch (purpose) {
        case kSeekSaveImageAs:
            setup.caption = "File Save As...";
            // The picture formats beside BMP; the name's extension decides.
            setup.filters = {"*.bmp", "*.png", "*.svg", "*.pdf"};
            setup.filter = "*.bmp";
            setup.fileName = "Pandrel.bmp";
            break;
        case kSeekOpenBook:
            setup.caption = "Open Book";
            setup.filters = {"*.fen", "*.epd", "*.pbm", "*.pgn"};
            // Image and style filters are no use for books.
            setup.filter = SameFilter(previousFilter, "*.bmp") || SameFilter(previousFilter, "*.sty")
                               ? std::string("*.fen")
                               : previousFilter;
            setup.fileName = "";
            setup.purpose = 0;
            break;
        case kSeekLoadBoard:
        case kSeekLoadPieces: {
            setup.caption = purpose == kSeekLoadBoard ? "Load Board" : "Load Pieces";
            setup.filters = {"*.bmp", "*.gif"};
            const bool gif = SameFilter(previousFilter, "*.gif");
            setup.filter = gif ? "*.gif" : "*.bmp";
            setup.fileName = gif ? "Pandrel.gif" : "Pandrel.bmp";
            break;
        }
        case kSeekImportStyles:
            setup.caption = "Import Styles from...";
            setup.filters = {"*.sty"};
            setup.filter = "*.sty";
            setup.fileName = "Pandrel.sty";
            break;
        case kSeekExportDiagrams: {
            // The name is the folder the diagrams go to; the filter names
            // their format.
            setup.caption = "Export Book Diagrams";
            setup.filters = {"*.png", "*.svg", "*.pdf", "*.bmp"};
            setup.filter = "*.png";
            for (const std::string& f : setup.filters) {
                if (SameFilter(previousFilter, f.c_str())) {
                    setup.filter = f;
                }
            }
            setup.fileName = "Diagrams";
            break;
        }
        case kSeekBookSheet:
            setup.caption = "Print Book Sheet";
            setup.filters = {"*.pdf"};
            setup.filter = "*.pdf";
            setup.fileName = "Sheet.pdf";
            break;
        case kSeekExportLatex:
            setup.caption = "Export LaTeX";
            setup.filters = {"*.tex"};
            setup.filter = "*.tex";
            setup.fileName = "Problem.tex";
            break;
        case kSeekPopeyeInput:
            setup.caption = "Save as Popeye Input";
            setup.filters = {"*.inp"};
            setup.filter = "*.inp";
            setup.fileName = "Problem.inp";
            break;
        default:
            return std::nullopt;
    }
    return setup;
}

bool HasFolderPart(const std::string& name) {
    return name.find_first_of("/\\:") != std::string::npos;
}

std::string CompleteExtension(const std::string& name, const std::string& filter) {
    const size_t d = filter.find('.');
    if (d == std::string::npos || d == 0 || name.find('.') != std::string::npos) {
        return name;
    }
    const std::string tail = filter.substr(d);
    // "name.*" would be a file nobody asked for.
    if (tail.find_first_of("*?;") != std::string::npos) {
        return name;
    }
    return name + tail;
}

std::string CompletePath(const std::string& name, const std::string& folder) {
    if (HasFolderPart(name)) {
        return name;
    }
    if (!folder.empty() && folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

std::optional<std::string> ConfirmedPath(const std::string& name, const std::string& filter,
                                         const std::string& folder) {
    if (name.empty()) {
        return std::nullopt;
    }
    return CompletePath(CompleteExtension(name, filter), folder);
}

std::vector<std::string> FilterPatterns(const std::string& filter) {
    std::vector<std::string> patterns;
    size_t start = 0;
    while (start <= filter.size()) {
        size_t end = filter.find(';', start);
        if (end == std::string::npos) {
            end = filter.size();
        }
        const std::string_view part = settings::Trim(std::string_view(filter).substr(start, end - start));
        if (!part.empty()) {
            patterns.emplace_back(part);
        }
        start = end + 1;
    }
    if (patterns.empty()) {
        patterns.emplace_back("*");
    }
    return patterns;
}

}  // namespace diagram

#include "diagram/seek.h"

#include <utility>

#include "settings/style.h"

namespace diagram {

namespace {

// Extensions are compared as the rest of the program compares names:
// upper-cased, so a filter typed as "*.BMP" counts as "*.bmp".
bool SameFilter(const std::string& a, const char* b) {
    return settings::Upper(a) == settings::Upper(b);
}

// A box that opens on the first of its filters and a name of its own.
void Fill(SeekSetup& setup, const char* caption, std::vector<std::string> filters, const char* fileName) {
    setup.caption = caption;
    setup.filters = std::move(filters);
    setup.filter = setup.filters.front();
    setup.fileName = fileName;
}

}  // namespace

std::optional<SeekSetup> SeekSetupFor(int purpose, const std::string& previousFilter) {
    SeekSetup setup;
    setup.purpose = purpose;
    switch (purpose) {
        case kSeekSaveImageAs:
            // The picture formats beside BMP; the name's extension decides.
            Fill(setup, "File Save As...", {"*.bmp", "*.png", "*.svg", "*.pdf"}, "Pandrel.bmp");
            break;
        case kSeekOpenBook:
            Fill(setup, "Open Book", {"*.fen", "*.epd", "*.pbm", "*.pgn"}, "");
            // Image and style filters are no use for books.
            if (!SameFilter(previousFilter, "*.bmp") && !SameFilter(previousFilter, "*.sty")) {
                setup.filter = previousFilter;
            }
            setup.purpose = 0;
            break;
        case kSeekLoadBoard:
        case kSeekLoadPieces:
            Fill(setup, purpose == kSeekLoadBoard ? "Load Board" : "Load Pieces", {"*.bmp", "*.gif"},
                 "Pandrel.bmp");
            if (SameFilter(previousFilter, "*.gif")) {
                setup.filter = "*.gif";
                setup.fileName = "Pandrel.gif";
            }
            break;
        case kSeekImportStyles:
            Fill(setup, "Import Styles from...", {"*.sty"}, "Pandrel.sty");
            break;
        case kSeekExportDiagrams:
            // The name is the folder the diagrams go to; the filter names
            // their format.
            Fill(setup, "Export Book Diagrams", {"*.png", "*.svg", "*.pdf", "*.bmp"}, "Diagrams");
            for (const std::string& f : setup.filters) {
                if (SameFilter(previousFilter, f.c_str())) {
                    setup.filter = f;
                }
            }
            break;
        case kSeekBookSheet:
            Fill(setup, "Print Book Sheet", {"*.pdf"}, "Sheet.pdf");
            break;
        case kSeekExportLatex:
            Fill(setup, "Export LaTeX", {"*.tex"}, "Problem.tex");
            break;
        case kSeekPopeyeInput:
            Fill(setup, "Save as Popeye Input", {"*.inp"}, "Problem.inp");
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

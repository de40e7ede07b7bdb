#include <gtest/gtest.h>

#include "diagram/seek.h"

using namespace diagram;

namespace {

TEST(SeekSetup, EachPurposeOnEntry) {
    using V = std::vector<std::string>;
    struct Case {
        int purpose;
        const char* previous;
        const char* caption;
        V filters;
        const char* filter;
        const char* name;
        int seekPurpose;
    };
    const V books{"*.fen", "*.epd", "*.pbm", "*.pgn"};
    const V images{"*.bmp", "*.gif"};
    const V formats{"*.png", "*.svg", "*.pdf", "*.bmp"};
    for (const Case& c : {
             Case{0, "*.pgn", "File Save As...", V{"*.bmp", "*.png", "*.svg", "*.pdf"}, "*.bmp",
                  "Pandrel.bmp", 0},
             // Open Book after an image or style use starts at "*.fen"...
             Case{1, "*.bmp", "Open Book", books, "*.fen", "", 0},
             Case{1, "*.sty", "Open Book", books, "*.fen", "", 0},
             Case{1, "*.BMP", "Open Book", books, "*.fen", "", 0},
             // ...and otherwise keeps what the previous use had.
             Case{1, "*.pgn", "Open Book", books, "*.pgn", "", 0},
             Case{1, "*.gif", "Open Book", books, "*.gif", "", 0},
             Case{1, "", "Open Book", books, "", "", 0},
             Case{2, "*.gif", "Load Board", images, "*.gif", "Pandrel.gif", 2},
             Case{2, "*.GIF", "Load Board", images, "*.gif", "Pandrel.gif", 2},
             Case{2, "*.pgn", "Load Board", images, "*.bmp", "Pandrel.bmp", 2},
             Case{3, "*.gif", "Load Pieces", images, "*.gif", "Pandrel.gif", 3},
             Case{3, "*.bmp", "Load Pieces", images, "*.bmp", "Pandrel.bmp", 3},
             Case{4, "*.gif", "Import Styles from...", V{"*.sty"}, "*.sty", "Pandrel.sty", 4},
             // Book export: the format of the previous use when it is one of the four.
             Case{5, "*.SVG", "Export Book Diagrams", formats, "*.svg", "Diagrams", 5},
             Case{5, "*.pgn", "Export Book Diagrams", formats, "*.png", "Diagrams", 5},
             Case{6, "*.bmp", "Print Book Sheet", V{"*.pdf"}, "*.pdf", "Sheet.pdf", 6},
             Case{7, "*.bmp", "Export LaTeX", V{"*.tex"}, "*.tex", "Problem.tex", 7},
             Case{8, "*.bmp", "Save as Popeye Input", V{"*.inp"}, "*.inp", "Problem.inp", 8},
         }) {
        const auto setup = SeekSetupFor(c.purpose, c.previous);
        ASSERT_TRUE(setup) << c.purpose;
        EXPECT_EQ(setup->caption, c.caption);
        EXPECT_EQ(setup->filters, c.filters) << c.purpose;
        EXPECT_EQ(setup->filter, c.filter) << c.purpose << " after " << c.previous;
        EXPECT_EQ(setup->fileName, c.name) << c.purpose << " after " << c.previous;
        EXPECT_EQ(setup->purpose, c.seekPurpose) << c.purpose;
    }
    EXPECT_FALSE(SeekSetupFor(9, "*.bmp"));
    EXPECT_FALSE(SeekSetupFor(-1, "*.bmp"));
}

TEST(SeekConfirm, TypedNames) {
    struct Case {
        const char* name;
        const char* filter;
        const char* folder;
        const char* path;  // nullptr: the window stays open
    };
    for (const Case c : {
             Case{"board", "*.bmp", "/diag", "/diag/board.bmp"},
             Case{"board", "*.bmp", "/diag/", "/diag/board.bmp"},
             Case{"board", "*.bmp", "/", "/board.bmp"},
             // A point in the name: no ending added, the folder goes in front.
             Case{"game.txt", "*.pgn", "/books", "/books/game.txt"},
             // Folders typed: used as typed, the ending still comes from the filter.
             Case{"/other/dir/board", "*.gif", "/diag", "/other/dir/board.gif"},
             Case{"C:\\DIAG\\board", "*.bmp", "/diag", "C:\\DIAG\\board.bmp"},
             Case{"sub/board.bmp", "*.bmp", "/diag", "sub/board.bmp"},
             Case{"/my.dir/board", "*.bmp", "/diag", "/my.dir/board"},
             // Filters that give no usable ending.
             Case{"notes", "*", "/d", "/d/notes"},
             Case{"notes", "*.*", "/d", "/d/notes"},
             Case{"notes", "*.bmp;*.gif", "/d", "/d/notes"},
             Case{"notes", ".bmp", "/d", "/d/notes"},
             Case{"notes", "x.fen", "/d", "/d/notes.fen"},
             Case{"", "*.bmp", "/diag", nullptr},
         }) {
        const auto path = ConfirmedPath(c.name, c.filter, c.folder);
        if (c.path == nullptr) {
            EXPECT_FALSE(path) << c.name;
        } else {
            ASSERT_TRUE(path) << c.name;
            EXPECT_EQ(*path, c.path) << c.name << " with " << c.filter;
        }
    }
}

TEST(SeekFilter, Patterns) {
    using V = std::vector<std::string>;
    EXPECT_EQ(FilterPatterns("*.bmp"), V{"*.bmp"});
    EXPECT_EQ(FilterPatterns(" *.bmp ; *.gif;"), (V{"*.bmp", "*.gif"}));
    EXPECT_EQ(FilterPatterns(""), V{"*"});
    EXPECT_EQ(FilterPatterns(" ; "), V{"*"});
}

}  // namespace

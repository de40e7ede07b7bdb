#pragma once
// The program block: all program-wide state. app/main.cpp owns the one
// block; the main window and, through its host, the other windows get it by
// reference. Plain data of the cores only, so pandrel-cli uses it too.

#include <string>

#include "books/book_state.h"
#include "editing/edit_state.h"
#include "engines/engine_state.h"
#include "position/problem_record.h"
#include "position/vet.h"
#include "settings/style.h"

namespace diagram::ui {

/// Default name of the image Save Image writes.
inline constexpr const char* kDefaultImageName = "Pandrel.bmp";

struct Program {
    position::Vet vet;           ///< The board vector.
    settings::Style style;       ///< The current style record.
    settings::Style savedStyle;  ///< Copy kept while the style window previews.
    settings::ProgramSettings settings;
    editing::EditState editing;
    books::BookState book;
    engines::EngineState engines;

    std::string WorkName;                       ///< "F" and six digits; names this copy's working files.
    std::string ImageName = kDefaultImageName;  ///< File Save Image writes.
    bool KeepWindows = true;                    ///< Secondary windows hide instead of closing.
    int SeekPurpose = 0;                        ///< Purpose handed to the file selection window.
    std::string SeekFile;                       ///< File the file selection window confirmed.
    /// What is published with the position: filled from the book game
    /// shown and the Problem window; the outputs of the problem read it.
    position::ProblemRecord problem;
    /// The stipulation, conditions and twins the solver's window last told
    /// of (Host::solverFieldsChanged): the outputs take them where problem
    /// has none.
    position::ProblemRecord solverProblem;
    /// Save Image, Copy Image and Print put the problem's captions around
    /// the diagram (File > Captions on Output).
    bool CaptionsOnOutput = false;

    /// The board's shape and piece letters of the current style.
    position::BoardShape Shape() const { return style.Shape(); }
};

}  // namespace diagram::ui

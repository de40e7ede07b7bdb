#pragma once
// State of the open book, kept in the program block.

#include <string>

namespace books {

/// The open book: its file and whether a book is open at all.
struct BookState {
    /// File chosen as the book to open (command line, recent files, Open Book).
    std::string BookFile;
    /// True while a book is open.
    bool open = false;
};

}  // namespace books

#include "books/navigation.h"

#include "settings/style.h"

namespace books {

std::string DelComment(std::string_view t) {
    std::string_view s = settings::Trim(t);
    // A tag's value may hold ";" or "{": comments start after its "]".
    size_t from = 0;
    if (s.size() >= 2 && s[1] == '[') {
        const size_t close = s.find(']');
        if (close != std::string_view::npos) {
            from = close;
        }
    }
    for (const char mark : {';', '{'}) {
        const size_t p = s.find(mark, from);
        if (p != std::string_view::npos && p > 0) {
            s = s.substr(0, p);
        }
    }
    if (s.size() < 9) {
        return {};
    }
    return std::string(s.substr(8));
}

std::vector<std::string> ListPieces(std::string_view t) {
    std::vector<std::string> pieces;
    std::string rest(t);
    while (rest.size() >= 34) {
        pieces.push_back(rest.substr(0, 33));
        rest = " " + rest.substr(33);
    }
    pieces.push_back(rest);
    return pieces;
}

namespace {

// The text between the first and the second double quote, if both exist.
bool QuotedValue(std::string_view t, std::string& value) {
    const size_t first = t.find('"');
    if (first == std::string_view::npos) {
        return false;
    }
    const size_t second = t.find('"', first + 1);
    if (second == std::string_view::npos) {
        return false;
    }
    value.assign(t.substr(first + 1, second - first - 1));
    return true;
}

}  // namespace

GameHead FirstPosition(Book& book, int64_t n) {
    GameHead head;
    bool ok = book.ReadGame(n);
    while (ok && book.CurRecord[1] != kEntry) {
        const std::string t = DelComment(book.CurRecord);
        if (settings::Upper(std::string_view(t).substr(0, 6)) != "[STYLE") {
            for (std::string& piece : ListPieces(t)) {
                head.list.push_back(std::move(piece));
            }
        } else if (std::string value; QuotedValue(t, value)) {
            head.styles.push_back(std::move(value));
        }
        ok = book.NextRecord();
    }
    if (ok) {
        // Steps are offered when another position of this game follows.
        std::string next;
        const int64_t r = book.SkipContinuations(book.CurRecNo + 1);
        head.showSteps = r <= book.NRecords && book.ReadRecord(r, next) && next[1] == kEntry &&
                         next.compare(2, kFieldLength, book.CurRecord, 2, kFieldLength) == 0;
    }
    return head;
}

bool StepPosition(Book& book, int index) {
    switch (index) {
        case 1:
            return book.PrevRecord();
        case 2:
            return book.NextRecord();
        case 3:
            while (book.NextRecord()) {
            }
            return true;
        default:
            return false;
    }
}

ShownRecord ShowRecord(const Book& book, const position::BoardShape& shape) {
    ShownRecord shown;
    // A game made of tags alone has no position to show: its last tag line
    // would otherwise be read as a placement ("[Event" has a knight in it).
    // It shows the empty placement, as a game that cannot be read does.
    const bool position = book.CurRecord.size() > 1 && book.CurRecord[1] == 'E';
    const std::string t = (position ? DelComment(book.WholeRecord()) : std::string()) + " -";
    const size_t blank = t.find(' ');
    shown.side = t[blank + 1];
    const char upper = settings::Upper(std::string_view(&shown.side, 1))[0];
    shown.sideLabel = upper == 'W' ? "White moves..." : upper == 'B' ? "Black moves..." : "Move Control:";
    shown.placement = t.substr(0, blank);
    shown.fen = position::FixFEN(shown.placement, shape);
    return shown;
}

std::string GameCaption(const Book& book, int64_t value) {
    const std::string_view field(book.CurRecord.data() + 2, kFieldLength);
    return "Game " + std::string(settings::Trim(field)) + ". (" + std::to_string(value) + " of " +
           std::to_string(book.NGames) + ")";
}

GameView ShowGame(Book& book, int64_t n, const position::BoardShape& shape) {
    GameView view;
    view.head = FirstPosition(book, n);
    view.shown = ShowRecord(book, shape);
    view.caption = GameCaption(book, n);
    return view;
}

}  // namespace books

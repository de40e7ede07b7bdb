#include "books/add_to_book.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "position/set_move.h"
#include "position/vet.h"

namespace books {

namespace {

// Line break of a book that shows none of its own: the one the program
// writes its other files with.
constexpr std::string_view kCrLf = "\r\n";
// How much of a book's end is read to learn its line breaks.
constexpr size_t kTailLength = 4096;

// A text on one line: a line break inside a box or a History line would
// split it in the book, and the rest would be read as another line.
std::string OneLine(std::string_view text) {
    std::string line(text);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return line;
}

std::string_view TrimLeft(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

// The History line without its tally prefix, from its first character that
// is not a blank.
std::string_view Position(std::string_view line) {
    return TrimLeft(position::SkipTally(line));
}

// The piece placement of a History line. Only the placement is put on a
// plane: the side and castling letters of the extra fields may be piece
// letters too ("b" is a black bishop), and after a short placement they
// would land on squares of the board.
std::string_view Placement(std::string_view line) {
    const std::string_view t = Position(line);
    return t.substr(0, t.find(' '));
}

// True when the field after the placement says that Black moves.
bool BlackMoves(std::string_view line) {
    const std::string_view t = Position(line);
    const auto blank = t.find(' ');
    return blank != std::string_view::npos && blank + 1 < t.size() && t[blank + 1] == 'b';
}

std::string ErrnoText(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

void AddTags(const TagTexts& tags, NewGame& game) {
    for (int i = 0; i < kTagBoxes; ++i) {
        if (tags[i].empty()) {
            continue;
        }
        std::string line = TagLine(kTagCaptions[i], tags[i]);
        game.records.push_back({kTag, line});
        game.lines.push_back(std::move(line));
    }
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size);
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (done == 0) {
            errno = EIO;
            return false;
        }
        data += done;
        size -= static_cast<size_t>(done);
    }
    return true;
}

// The line break the book uses, judged by the last one in its tail, and
// whether its last line is still open (no line break after it).
struct Ending {
    std::string_view eol = kCrLf;
    bool open = false;
};

Ending ReadEnding(int fd, off_t size) {
    Ending ending;
    if (size <= 0) {
        return ending;
    }
    const size_t length = static_cast<size_t>(std::min<off_t>(size, kTailLength));
    std::string tail(length, '\0');
    const ssize_t got = ::pread(fd, tail.data(), length, size - static_cast<off_t>(length));
    if (got <= 0) {
        return ending;
    }
    tail.resize(static_cast<size_t>(got));
    const char last = tail.back();
    ending.open = last != '\n' && last != '\r';
    const auto lf = tail.rfind('\n');
    if (lf != std::string::npos) {
        ending.eol = lf > 0 && tail[lf - 1] == '\r' ? kCrLf : std::string_view("\n");
    } else if (tail.find('\r') != std::string::npos) {
        ending.eol = "\r";
    }
    return ending;
}

// Appends the lines to the book file and forces them to disk. On a failure
// the file is cut back to the length it had, so that no half game stays.
AddResult AppendLines(const std::string& path, const std::vector<std::string>& lines) {
    // Not created: a book that has gone away is not replaced by a new file.
    const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
    if (fd < 0) {
        return {AddStatus::kBookNotOpened, ErrnoText("cannot open the book")};
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        AddResult failed{AddStatus::kBookNotOpened, ErrnoText("cannot read the book")};
        ::close(fd);
        return failed;
    }
    const off_t size = st.st_size;
    const Ending ending = ReadEnding(fd, size);
    std::string text;
    // An open last line is ended first, so that the empty line in front of
    // the game really is empty and the book's last line stays as it was.
    if (ending.open) {
        text += ending.eol;
    }
    for (const std::string& line : lines) {
        text += line;
        text += ending.eol;
    }
    if (!WriteAll(fd, text.data(), text.size()) || ::fsync(fd) != 0) {
        AddResult failed{AddStatus::kBookNotWritten, ErrnoText("cannot write the book")};
        if (S_ISREG(st.st_mode) && ::ftruncate(fd, size) == 0) {
            ::fsync(fd);
        }
        ::close(fd);
        return failed;
    }
    // The text is on disk by now; closing cannot take it back.
    ::close(fd);
    return {};
}

}  // namespace

std::string TagLine(std::string_view caption, std::string_view text) {
    return "[" + std::string(caption) + "\"" + OneLine(text) + "\"]";
}

NewGame FENGame(const TagTexts& tags, const std::vector<std::string>& history) {
    NewGame game;
    game.lines.emplace_back();
    AddTags(tags, game);
    game.lines.emplace_back();
    for (const std::string& entry : history) {
        std::string line = OneLine(entry);
        game.records.push_back({kEntry, line});
        game.lines.push_back(std::move(line));
    }
    return game;
}

NewGame PGNGame(const TagTexts& tags, const std::vector<std::string>& history,
                const position::NotationStyle& style) {
    NewGame game;
    game.lines.emplace_back();
    AddTags(tags, game);
    if (history.empty()) {
        return game;
    }
    const std::string first = OneLine(history[0]);
    // Two planes of a board vector of our own hold consecutive positions, so
    // that the board on show (and what was painted of it) stays as it is.
    position::Vet planes{};
    position::Build2(planes, 0, Placement(first), style.shape);

    const int startPlane = BlackMoves(first) ? 1 : 0;
    int number = startPlane;
    std::string line = startPlane == 1 ? "1..." : "";
    // The FEN tag is read by other programs too: it carries the position
    // without the piece tally that Copy FEN may have put in front.
    const std::string_view firstPosition = Position(first);
    if (firstPosition != kStandardFirstLine) {
        game.lines.emplace_back("[SetUp \"1\"]");
        game.lines.push_back("[FEN \"" + std::string(firstPosition) + "\"]");
    }
    game.lines.emplace_back();
    game.records.push_back({kEntry, first});

    for (size_t i = 1; i < history.size(); ++i) {
        const std::string entry = OneLine(history[i]);
        game.records.push_back({kEntry, entry});
        position::Build2(planes, static_cast<int>(i % 2), Placement(entry), style.shape);
        const int prev = static_cast<int>((i + 1) % 2);
        const std::string move = position::SetMove(planes, style, prev).move;
        if (prev == startPlane) {
            ++number;
            line += std::to_string(number) + ".";
        }
        line += move;
        line += ' ';
        if (line.size() > kMoveLineLength) {
            game.lines.push_back(std::move(line));
            line.clear();
        }
    }
    const std::string& result = tags[kResultBox];
    game.lines.push_back(line + " " + (result.empty() ? std::string("*") : OneLine(result)));
    return game;
}

AddResult AppendGame(Book& book, const NewGame& game) {
    if (!book.IsOpen()) {
        return {AddStatus::kNoWorkFile, "no book is open"};
    }
    // A book without games starts its records and numbers afresh.
    const bool noGames = book.FullIndex.empty();
    const int64_t before = noGames ? 0 : book.NRecords;
    const int64_t first = before + 1;
    // Numbered after every game of the book, not only those a search left
    // in the game list: a number of the narrowed list is already taken.
    const std::string field = GameField(static_cast<int64_t>(book.FullIndex.size()) + 1);

    // The records come first: past the book's last record they are not read
    // until the counts take them, so a failure changes nothing the program
    // shows. The old end marker is put back then.
    const auto restoreMarker = [&book] { book.WriteRecord(book.NRecords + 1, EndMarker()); };
    int64_t r = first;
    std::string records;
    for (const NewRecord& rec : game.records) {
        // A long position takes continuation records after its own.
        FormatRecords(rec.kind, field, rec.text, records, game.longRanks);
        for (size_t at = 0; at < records.size(); at += kRecordLength) {
            if (!book.WriteRecord(r, std::string_view(records).substr(at, kRecordLength))) {
                AddResult failed{AddStatus::kWorkFileNotWritten, ErrnoText("cannot write the work file")};
                restoreMarker();
                return failed;
            }
            ++r;
        }
    }
    if (!book.WriteRecord(r, EndMarker())) {
        AddResult failed{AddStatus::kWorkFileNotWritten, ErrnoText("cannot write the work file")};
        restoreMarker();
        return failed;
    }

    AddResult appended = AppendLines(book.BookFile, game.lines);
    if (!appended.ok()) {
        restoreMarker();
        return appended;
    }

    book.NRecords = r - 1;
    book.NGames = (noGames ? 0 : book.NGames) + 1;
    book.GameIndex.push_back(first);
    book.FullIndex.push_back(first);
    return {};
}

AddResult AddToFEN(Book& book, const TagTexts& tags, const std::vector<std::string>& history,
                   bool longRanks) {
    if (history.empty()) {
        return {AddStatus::kNothingToAdd, "the History list is empty"};
    }
    NewGame game = FENGame(tags, history);
    game.longRanks = longRanks;
    return AppendGame(book, game);
}

AddResult AddToPGN(Book& book, const TagTexts& tags, const std::vector<std::string>& history,
                   const position::NotationStyle& style) {
    if (history.empty()) {
        return {AddStatus::kNothingToAdd, "the History list is empty"};
    }
    NewGame game = PGNGame(tags, history, style);
    game.longRanks = LongRanks(style.shape.cols);
    return AppendGame(book, game);
}

AddResult AddToBook(Book& book, const TagTexts& tags, const std::vector<std::string>& history,
                    const position::NotationStyle& style) {
    const std::string& name = book.BookFile;
    std::string ext = name.size() >= 4 ? name.substr(name.size() - 4) : std::string();
    for (char& c : ext) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (ext == ".FEN") {
        return AddToFEN(book, tags, history, LongRanks(style.shape.cols));
    }
    if (ext == ".PGN") {
        return AddToPGN(book, tags, history, style);
    }
    return {AddStatus::kNotABook, "the book is neither a FEN nor a PGN book"};
}

}  // namespace books

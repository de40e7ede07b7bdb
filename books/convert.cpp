#include "books/convert.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <exception>
#include <new>
#include <optional>

#include "books/book_reader.h"
#include "position/placement_writer.h"
#include "position/play_move.h"

namespace books {

namespace {

// The line as the converters see it: trimmed, with one blank appended, so
// that an empty line starts with a blank.
void PrepareLine(std::string_view raw, std::string& line) {
    const std::string_view t = settings::Trim(raw);
    line.assign(t.data(), t.size());
    line.push_back(' ');
}

bool StartsWithUpper(std::string_view text, std::string_view upperPrefix) {
    if (text.size() < upperPrefix.size()) {
        return false;
    }
    for (size_t i = 0; i < upperPrefix.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c != upperPrefix[i]) {
            return false;
        }
    }
    return true;
}

// True when the text holds a blank followed by "b" or "B".
bool BlackToMove(std::string_view fen) {
    for (size_t i = 0; i + 1 < fen.size(); ++i) {
        if (fen[i] == ' ' && (fen[i + 1] == 'b' || fen[i + 1] == 'B')) {
            return true;
        }
    }
    return false;
}

// The frame every converter shares: the game counter, the game-number
// field, the index and the buffered records.
class Conversion {
  public:
    Conversion(Book& book, const ConvertInput& in, int progressEvery)
        : m_book(book), m_in(in), m_writer(book), m_progressEvery(progressEvery) {}

    // Opens the work file; false (with the result set) when it cannot be.
    bool OpenWork() {
        if (!m_book.OpenWorkFile(m_in.workPath)) {
            m_result = {LoadStatus::kNoWorkFile, "cannot create the work file " + m_in.workPath};
            return false;
        }
        return true;
    }

    // Starts with game 1 at record 1, as the text formats do.
    void StartWithGameOne() {
        m_book.NGames = 1;
        m_field = GameField(1);
        m_book.GameIndex.assign(1, 1);
    }

    // A new game starts at the next record; its number is the count.
    void NewGame() { NewGameNumbered(++m_book.NGames); }

    // A new game whose number is given (problem i of a collection).
    void NewGameNumbered(int64_t number) {
        m_field = GameField(number);
        m_book.GameIndex.push_back(m_writer.Next());
        if (m_in.progress && number % m_progressEvery == 0) {
            m_in.progress(number);
        }
    }

    // Drops the last game (a book that ends with tag lines only).
    void DropLastGame() {
        --m_book.NGames;
        if (!m_book.GameIndex.empty()) {
            m_book.GameIndex.pop_back();
        }
    }

    bool Put(char kind, std::string_view text) {
        if (!m_writer.Put(kind, m_field, text)) {
            StopOnWrite();
            return false;
        }
        return true;
    }

    // Room for the next record with its kind and game number filled in;
    // nullptr (and the conversion stopped) when writing failed.
    char* Reserve(char kind) {
        char* room = m_writer.Reserve();
        if (room == nullptr) {
            StopOnWrite();
            return nullptr;
        }
        room[0] = '?';
        room[1] = kind;
        std::memcpy(room + 2, m_field.data(), kFieldLength);
        return room;
    }

    void Commit() { m_writer.Commit(); }

    bool PutEndMarker() {
        if (!m_writer.PutEndMarker()) {
            StopOnWrite();
            return false;
        }
        return true;
    }

    void Stop(std::string reason, bool ioFailure = false) {
        if (m_result.status == LoadStatus::kDone) {
            m_result.status = LoadStatus::kStopped;
            m_result.reason = std::move(reason);
        }
        m_result.ioFailure = m_result.ioFailure || ioFailure;
    }

    // A write of the work file has just failed: errno still holds the
    // system's reason, kept for the user ("No space left on device").
    void StopOnWrite() {
        const int error = errno;
        Stop("cannot write the work file: " + std::string(std::strerror(error)), true);
    }

    // The finishing step: counts and the saved copy of the index.
    LoadResult Finish() {
        const bool failedBefore = m_writer.Failed();
        if (!m_writer.Flush() && !failedBefore) {
            StopOnWrite();
        }
        const int64_t recno = m_writer.Failed() ? m_writer.Written() + 1 : m_writer.Next();
        if (recno == 1) {
            m_book.GameIndex.clear();
        }
        m_book.NRecords = recno - 1;
        if (m_result.ioFailure) {
            // Games whose first record never reached the file are not in the
            // book: what stays is a smaller book that works like any other.
            while (!m_book.GameIndex.empty() && m_book.GameIndex.back() > m_book.NRecords) {
                m_book.GameIndex.pop_back();
            }
            m_book.NGames = static_cast<int64_t>(m_book.GameIndex.size());
        }
        m_book.FullIndex = m_book.GameIndex;
        m_result.games = static_cast<int64_t>(m_book.GameIndex.size());
        return m_result;
    }

    void SetResult(LoadStatus status, std::string reason) { m_result = {status, std::move(reason)}; }

  private:
    Book& m_book;
    const ConvertInput& m_in;
    RecordWriter m_writer;
    int m_progressEvery;
    std::string m_field;
    LoadResult m_result;
};

// Runs a converter body, turning an allocation failure on absurd input into
// a stop that keeps what was converted.
template <typename Body>
LoadResult Guarded(Conversion& conv, Body body) {
    try {
        body();
    } catch (const std::bad_alloc&) {
        conv.Stop("out of memory");
    } catch (const std::exception& e) {
        conv.Stop(e.what());
    }
    return conv.Finish();
}

bool OpenBook(Conversion& conv, LineReader& reader, const std::string& path) {
    if (!reader.Open(path)) {
        conv.SetResult(LoadStatus::kNoBookFile, "cannot open " + path);
        return false;
    }
    return true;
}

bool ReadFailed(Conversion& conv, const LineReader& reader) {
    if (reader.Failed()) {
        conv.Stop("cannot read the book file", true);
        return true;
    }
    return false;
}

// The frame of the text converters: opens the work file and the book, then
// runs body(reader) guarded. The reader is the body's to walk.
template <typename Body>
LoadResult ConvertLines(Conversion& conv, const std::string& path, Body body) {
    if (!conv.OpenWork()) {
        return conv.Finish();
    }
    LineReader reader;
    if (!OpenBook(conv, reader, path)) {
        return conv.Finish();
    }
    return Guarded(conv, [&] { body(reader); });
}

// After a text converter's last line: true when the book was read to its
// end and the end marker written.
bool EndOfBook(Conversion& conv, const LineReader& reader) {
    return !ReadFailed(conv, reader) && conv.PutEndMarker();
}

// Movetext characters that are neither brackets nor token ends.
constexpr std::array<bool, 256> kPlain = [] {
    std::array<bool, 256> plain{};
    plain.fill(true);
    for (const char c : {' ', '.', '(', ')', '{', '}'}) {
        plain[static_cast<unsigned char>(c)] = false;
    }
    return plain;
}();

inline bool IsPlain(char ch) {
    return kPlain[static_cast<unsigned char>(ch)];
}

// The movetext half of the PGN converter: walks tokens, replays them and
// writes one position record per move applied. Nothing here allocates once
// its buffers have grown to the longest token.
class Replay {
  public:
    Replay(Conversion& conv, const ConvertInput& in)
        : m_conv(conv),
          m_style{in.style.Shape(), in.style.ENGLISHNOTATION},
          m_startPos(in.style.STARTPOS),
          m_vet(in.vet),
          m_placement(m_style.shape) {
        m_token.reserve(64);
    }

    // Side to move; none before the game's first position.
    std::optional<position::Side> side;

    void SetUp(std::string_view fen) {
        position::Build2(m_vet, position::kPosition, fen, m_style.shape);
        m_changed = position::PlacementWriter::kAllRanks;
    }

    // One movetext line (trimmed, one blank appended).
    bool Line(std::string_view line) {
        const char* p = line.data();
        const char* const end = p + line.size();
        while (p < end) {
            const char ch = *p;
            if (IsPlain(ch)) {
                // A run of token characters is taken at once.
                const char* q = p + 1;
                while (q < end && IsPlain(*q)) {
                    ++q;
                }
                if (m_depth < 1) {
                    m_token.append(p, static_cast<size_t>(q - p));
                    // A stray closing bracket leaves no lasting harm.
                    m_depth = 0;
                }
                p = q;
                continue;
            }
            if (ch == '(' || ch == '{') {
                ++m_depth;
            } else if (ch == ')' || ch == '}') {
                --m_depth;
            } else if (!EndToken()) {
                return false;
            }
            ++p;
        }
        return true;
    }

    // A new game starts: a bracket left open by the last game's text does
    // not swallow the moves of every later game.
    void NewGame() {
        m_depth = 0;
        m_token.clear();
    }

  private:
    bool EndToken() {
        // Move numbers and results are skipped; castling with zeros is not.
        if (!m_token.empty() && m_token[0] >= '1' && m_token[0] <= '9') {
            m_token.clear();
            return true;
        }
        if (!side) {
            if (!m_conv.Put(kEntry, m_startPos)) {
                return false;
            }
            side = position::Side::kWhite;
            SetUp(m_startPos);
        }
        if (!m_token.empty()) {
            const position::PlayResult r = position::PlayMove(m_vet, m_style, *side, m_token);
            m_changed |= ChangedRanks(r);
            if (r.Applied() && !PutPosition()) {
                return false;
            }
        }
        m_token.clear();
        return true;
    }

    // Ranks a move may have changed: those of its two squares, and for a
    // pawn or a promotion the ranks beside the destination (an en-passant
    // capture empties the square behind it). Anything else: every rank.
    uint32_t ChangedRanks(const position::PlayResult& r) const {
        if (r.status != position::PlayStatus::kMoved || !m_placement.Eight()) {
            return position::PlacementWriter::kAllRanks;
        }
        const int to = r.to / 8;
        uint32_t ranks = (1u << (r.from / 8)) | (1u << to);
        const char kind = m_style.KindOf(m_vet(position::kPosition, r.to));
        if (kind == 'P' || kind == 'p' || std::find(m_token.begin(), m_token.end(), '=') != m_token.end()) {
            ranks |= (to > 0 ? 1u << (to - 1) : 0u) | (to < 7 ? 1u << (to + 1) : 0u);
        }
        return ranks;
    }

    // Writes the position record of the board after a move.
    bool PutPosition() {
        const char* suffix = *side == position::Side::kBlack ? " w - - 0 0" : " b - - 0 0";
        side = position::Other(*side);
        const uint32_t changed = m_changed;
        m_changed = 0;
        if (!m_placement.Eight()) {
            int len = m_placement.Write(m_vet, m_text.data(), changed);
            std::memcpy(m_text.data() + len, suffix, 10);
            len += 10;
            return m_conv.Put(kEntry, std::string_view(m_text.data(), static_cast<size_t>(len)));
        }
        // Written straight into the record: the placement of 8 x 8 squares
        // and the side always fit.
        char* room = m_conv.Reserve(kEntry);
        if (room == nullptr) {
            return false;
        }
        char* text = room + 2 + kFieldLength;
        const int len = m_placement.Write(m_vet, text, changed);
        std::memcpy(text + len, suffix, 10);
        std::memset(text + len + 10, ' ', static_cast<size_t>(kTextLength - len - 10));
        m_conv.Commit();
        return true;
    }

    Conversion& m_conv;
    position::NotationStyle m_style;
    const std::string& m_startPos;
    position::Vet& m_vet;
    position::PlacementWriter m_placement;
    uint32_t m_changed = position::PlacementWriter::kAllRanks;  // ranks changed since the last record
    std::string m_token;
    int64_t m_depth = 0;
    std::array<char, position::kMaxPlacement + 16> m_text{};
};

}  // namespace

BookFormat FormatOf(std::string_view bookFile) {
    const std::string_view ext = bookFile.size() >= 4 ? bookFile.substr(bookFile.size() - 4) : bookFile;
    const std::string upper = settings::Upper(ext);
    if (upper == ".PBM") {
        return BookFormat::kPBM;
    }
    if (upper == ".EPD") {
        return BookFormat::kEPD;
    }
    if (upper == ".PGN") {
        return BookFormat::kPGN;
    }
    return BookFormat::kFEN;
}

std::string ProgressText(int64_t games) {
    return std::to_string(games) + " games";
}

std::string WorkFilePath(const std::string& appDir, const std::string& workName) {
    return appDir + workName + ".tmp";
}

LoadResult LoadFEN(Book& book, const ConvertInput& in) {
    Conversion conv(book, in, 100);
    conv.StartWithGameOne();
    return ConvertLines(conv, book.BookFile, [&](LineReader& reader) {
        std::string_view raw;
        std::string line;
        bool entrySeen = false;
        while (reader.Next(raw)) {
            PrepareLine(raw, line);
            const char c = line[0];
            if (c == ' ' || c == ';' || c == '{' || c == '%' || c == '*') {
                continue;
            }
            if (c == '[') {
                if (entrySeen) {
                    conv.NewGame();
                    entrySeen = false;
                }
                if (!conv.Put(kTag, line)) {
                    return;
                }
            } else {
                if (!conv.Put(kEntry, line)) {
                    return;
                }
                entrySeen = true;
            }
        }
        if (!EndOfBook(conv, reader)) {
            return;
        }
        if (!entrySeen && book.NGames > 1) {
            conv.DropLastGame();
        }
    });
}

LoadResult LoadEPD(Book& book, const ConvertInput& in) {
    Conversion conv(book, in, 100);
    book.NGames = 0;
    book.GameIndex.clear();
    return ConvertLines(conv, book.BookFile, [&](LineReader& reader) {
        std::string_view raw;
        std::string line;
        std::string tag;
        while (reader.Next(raw)) {
            PrepareLine(raw, line);
            const char c = line[0];
            if (c == ' ' || c == ';' || c == '{' || c == '%') {
                continue;
            }
            conv.NewGame();
            // Operations follow the fourth field; the search for the fourth
            // blank starts after the first character.
            size_t p = 0;
            bool fourth = true;
            for (int k = 0; k < 4; ++k) {
                p = line.find(' ', p + 1);
                if (p == std::string::npos) {
                    fourth = false;
                    break;
                }
            }
            if (fourth) {
                size_t from = p + 1;
                while (from < line.size()) {
                    const size_t semi = line.find(';', from);
                    const size_t end = semi == std::string::npos ? line.size() : semi;
                    const std::string_view op =
                        settings::Trim(std::string_view(line).substr(from, end - from));
                    if (op.empty()) {
                        break;
                    }
                    tag.assign("[");
                    tag.append(op);
                    tag.push_back(']');
                    if (!conv.Put(kTag, tag)) {
                        return;
                    }
                    if (semi == std::string::npos) {
                        break;
                    }
                    from = semi + 1;
                }
            }
            if (!conv.Put(kEntry, line)) {
                return;
            }
        }
        EndOfBook(conv, reader);
    });
}

namespace {

// Where the PGN converter stands between lines.
enum class PgnState {
    kTags,        // tags or nothing yet
    kAfterText,   // after movetext, or a blank line following tags: the next tag starts a new game
    kFenPending,  // a FEN tag was read; its position is written at the next blank line
};

}  // namespace

LoadResult LoadPGN(Book& book, const ConvertInput& in) {
    Conversion conv(book, in, 10);
    conv.StartWithGameOne();
    return ConvertLines(conv, book.BookFile, [&](LineReader& reader) {
        Replay replay(conv, in);
        const std::string& startPos = in.style.STARTPOS;
        std::string pending = startPos;
        PgnState state = PgnState::kTags;
        bool tagSeen = false;
        std::string_view raw;
        std::string line;
        while (reader.Next(raw)) {
            PrepareLine(raw, line);
            const char c = line[0];
            if (c == ' ' || c == ';' || c == '%' || c == '*') {
                if (state == PgnState::kFenPending) {
                    if (!conv.Put(kEntry, pending)) {
                        return;
                    }
                    pending = startPos;
                } else {
                    replay.side.reset();
                }
                state = tagSeen ? PgnState::kAfterText : PgnState::kTags;
            } else if (c == '[') {
                tagSeen = true;
                if (state == PgnState::kAfterText) {
                    conv.NewGame();
                    replay.NewGame();
                }
                if (!StartsWithUpper(line, "[FEN")) {
                    if (!conv.Put(kTag, line)) {
                        return;
                    }
                    if (state != PgnState::kFenPending) {
                        state = PgnState::kTags;
                    }
                } else {
                    std::string_view fen = settings::Trim(std::string_view(line).substr(4));
                    if (const size_t q = fen.find('"'); q != std::string_view::npos) {
                        fen.remove_prefix(q + 1);
                        if (const size_t q2 = fen.find('"'); q2 != std::string_view::npos) {
                            fen = fen.substr(0, q2);
                        }
                    }
                    pending.assign(fen);
                    state = PgnState::kFenPending;
                    replay.side = BlackToMove(pending) ? position::Side::kBlack : position::Side::kWhite;
                    replay.SetUp(pending);
                }
            } else {
                state = tagSeen ? PgnState::kAfterText : PgnState::kTags;
                if (!replay.Line(line)) {
                    return;
                }
            }
        }
        if (!EndOfBook(conv, reader)) {
            return;
        }
        if (state == PgnState::kTags && book.NGames >= 2) {
            conv.DropLastGame();
        }
    });
}

namespace {

// The stipulation of a problem from the flags byte, e.g. "h#", "Max Sd#".
std::string Stipulation(int flags) {
    std::string text;
    char goal = '#';
    if (flags >= 32) {
        text = "Max ";
        flags -= 32;
    }
    if (flags >= 16) {
        goal = '=';
        flags -= 16;
    }
    if (flags >= 8) {
        text += 'S';
        flags -= 8;
    }
    switch (flags & 3) {
        case 0:
            if (!text.empty() && text.back() == 'S') {
                text += 'd';
            }
            break;
        case 1:
            text += 'h';
            break;
        case 2:
            text += 's';
            break;
        default:
            text += 'r';
            break;
    }
    text += goal;
    return text;
}

// Letter of a square byte ("1" for an empty square), or '\0' for a byte
// that is no piece code.
char SquareLetter(unsigned char b) {
    switch (b) {
        case 32:
            return '1';
        case 33:
            return 'R';
        case 34:
            return 'Q';
        case 35:
            return 'B';
        case 36:
            return 'N';
        case 37:
            return 'P';
        case 38:
            return 'K';
        case 42:
            return 'k';
        case 43:
            return 'p';
        case 44:
            return 'n';
        case 45:
            return 'b';
        case 46:
            return 'q';
        case 47:
            return 'r';
        default:
            return '\0';
    }
}

constexpr std::array<const char*, 7> kStringTags = {"[White", "[Site",  "[Result", "[ECO",
                                                    "[Comm1", "[Comm2", "[Comm3"};

}  // namespace

LoadResult LoadPBM(Book& book, const ConvertInput& in) {
    Conversion conv(book, in, 100);
    if (!conv.OpenWork()) {
        // The count of the last book would name games this one has not got.
        book.NGames = 0;
        return conv.Finish();
    }
    ByteReader a;
    if (!a.Open(book.BookFile)) {
        book.NGames = 0;
        conv.SetResult(LoadStatus::kNoBookFile, "cannot open " + book.BookFile);
        return conv.Finish();
    }
    return Guarded(conv, [&] {
        const position::BoardShape shape = in.style.Shape();
        unsigned char header[2];
        book.GameIndex.clear();
        if (!a.Read(header, 2)) {
            book.NGames = 0;
            conv.Stop("the file ends before its problem count");
            return;
        }
        book.NGames = header[0] + 256 * header[1] + 1;
        std::string text;
        std::string body;
        std::array<char, position::kMaxPlacement> placement{};
        position::PlacementWriter writer(shape);
        for (int64_t i = 1; i <= book.NGames; ++i) {
            conv.NewGameNumbered(i);
            unsigned char head[4];
            if (!a.Read(head, 4)) {
                conv.Stop("the file ends inside problem " + std::to_string(i));
                return;
            }
            text = "[Event \"" + Stipulation(head[2] & 63) + std::to_string(head[3]) + "\"]";
            if (!conv.Put(kTag, text)) {
                return;
            }
            for (size_t k = 0; k < kStringTags.size(); ++k) {
                unsigned char ref[4];
                if (!a.Read(ref, 4)) {
                    conv.Stop("the file ends inside problem " + std::to_string(i));
                    return;
                }
                const uint64_t at = ref[0] + 256u * ref[1] + 65536u * ref[2];
                char len[2];
                if (!a.ReadAt(at, len, 2)) {
                    conv.Stop("a string of problem " + std::to_string(i) + " lies past the end of the file");
                    return;
                }
                const size_t size =
                    static_cast<unsigned char>(len[0]) + 256u * static_cast<unsigned char>(len[1]);
                if (size == 0) {
                    continue;
                }
                body.resize(size);
                if (!a.ReadAt(at + 2, body.data(), size)) {
                    conv.Stop("a string of problem " + std::to_string(i) + " lies past the end of the file");
                    return;
                }
                text.assign(kStringTags[k]);
                text += " \"";
                text += body;
                text += "\"]";
                if (!conv.Put(kTag, text)) {
                    return;
                }
            }
            unsigned char squares[64];
            if (!a.Read(squares, 64)) {
                conv.Stop("the file ends inside problem " + std::to_string(i));
                return;
            }
            for (int s = 0; s < 64; ++s) {
                const char letter = SquareLetter(squares[s]);
                if (letter == '\0') {
                    conv.Stop("problem " + std::to_string(i) + " has the square byte " +
                              std::to_string(squares[s]));
                    return;
                }
                const size_t q = letter == '1' ? std::string::npos : shape.piecesList.find(letter);
                in.vet(position::kPosition, s) = static_cast<int16_t>(q == std::string::npos ? 0 : q + 1);
            }
            const int len = writer.Write(in.vet, placement.data());
            if (!conv.Put(kEntry, std::string_view(placement.data(), static_cast<size_t>(len)))) {
                return;
            }
        }
        conv.PutEndMarker();
    });
}

std::string IncompleteBookText(const std::string& bookFile, const LoadResult& result) {
    return "Only " + std::to_string(result.games) + (result.games == 1 ? " game" : " games") + " of " +
           bookFile + " could be read (" + result.reason + ").";
}

LoadResult LoadBook(Book& book, const ConvertInput& in) {
    book.CloseWorkFile();
    switch (FormatOf(book.BookFile)) {
        case BookFormat::kPBM:
            return LoadPBM(book, in);
        case BookFormat::kEPD:
            return LoadEPD(book, in);
        case BookFormat::kPGN:
            return LoadPGN(book, in);
        case BookFormat::kFEN:
            break;
    }
    return LoadFEN(book, in);
}

}  // namespace books

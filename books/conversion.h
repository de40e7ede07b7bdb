#pragma once
// The frame the book converters share (convert.cpp, convert_pgn.cpp,
// convert_pbm.cpp): the game counter, the game-number field, the index and
// the buffered records of a conversion, and the reading of text books.
// Not for use outside the converters.

#include <cstdint>
#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "books/book.h"
#include "books/book_reader.h"
#include "books/convert.h"

namespace books::detail {

/// The line as the converters see it: trimmed, with one blank appended, so
/// that an empty line starts with a blank.
void PrepareLine(std::string_view raw, std::string& line);

/// The frame every converter shares: the game counter, the game-number
/// field, the index and the buffered records.
class Conversion {
  public:
    /// A conversion into book, reporting progress every progressEvery games.
    Conversion(Book& book, const ConvertInput& in, int progressEvery)
        : m_book(book), m_in(in), m_writer(book), m_progressEvery(progressEvery) {
        m_writer.longRanks = LongRanks(in.style.BORDERWIDTH);
        m_writer.sink = in.records;
    }

    /// Opens the work file; false (with the result set) when it cannot be.
    bool OpenWork();

    /// Starts with game 1 at record 1, as the text formats do.
    void StartWithGameOne() {
        m_book.NGames = 1;
        m_field = GameField(1);
        m_book.GameIndex.assign(1, 1);
    }

    /// A new game starts at the next record; its number is the count.
    void NewGame() { NewGameNumbered(++m_book.NGames); }

    /// A new game whose number is given (problem i of a collection).
    void NewGameNumbered(int64_t number) {
        m_field = GameField(number);
        m_book.GameIndex.push_back(m_writer.Next());
        if (m_in.progress && number % m_progressEvery == 0) {
            m_in.progress(number);
        }
    }

    /// Drops the last game (a book that ends with tag lines only).
    void DropLastGame() {
        --m_book.NGames;
        if (!m_book.GameIndex.empty()) {
            m_book.GameIndex.pop_back();
        }
    }

    /// Appends a record of the kind with the text; false (and the
    /// conversion stopped) when writing failed.
    bool Put(char kind, std::string_view text) {
        if (!m_writer.Put(kind, m_field, text)) {
            StopOnWrite();
            return false;
        }
        return true;
    }

    /// Room for the next record with its kind and game number filled in;
    /// nullptr (and the conversion stopped) when writing failed.
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

    /// Keeps the record filled in the room Reserve gave.
    void Commit() { m_writer.Commit(); }

    /// Appends a record formatted elsewhere (132 characters), its game
    /// number replaced by the current one; false (and the conversion
    /// stopped) when writing failed.
    bool PutFormatted(const char* record) {
        char* room = m_writer.Reserve();
        if (room == nullptr) {
            StopOnWrite();
            return false;
        }
        std::memcpy(room, record, kRecordLength);
        std::memcpy(room + 2, m_field.data(), kFieldLength);
        m_writer.Commit();
        return true;
    }

    /// Tells the index the key of the position the next record holds
    /// (RecordSink::KnownKey).
    void KeyOfNextRecord(uint64_t key) {
        if (m_in.records != nullptr) {
            m_in.records->KnownKey(m_writer.Next(), key);
        }
    }

    /// Writes the end marker; false (and the conversion stopped) on failure.
    bool PutEndMarker() {
        if (!m_writer.PutEndMarker()) {
            StopOnWrite();
            return false;
        }
        return true;
    }

    /// Stops the conversion for the reason (the first one given is kept);
    /// ioFailure marks a read or write failure the user must be told of.
    void Stop(std::string reason, bool ioFailure = false);

    /// A write of the work file has just failed: errno still holds the
    /// system's reason, kept for the user ("No space left on device").
    void StopOnWrite();

    /// The finishing step: counts and the saved copy of the index.
    LoadResult Finish();

    /// Sets the result of a conversion that could not start.
    void SetResult(LoadStatus status, std::string reason) { m_result = {status, std::move(reason)}; }

  private:
    Book& m_book;
    const ConvertInput& m_in;
    RecordWriter m_writer;
    int m_progressEvery;
    std::string m_field;
    LoadResult m_result;
};

/// Runs a converter body, turning an allocation failure on absurd input into
/// a stop that keeps what was converted.
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

/// Opens the book for reading; false (with the result set) when it cannot be.
bool OpenBook(Conversion& conv, LineReader& reader, const std::string& path);

/// True (and the conversion stopped) when reading the book failed.
bool ReadFailed(Conversion& conv, const LineReader& reader);

/// The frame of the text converters: opens the work file and the book, then
/// runs body(reader) guarded. The reader is the body's to walk.
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

/// After a text converter's last line: true when the book was read to its
/// end and the end marker written.
bool EndOfBook(Conversion& conv, const LineReader& reader);

}  // namespace books::detail

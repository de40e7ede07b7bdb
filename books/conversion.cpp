#include "books/conversion.h"

#include <cerrno>
#include <cstring>

#include "settings/style.h"

namespace books::detail {

void PrepareLine(std::string_view raw, std::string& line) {
    const std::string_view t = settings::Trim(raw);
    line.assign(t.data(), t.size());
    line.push_back(' ');
}

bool Conversion::OpenWork() {
    if (!m_book.OpenWorkFile(m_in.workPath)) {
        m_result = {LoadStatus::kNoWorkFile, "cannot create the work file " + m_in.workPath};
        return false;
    }
    return true;
}

void Conversion::Stop(std::string reason, bool ioFailure) {
    if (m_result.status == LoadStatus::kDone) {
        m_result.status = LoadStatus::kStopped;
        m_result.reason = std::move(reason);
    }
    m_result.ioFailure = m_result.ioFailure || ioFailure;
}

void Conversion::StopOnWrite() {
    const int error = errno;
    Stop("cannot write the work file: " + std::string(std::strerror(error)), true);
}

LoadResult Conversion::Finish() {
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

bool EndOfBook(Conversion& conv, const LineReader& reader) {
    return !ReadFailed(conv, reader) && conv.PutEndMarker();
}

}  // namespace books::detail

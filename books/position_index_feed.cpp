// Handing the records of a conversion to the index builder's own thread:
// they are copied in batches, or the writer's buffers are taken whole, a few
// thousand records of which may wait, so that the conversion goes on while
// the placements are read and hashed.

#include <algorithm>
#include <cstring>
#include <system_error>

#include "books/position_index.h"

namespace books {

namespace {

constexpr int64_t kBatchRecords = 8192;  // records handed to the thread at once
// Records waiting at most (the batches the writer hands over are smaller).
constexpr int64_t kWaitingRecords = 4 * kBatchRecords;

}  // namespace

void IndexBuilder::Records(int64_t first, const char* records, int64_t count) {
    while (count > 0) {
        if (m_filling.count != 0 && (m_filling.first + m_filling.count != first ||
                                     m_filling.count == kBatchRecords || !m_filling.parts.empty())) {
            Handoff();
        }
        if (m_filling.count == 0) {
            m_filling.first = first;
            m_filling.records.resize(static_cast<size_t>(kBatchRecords * kRecordLength));
        }
        const int64_t take = std::min(count, kBatchRecords - m_filling.count);
        std::memcpy(m_filling.records.data() + m_filling.count * kRecordLength, records,
                    static_cast<size_t>(take * kRecordLength));
        m_filling.count += take;
        first += take;
        records += take * kRecordLength;
        count -= take;
    }
}

void IndexBuilder::Adopt(int64_t first, std::vector<char>& buffer, int64_t count) {
    // Records copied or not following on go first: the thread reads records
    // in order.
    if (m_filling.count != 0 && (m_filling.parts.empty() || m_filling.first + m_filling.count != first)) {
        Handoff();
    }
    if (m_filling.count == 0) {
        m_filling.first = first;
    }
    m_filling.parts.emplace_back().swap(buffer);
    m_filling.partCounts.push_back(count);
    m_filling.count += count;
    // The writer's buffers are small: they are handed over several at a
    // time, so that the thread is not woken for each.
    if (m_filling.count >= kBatchRecords) {
        Handoff();
    }
    // The writer gets back a buffer already read, if there is one.
    std::lock_guard lock(m_mutex);
    if (!m_freeParts.empty()) {
        buffer.swap(m_freeParts.back());
        m_freeParts.pop_back();
    }
}

void IndexBuilder::KnownKey(int64_t record, uint64_t key) {
    m_filling.known.emplace_back(record, key);
}

void IndexBuilder::ProcessBatch(Batch& b) {
    m_known.insert(m_known.end(), b.known.begin(), b.known.end());
    b.known.clear();
    if (b.parts.empty()) {
        Process(b.first, b.records.data(), b.count);
        return;
    }
    int64_t first = b.first;
    for (size_t i = 0; i < b.parts.size(); ++i) {
        Process(first, b.parts[i].data(), b.partCounts[i]);
        first += b.partCounts[i];
    }
}

void IndexBuilder::Handoff() {
    if (m_filling.count == 0) {
        return;
    }
    std::unique_lock lock(m_mutex);
    if (!m_worker.joinable()) {
        try {
            m_worker = std::thread([this] { Work(); });
        } catch (const std::system_error&) {
            // No thread to be had: the records are read here instead.
            lock.unlock();
            ProcessBatch(m_filling);
            m_filling.count = 0;
            for (auto& part : m_filling.parts) {
                m_freeParts.push_back(std::move(part));
            }
            m_filling.parts.clear();
            m_filling.partCounts.clear();
            return;
        }
    }
    m_changed.wait(lock, [this] { return m_waitingRecords < kWaitingRecords; });
    m_waitingRecords += m_filling.count;
    m_waiting.push_back(std::move(m_filling));
    if (!m_spare.empty()) {
        m_filling = std::move(m_spare.back());
        m_spare.pop_back();
    } else {
        m_filling = Batch{};
    }
    m_filling.count = 0;
    m_changed.notify_all();
}

void IndexBuilder::Work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_waiting.empty() || m_closed; });
        if (m_waiting.empty()) {
            return;
        }
        Batch b = std::move(m_waiting.front());
        m_waiting.pop_front();
        m_waitingRecords -= b.count;
        m_changed.notify_all();
        lock.unlock();
        ProcessBatch(b);
        lock.lock();
        for (auto& part : b.parts) {
            m_freeParts.push_back(std::move(part));
        }
        b.parts.clear();
        b.partCounts.clear();
        m_spare.push_back(std::move(b));
    }
}

void IndexBuilder::Finish() {
    Handoff();
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
    if (m_worker.joinable()) {
        m_worker.join();
    }
    m_closed = false;
    m_known.clear();
    m_spare.clear();
    m_freeParts.clear();
}

}  // namespace books

#pragma once
// What the fuzz targets share: taking an input apart, a scratch folder for
// the readers that work on files, and the board shapes the position readers
// are tried on.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "position/notation_style.h"
#include "position/vet.h"

namespace fuzz {

/// Takes an input apart front to back: single bytes for choices, lines and
/// counted pieces for texts, the rest for the main text.
class Input {
  public:
    Input(const uint8_t* data, size_t size) : m_text(reinterpret_cast<const char*>(data), size) {}

    /// The next byte, 0 when none is left.
    uint8_t Byte() {
        if (m_text.empty()) {
            return 0;
        }
        const auto b = static_cast<uint8_t>(m_text.front());
        m_text.remove_prefix(1);
        return b;
    }
    /// Text up to the next line feed, which is dropped.
    std::string_view Line() {
        const size_t end = m_text.find('\n');
        const std::string_view line = m_text.substr(0, end);
        m_text.remove_prefix(end == std::string_view::npos ? m_text.size() : end + 1);
        return line;
    }
    /// The next count bytes, or fewer when the input ends first.
    std::string_view Take(size_t count) {
        const std::string_view part = m_text.substr(0, count);
        m_text.remove_prefix(part.size());
        return part;
    }
    std::string_view Rest() const { return m_text; }
    bool Empty() const { return m_text.empty(); }

  private:
    std::string_view m_text;
};

/// Aborts, so that libFuzzer keeps the input, when a property fails.
inline void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "property failed: %s\n", what);
        std::abort();
    }
}

/// A folder of this process for the readers that need files, on a memory
/// file system when there is one; removed when the process ends.
inline const std::string& ScratchFolder() {
    // Kept for the whole run (never destroyed) so the clean-up at exit,
    // which runs after the static objects are gone, can still use it.
    static const std::string* const folder = [] {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path(ec);
        fs::path dir = base / ("pandrel-fuzz-" + std::to_string(getpid()));
        fs::create_directories(dir, ec);
        auto* name = new std::string(dir.string() + "/");
        std::atexit([] {
            std::error_code e;
            std::filesystem::remove_all(ScratchFolder(), e);
        });
        return name;
    }();
    return *folder;
}

/// Writes text to a file, replacing what was there.
inline void WriteFile(const std::string& path, std::string_view text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

/// Board shapes and piece letters, each with its English letters: the
/// standard board, boards of fairy men, the largest boards, narrow ones.
inline position::NotationStyle Shape(uint8_t choice) {
    struct Entry {
        int rows;
        int cols;
        const char* pieces;
        const char* english;
    };
    static constexpr Entry kShapes[] = {
        {8, 8, "pPnNbBrRqQkK", "pPnNbBrRqQkK"},
        {10, 10, "pPnNbBrRqQkKaAcCeE", "pPnNbBrRqQkKbBrRqQ"},
        {20, 20, "pPnNbBrRqQkK", "pPnNbBrRqQkK"},
        {1, 400, "pPkK", "pPkK"},
        {400, 1, "pPkK", "pPkK"},
        {5, 3, "kKqQ", "kKqQ"},
        {12, 9, "pPnNbBrRqQkKgGzZ", "pPnNbBrRqQkKnNnN"},
        {8, 8, "pPsSlLtTdDkK", "pPnNbBrRqQkK"},
    };
    const Entry& e = kShapes[choice % (sizeof kShapes / sizeof kShapes[0])];
    position::NotationStyle style;
    style.shape = {e.rows, e.cols, e.pieces};
    style.englishNotation = e.english;
    return style;
}

}  // namespace fuzz

// The converter of binary PBM problem collections.
#include "books/convert.h"

#include <array>
#include <cstdint>
#include <string>

#include "books/conversion.h"
#include "position/placement_writer.h"

namespace books {

using detail::Conversion;

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

}  // namespace books

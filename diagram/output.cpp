#include "diagram/output.h"

#include <algorithm>
#include <cctype>

namespace diagram {

std::string HtmlImageName(int v, int s, const position::BoardShape& shape) {
    const char squareLetter = position::SqrColor(s, shape.cols) == 0 ? 'w' : 'b';
    const int n = shape.Pieces();
    const int p = position::PieceOf(v, n);
    if (p < 1 || p > n) {
        return std::string("sq") + squareLetter;
    }
    const char letter = shape.piecesList[static_cast<size_t>(p - 1)];
    const unsigned char u = static_cast<unsigned char>(letter);
    const char sideLetter = std::toupper(u) == u ? 'w' : 'b';
    return std::string{letter, sideLetter, squareLetter};
}

std::string HtmlFragment(const position::Vet& vet, const position::BoardShape& shape) {
    std::string h;
    const int squares = std::min(shape.Squares(), position::kMaxSquares);
    int k = 0;
    for (int s = 0; s < squares; ++s) {
        int v = vet(position::kPainted, s);
        // -1 only marks a square the next board update repaints; what it
        // will show is the position plane.
        if (v < 0) {
            v = vet(position::kPosition, s);
        }
        h += "<img src=\"";
        h += HtmlImageName(v, s, shape);
        h += ".gif\">";
        if (++k == shape.cols) {
            h += "<br>\r\n";
            k = 0;
        }
    }
    return h;
}

std::string CompleteImageName(const std::string& imageName) {
    if (imageName.empty()) {
        return kDefaultImageName;
    }
    if (imageName.find('.') == std::string::npos) {
        return imageName + ".bmp";
    }
    return imageName;
}

std::string SavedTitle(const std::string& imageName) {
    return kTitlePrefix + imageName;
}

std::string PrintLine(const std::string& tally, const std::string& fenText) {
    return tally + fenText;
}

double TwipsToDevice(double twips, int dotsPerInch) {
    return twips * dotsPerInch / kTwipsPerInch;
}

}  // namespace diagram

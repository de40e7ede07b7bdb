#include "engines/popeye_notation.h"

#include <array>

namespace engines {

namespace {

// The solver's walk codes: English, German, French (its own tables).
struct WalkNames {
    const char* english;
    const char* german;
    const char* french;
};

constexpr WalkNames kWalks[] = {
    {"K", "K", "R"},    {"P", "B", "P"},    {"Q", "D", "D"},    {"S", "S", "C"},    {"R", "T", "T"},
    {"B", "L", "F"},    {"LE", "LE", "LE"}, {"MA", "MA", "MA"}, {"PA", "PA", "PA"}, {"VA", "VA", "VA"},
    {"RO", "RO", "RO"}, {"G", "G", "S"},    {"N", "N", "N"},    {"Z", "Z", "Z"},    {"CA", "CA", "CH"},
    {"GI", "GI", "GI"}, {"RF", "WF", "CC"}, {"BU", "BU", "BU"}, {"WE", "WE", "VI"}, {"AL", "AL", "AL"},
    {"FE", "FE", "FE"}, {"DA", "DA", "DA"}, {"LI", "LI", "LI"}, {"NE", "NE", "EQ"}, {"L", "H", "L"},
    {"BP", "BB", "PB"}, {"AM", "AM", "AM"}, {"EM", "KN", "IM"}, {"PR", "PR", "PR"}, {"GN", "GN", "G"},
    {"AN", "AN", "AN"}, {"SQ", "EI", "EC"}, {"WA", "WA", "V"},  {"DR", "DR", "DR"}, {"KA", "KA", "KA"},
    {"SS", "SS", "CS"}, {"UU", "UU", "UU"}, {"HA", "HA", "HA"}, {"M", "EL", "E"},   {"EA", "AD", "AI"},
    {"SW", "SP", "M"},  {"AR", "ER", "AR"}, {"RB", "RL", "FR"}, {"C", "KL", "CA"},  {"NH", "NH", "SN"},
    {"DU", "DU", "PI"}, {"CR", "CR", "CN"}, {"ZR", "ZR", "ZN"}, {"GR", "GR", "GN"}, {"CH", "CH", "SC"},
    {"ZH", "ZH", "SZ"}, {"GH", "GH", "SG"}, {"DS", "DS", "CD"}, {"BK", "RS", "CR"}, {"EQ", "EQ", "EA"},
    {"CT", "CT", "CT"}, {"BS", "BS", "BS"}, {"SP", "SB", "SP"}, {"RL", "TL", "TL"}, {"BL", "LL", "FL"},
    {"SI", "SI", "SI"}, {"TR", "TR", "TR"}, {"ND", "ND", "NE"}, {"O", "O", "O"},    {"EH", "RD", "EH"},
    {"MO", "MO", "MO"}, {"RR", "TJ", "TC"}, {"BR", "LJ", "FC"}, {"AO", "AO", "AO"}, {"OA", "OA", "OA"},
    {"RH", "TH", "ST"}, {"BH", "LH", "SF"}, {"EK", "EK", "RE"}, {"BT", "PF", "BT"}, {"GT", "PN", "GT"},
    {"SK", "SK", "SK"}, {"CY", "CY", "CY"}, {"CG", "KG", "SA"}, {"RN", "RN", "RL"}, {"RP", "RH", "RS"},
    {"OK", "OK", "OK"}, {"37", "37", "37"}, {"G2", "G2", "S2"}, {"G3", "G3", "S3"}, {"16", "16", "16"},
    {"24", "24", "24"}, {"35", "35", "35"}, {"DG", "DG", "DS"}, {"KH", "KH", "SR"}, {"OR", "OR", "OR"},
    {"15", "15", "15"}, {"25", "25", "25"}, {"GL", "GL", "GL"}, {"LR", "HT", "LT"}, {"LB", "HL", "LF"},
    {"LN", "HN", "LN"}, {"WR", "WR", "VS"}, {"FR", "FR", "FS"}, {"BI", "BI", "BI"}, {"ET", "ET", "EL"},
    {"NA", "NA", "NA"}, {"RM", "TC", "ET"}, {"RE", "TA", "AT"}, {"RW", "TS", "MT"}, {"BM", "LC", "EF"},
    {"BE", "LA", "AF"}, {"BW", "LS", "MF"}, {"RA", "RA", "RA"}, {"SO", "SO", "SO"}, {"MG", "MG", "MG"},
    {"36", "36", "36"}, {"NL", "NL", "NL"}, {"ML", "ML", "ML"}, {"MM", "MM", "MM"}, {"F", "F", "A"},
    {"DO", "DE", "DN"}, {"RT", "HE", "LA"}, {"BO", "BO", "BO"}, {"QE", "QE", "QA"}, {"QF", "QF", "QF"},
    {"QQ", "OD", "QQ"}, {"B1", "B1", "B1"}, {"B2", "B2", "B2"}, {"B3", "B3", "B3"}, {"CP", "CB", "PC"},
    {"RK", "RP", "CL"}, {"PP", "RB", "PV"}, {"LS", "LR", "LR"}, {"ZE", "ZE", "ZE"}, {"BN", "NR", "NR"},
    {"S2", "S2", "N2"}, {"S4", "S4", "N4"}, {"S1", "S1", "N1"}, {"S3", "S3", "N3"}, {"QN", "QN", "QN"},
    {"DK", "DT", "DT"}, {"DB", "DL", "DF"}, {"NO", "NO", "NO"}, {"TH", "UH", "SB"}, {"LH", "BH", "SE"},
    {"GE", "GU", "SM"}, {"GF", "GB", "SU"}, {"KL", "LK", "KL"}, {"KO", "KO", "KO"}, {"KP", "SH", "SV"},
    {"SH", "SC", "BA"}, {"GY", "GY", "GY"}, {"MS", "MS", "CM"}, {"PO", "PO", "PO"}, {"MP", "MB", "PM"},
    {"MH", "MC", "BM"}, {"ST", "ST", "EP"}, {"SE", "SE", "DG"}, {"FA", "FA", "FA"}, {"LO", "LO", "LO"},
    {"SA", "SA", "SL"}, {"AH", "AH", "AS"}, {"OH", "OH", "OS"}, {"HC", "HK", "HC"}, {"EE", "AE", "AE"},
    {"EN", "AQ", "AQ"}, {"SC", "SR", "SS"},
};

bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsWalkChar(char c) {
    return (c >= 'A' && c <= 'Z') || IsDigit(c);
}

// A cursor over one token of the protocol.
struct Reader {
    std::string_view text;
    size_t pos = 0;

    bool AtEnd() const { return pos >= text.size(); }
    char Peek(size_t ahead = 0) const { return pos + ahead < text.size() ? text[pos + ahead] : '\0'; }
    bool Take(std::string_view word) {
        if (text.substr(pos, word.size()) == word) {
            pos += word.size();
            return true;
        }
        return false;
    }

    std::optional<SquareRef> Square() {
        if (!IsLower(Peek()) || !IsDigit(Peek(1))) {
            return std::nullopt;
        }
        const size_t start = pos;
        SquareRef square;
        square.file = Peek() - 'a';
        pos += 1;
        int rank = 0;
        int digits = 0;
        while (IsDigit(Peek()) && digits < 2) {
            rank = rank * 10 + (Peek() - '0');
            ++pos;
            ++digits;
        }
        if (rank < 1) {
            pos = start;
            return std::nullopt;
        }
        square.rank = rank;
        return square;
    }

    std::string Walk() {
        std::string walk;
        while (IsWalkChar(Peek()) && walk.size() < 2) {
            walk += Peek();
            ++pos;
        }
        // A hunter: its forward and backward walks.
        if (!walk.empty() && Peek() == '/' && IsWalkChar(Peek(1))) {
            walk += '/';
            ++pos;
            size_t n = 0;
            while (IsWalkChar(Peek()) && n < 2) {
                walk += Peek();
                ++pos;
                ++n;
            }
        }
        return walk;
    }

    // A man: [colour] attributes walk square. A pawn may be written by its
    // square alone when nothing stands in front of it.
    std::optional<ManRef> Man(bool withColour) {
        const size_t start = pos;
        ManRef man;
        std::string lower;
        while (IsLower(Peek())) {
            lower += Peek();
            ++pos;
        }
        if (IsDigit(Peek())) {
            if (lower.empty()) {
                pos = start;
                return std::nullopt;
            }
            // The last letter was the square's file.
            pos -= 1;
            lower.pop_back();
        } else {
            man.walk = Walk();
            if (man.walk.empty()) {
                pos = start;
                return std::nullopt;
            }
        }
        if (withColour && !lower.empty()) {
            man.colour = lower.front();
            lower.erase(0, 1);
        }
        man.attrs = lower;
        const std::optional<SquareRef> square = Square();
        if (!square) {
            pos = start;
            return std::nullopt;
        }
        man.square = *square;
        return man;
    }
};

// "=" and what follows: a colour letter, or attributes and a walk.
bool ReadChange(Reader& r, Effect& effect) {
    std::string lower;
    while (IsLower(r.Peek())) {
        lower += r.Peek();
        ++r.pos;
    }
    const std::string walk = r.Walk();
    if (walk.empty()) {
        if (lower.size() != 1) {
            return false;
        }
        effect.kind = EffectKind::kRecolour;
        effect.colour = lower.front();
        return true;
    }
    effect.kind = EffectKind::kRewalk;
    effect.man.attrs = lower;
    effect.man.walk = walk;
    return true;
}

Effect ReadBracket(std::string_view inside) {
    Effect effect;
    effect.text = std::string(inside);
    Reader r{inside};
    if (r.Take("+")) {
        if (const auto man = r.Man(true); man && r.AtEnd()) {
            effect.kind = EffectKind::kAdd;
            effect.man = *man;
            effect.square = man->square;
        }
        return effect;
    }
    if (r.Take("-")) {
        if (const auto man = r.Man(true); man && r.AtEnd()) {
            effect.kind = EffectKind::kRemove;
            effect.man = *man;
            effect.square = man->square;
        }
        return effect;
    }
    if (r.Take("=")) {
        Effect change;
        if (ReadChange(r, change) && r.AtEnd()) {
            change.text = effect.text;
            return change;
        }
        return effect;
    }
    if (const auto square = r.Square(); square && r.Peek() == '=') {
        ++r.pos;
        Effect change;
        if (ReadChange(r, change) && r.AtEnd()) {
            change.square = *square;
            change.text = effect.text;
            return change;
        }
        return effect;
    }
    r.pos = 0;
    const std::optional<ManRef> man = r.Man(true);
    if (!man) {
        return effect;
    }
    if (r.Take("->")) {
        Reader rest = r;
        if (const auto square = rest.Square(); square && rest.AtEnd()) {
            effect.kind = EffectKind::kTransfer;
            effect.man = *man;
            effect.square = man->square;
            effect.to = *square;
            return effect;
        }
        if (const auto changed = r.Man(true); changed && r.AtEnd()) {
            effect.kind = EffectKind::kTransfer;
            effect.man = *changed;
            effect.man.colour = changed->colour ? changed->colour : man->colour;
            effect.square = man->square;
            effect.to = changed->square;
        }
        return effect;
    }
    if (r.Take("<-->")) {
        if (const auto other = r.Man(true); other && r.AtEnd()) {
            effect.kind = EffectKind::kExchange;
            effect.man = *man;
            effect.square = man->square;
            effect.to = other->square;
        }
    }
    return effect;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

bool OneOf(std::string_view word, std::initializer_list<std::string_view> words) {
    for (std::string_view w : words) {
        if (word == w) {
            return true;
        }
    }
    return false;
}

TwinChange ReadTwinChange(std::string_view item) {
    TwinChange change;
    change.text = std::string(item);
    const size_t blank = item.find(' ');
    const std::string_view word = item.substr(0, blank);
    const std::string_view rest =
        blank == std::string_view::npos ? std::string_view{} : Trim(item.substr(blank));
    if (OneOf(word, {"rotate", "Drehung", "rotation"})) {
        int degrees = 0;
        for (char c : rest) {
            if (!IsDigit(c)) {
                return change;
            }
            degrees = degrees * 10 + (c - '0');
            if (degrees > 360) {
                return change;
            }
        }
        if (degrees == 90 || degrees == 180 || degrees == 270) {
            change.kind = TwinChangeKind::kRotate;
            change.degrees = degrees;
        }
        return change;
    }
    if (OneOf(word, {"mirror", "Spiegelung", "miroir"})) {
        const size_t arrow = rest.find("<-->");
        if (arrow != std::string_view::npos && ParseSquare(rest.substr(0, arrow)) &&
            ParseSquare(rest.substr(arrow + 4))) {
            change.kind = TwinChangeKind::kMirror;
            change.from = std::string(rest.substr(0, arrow));
            change.into = std::string(rest.substr(arrow + 4));
        }
        return change;
    }
    if (OneOf(word, {"shift", "Verschiebung", "translation"})) {
        const size_t arrow = rest.find("==>");
        if (arrow != std::string_view::npos) {
            const auto a = ParseSquare(Trim(rest.substr(0, arrow)));
            const auto b = ParseSquare(Trim(rest.substr(arrow + 3)));
            if (a && b) {
                change.kind = TwinChangeKind::kShift;
                change.man.square = *a;
                change.to = *b;
            }
        }
        return change;
    }
    if (OneOf(item, {"PolishType", "Farbwechsel", "CouleurEchange"})) {
        change.kind = TwinChangeKind::kPolish;
        return change;
    }
    if (const size_t arrow = item.find(" ==> "); arrow != std::string_view::npos) {
        Reader a{item.substr(0, arrow)};
        Reader b{item.substr(arrow + 5)};
        const std::string from = a.Walk();
        const std::string into = b.Walk();
        if (!from.empty() && !into.empty() && a.AtEnd() && b.AtEnd()) {
            change.kind = TwinChangeKind::kSubstitute;
            change.from = from;
            change.into = into;
        }
        return change;
    }
    Reader r{item};
    if (r.Take("+") || r.Take("-")) {
        const bool add = item.front() == '+';
        if (const auto man = r.Man(true); man && man->colour && r.AtEnd()) {
            change.kind = add ? TwinChangeKind::kAdd : TwinChangeKind::kRemove;
            change.man = *man;
        }
        return change;
    }
    const std::optional<ManRef> man = r.Man(true);
    if (!man || !man->colour) {
        return change;
    }
    if (r.Take("-->")) {
        if (const auto to = r.Square(); to && r.AtEnd()) {
            change.kind = TwinChangeKind::kMove;
            change.man = *man;
            change.to = *to;
        }
    } else if (r.Take("<-->")) {
        if (const auto other = r.Man(true); other && r.AtEnd()) {
            change.kind = TwinChangeKind::kExchange;
            change.man = *man;
            change.other = *other;
        }
    }
    return change;
}

}  // namespace

std::string EnglishWalk(std::string_view code, PopeyeLanguage language) {
    if (language == PopeyeLanguage::kEnglish) {
        return std::string(code);
    }
    // Hunters translate part by part.
    if (const size_t slash = code.find('/'); slash != std::string_view::npos) {
        const std::string a = EnglishWalk(code.substr(0, slash), language);
        const std::string b = EnglishWalk(code.substr(slash + 1), language);
        return a.empty() || b.empty() ? std::string() : a + "/" + b;
    }
    for (const WalkNames& w : kWalks) {
        const char* own = language == PopeyeLanguage::kGerman ? w.german : w.french;
        if (code == own) {
            return w.english;
        }
    }
    return {};
}

std::optional<ManColour> ColourOfLetter(char letter, PopeyeLanguage language) {
    switch (language) {
        case PopeyeLanguage::kEnglish:
            if (letter == 'w')
                return ManColour::kWhite;
            if (letter == 'b')
                return ManColour::kBlack;
            if (letter == 'n')
                return ManColour::kNeutral;
            break;
        case PopeyeLanguage::kGerman:
            if (letter == 'w')
                return ManColour::kWhite;
            if (letter == 's')
                return ManColour::kBlack;
            if (letter == 'n')
                return ManColour::kNeutral;
            break;
        case PopeyeLanguage::kFrench:
            // Noir and Neutre share their letter; the pieces lists name
            // Black far more often.
            if (letter == 'b')
                return ManColour::kWhite;
            if (letter == 'n')
                return ManColour::kBlack;
            break;
    }
    return std::nullopt;
}

std::optional<SquareRef> ParseSquare(std::string_view text) {
    Reader r{text};
    const std::optional<SquareRef> square = r.Square();
    return square && r.AtEnd() ? square : std::nullopt;
}

std::optional<HalfMove> ParseHalfMove(std::string_view text) {
    HalfMove move;
    if (text.size() >= 4 && text.substr(text.size() - 4) == " ep.") {
        move.enPassant = true;
        text.remove_suffix(4);
    }
    Reader r{text};
    if (text == "...") {
        move.type = HalfMove::Type::kNull;
        return move;
    }
    if (r.Take("0-0")) {
        move.type = HalfMove::Type::kCastling;
        move.kingSide = !r.Take("-0");
        if (r.Take("/")) {
            const std::optional<ManRef> partner = r.Man(true);
            if (!partner || !r.Take("-")) {
                return std::nullopt;
            }
            const std::optional<SquareRef> to = r.Square();
            if (!to) {
                return std::nullopt;
            }
            move.partner = partner;
            move.partnerTo = *to;
        }
    } else {
        const std::optional<ManRef> man = r.Man(false);
        if (!man) {
            return std::nullopt;
        }
        move.man = *man;
        while (r.Peek() == '-' || r.Peek() == '*') {
            const bool capture = r.Peek() == '*';
            ++r.pos;
            const std::optional<SquareRef> square = r.Square();
            if (!square) {
                return std::nullopt;
            }
            if (capture) {
                move.captures.push_back(*square);
                // A capture on one square that arrives on another is
                // written "*c4-d5": the arrival follows.
                if (r.Peek() != '-') {
                    move.path.push_back(*square);
                }
            } else {
                move.path.push_back(*square);
            }
        }
        if (move.path.empty()) {
            return std::nullopt;
        }
    }
    while (!r.AtEnd()) {
        if (r.Take("=")) {
            Effect effect;
            if (!ReadChange(r, effect)) {
                return std::nullopt;
            }
            move.effects.push_back(effect);
        } else if (r.Take("[")) {
            const size_t close = text.find(']', r.pos);
            if (close == std::string_view::npos) {
                return std::nullopt;
            }
            move.effects.push_back(ReadBracket(text.substr(r.pos, close - r.pos)));
            r.pos = close + 1;
        } else if (r.Take("->v")) {
            // A volcanic memory: nothing on the board.
        } else {
            return std::nullopt;
        }
    }
    return move;
}

std::vector<TwinChange> ParseTwinChanges(std::string_view text) {
    std::vector<TwinChange> changes;
    size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\r')) {
            ++pos;
        }
        if (pos >= text.size()) {
            break;
        }
        // Changes are separated by two blanks; one blank stays inside one.
        size_t end = text.find("  ", pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view item = Trim(text.substr(pos, end - pos));
        if (!item.empty()) {
            changes.push_back(ReadTwinChange(item));
        }
        pos = end;
    }
    return changes;
}

}  // namespace engines

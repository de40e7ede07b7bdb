#include "books/ui/problem_from_book.h"

#include "books/game_tags.h"
#include "diagram/ui/host.h"
#include "position/problem_record.h"

namespace books::ui {

ProblemFromBook::ProblemFromBook(diagram::ui::Host& host) : QObject(&host), m_host(host) {
    connect(&host, &diagram::ui::Host::positionChanged, this, &ProblemFromBook::Sync);
    connect(&host, &diagram::ui::Host::bookOpened, this, [this] {
        m_game.clear();
        Sync();
    });
    connect(&host, &diagram::ui::Host::bookClosed, this, [this] { m_game.clear(); });
}

void ProblemFromBook::Sync() {
    const Book& book = m_host.program().book;
    const std::string game = CurrentGameField(book);
    // Stepping inside one game keeps what the user typed into the record.
    if (game.empty() || game == m_game) {
        return;
    }
    m_game = game;
    std::vector<position::RecordTag> tags;
    for (const Tag& tag : CurrentGameTags(book)) {
        tags.emplace_back(tag.name, tag.value);
    }
    m_host.program().problem = position::RecordFromTags(tags);
    emit m_host.problemChanged();
}

}  // namespace books::ui

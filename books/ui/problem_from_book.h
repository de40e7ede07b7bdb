#pragma once
// Fills the problem record from the book game shown: each time the board
// shows a position of another game, the record is read anew from that
// game's tags. Attach once after making the window:
//     new books::ui::ProblemFromBook(window.host());

#include <QObject>
#include <string>

namespace diagram::ui {
class Host;
}

namespace books::ui {

class ProblemFromBook : public QObject {
    Q_OBJECT

  public:
    explicit ProblemFromBook(diagram::ui::Host& host);

    /// Reads the record of the game shown when it is another game than
    /// the one read last.
    void Sync();

  private:
    diagram::ui::Host& m_host;
    std::string m_game;  // game field of the game read last; "" for none
};

}  // namespace books::ui

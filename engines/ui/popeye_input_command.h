#pragma once
// File > "Save as Popeye Input...": the position and its problem record as
// a Popeye input file a composer keeps and runs by hand. Attach once after
// making the window:
//     new engines::ui::PopeyeInputCommand(window.host());
// (the host owns it).

#include <QObject>
#include <QString>

namespace diagram::ui {
class Host;
}

namespace engines::ui {

class PopeyeInputCommand : public QObject {
    Q_OBJECT

  public:
    explicit PopeyeInputCommand(diagram::ui::Host& host);

    /// Asks for the file and writes it; a problem the solver cannot run is
    /// refused in a "Warning" box.
    void MNPopeyeInput();
    /// Writes the input file of the current position to path; returns the
    /// message for the user ("" when written with nothing to say).
    QString SavePopeyeInput(const QString& path);

  private:
    diagram::ui::Host& m_host;
};

}  // namespace engines::ui

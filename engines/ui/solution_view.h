#pragma once
// The solver's answer as a tree beside the Popeye window's solution list:
// twins, set play, tries, the key, threats, variations and help lines.
// Selecting a node shows the position after it on the main board; the
// problem's position comes back unless the user keeps the one shown.

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engines/solution_replay.h"
#include "engines/solution_tree.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace diagram::ui {
class Host;
}

namespace engines::ui {

/// The tree of a protocol, filled as the protocol grows.
class SolutionView : public QWidget {
    Q_OBJECT

  public:
    SolutionView(diagram::ui::Host& host, QWidget* parent);

    QTreeWidget* TreeSolution() const { return m_tree; }  ///< the tree
    QPushButton* CommandKeep() const { return m_keep; }   ///< "Keep this position"
    QPushButton* CommandOpen() const { return m_open; }   ///< "Open Protocol..."

    /// A new protocol begins for the board's present position.
    void Start();
    /// The protocol as far as written: the text read so far, whole.
    void Update(const std::string& text);
    /// The protocol is complete.
    void Finish();
    /// Reads a saved protocol (.out, .txt) for the board's present position.
    bool OpenProtocol(const QString& path);
    /// The window was hidden: the problem's position returns unless kept.
    void WindowHidden();
    /// Replaces the file chooser of "Open Protocol..." (for tests).
    void SetFileChooser(std::function<QString()> chooser) { m_chooser = std::move(chooser); }

    const SolutionTree& Tree() const { return m_parser->Tree(); }
    /// The item showing node (nullptr when none).
    QTreeWidgetItem* Item(int node) const;

  signals:
    /// A saved protocol was read: its text, for the solution list.
    void protocolOpened(const std::string& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void AddNewNodes();
    QString Label(const SolutionNode& node) const;
    void ShowNode(QTreeWidgetItem* item);
    void Home();
    /// Puts the problem's position back if a node's is still shown.
    void RestoreProblem();
    void Step(bool forward);

    diagram::ui::Host& m_host;
    QTreeWidget* m_tree = nullptr;
    QPushButton* m_keep = nullptr;
    QPushButton* m_open = nullptr;
    std::unique_ptr<SolutionParser> m_parser;
    std::unique_ptr<SolutionReplay> m_replay;
    position::NotationStyle m_style;
    std::vector<QTreeWidgetItem*> m_items;
    size_t m_fed = 0;
    QString m_problemFen;
    QString m_shownFen;
    /// A node's position is on the board, not yet kept.
    bool m_browsing = false;
    std::function<QString()> m_chooser;
};

}  // namespace engines::ui

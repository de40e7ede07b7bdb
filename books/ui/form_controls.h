#pragma once
// What the book's form windows (Search Criteria, Add to) share: text boxes
// with caption labels that answer Enter and Escape, and the Ok, Close and
// Clear All buttons.

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace books::ui {

/// A text box and its caption label.
struct CaptionedBox {
    QLabel* caption = nullptr;
    QLineEdit* box = nullptr;
};

/// The text boxes of a form window. The caption of the box with the focus is
/// framed, a box's whole text is selected when the focus arrives, Enter in a
/// box runs ok and Escape hides the window. Lives as a child of the window.
class FormBoxes : public QObject {
  public:
    FormBoxes(QWidget* window, std::function<void()> ok);

    /// A new box of the window, named "Text1_<index>", and its caption
    /// showing text, named "<captionName>_<index>", with the box as buddy.
    CaptionedBox Add(const QString& captionName, int index, const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* m_window;
    std::function<void()> m_ok;
    std::vector<CaptionedBox> m_boxes;
};

/// The buttons of a form window, in a row.
struct FormButtons {
    QPushButton* Command1 = nullptr;  ///< "O&k"
    QPushButton* Command2 = nullptr;  ///< "Cl&ose"
    QPushButton* Command3 = nullptr;  ///< "Cl&ear All"
    QHBoxLayout* row = nullptr;       ///< The three, left to right.
};

/// Makes the buttons of window: "O&k" runs ok, "Cl&ose" hides the window and
/// "Cl&ear All" runs clearAll. With autoDefault false, Enter on a button
/// does not press it.
FormButtons MakeFormButtons(QWidget* window, const std::function<void()>& ok,
                            const std::function<void()>& clearAll, bool autoDefault = true);

}  // namespace books::ui

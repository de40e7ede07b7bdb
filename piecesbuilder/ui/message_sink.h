#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace piecesbuilder {

/// Where the window's message boxes and its one question go. The program shows real dialogs;
/// tests record them instead.
class MessageSink {
  public:
    virtual ~MessageSink() = default;

    /// A message box with the error icon and an OK button.
    virtual void Error(QWidget* parent, const QString& title, const QString& text) = 0;

    /// A plain message box with an OK button.
    virtual void Inform(QWidget* parent, const QString& title, const QString& text) = 0;

    /// An input box; no value when it is cancelled.
    virtual std::optional<QString> Ask(QWidget* parent, const QString& prompt, const QString& title,
                                       const QString& defaultAnswer) = 0;

    /// A file name to save under, suggested first; no value when it is cancelled.
    virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& title,
                                                const QString& suggested, const QString& filter) = 0;
};

/// The dialogs the user sees.
class DialogSink : public MessageSink {
  public:
    void Error(QWidget* parent, const QString& title, const QString& text) override;
    void Inform(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> Ask(QWidget* parent, const QString& prompt, const QString& title,
                               const QString& defaultAnswer) override;
    std::optional<QString> SaveFileName(QWidget* parent, const QString& title, const QString& suggested,
                                        const QString& filter) override;
};

}  // namespace piecesbuilder

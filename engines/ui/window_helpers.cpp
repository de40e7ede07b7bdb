#include "engines/ui/window_helpers.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QStringDecoder>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "engines/engine_run.h"
#include "platform/ui/services.h"
#include "settings/style.h"

namespace engines::ui {

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->item(i)->text();
    }
    return items;
}

void CopyItems(const QListWidget* list, platform::Clipboard& clipboard) {
    clipboard.Clear();
    QString text;
    for (const QString& item : Items(list)) {
        text += item + QStringLiteral("\r\n");
    }
    if (!text.isEmpty()) {
        clipboard.SetText(text);
    }
}

void PrintItems(const QListWidget* list, const platform::Services& services, QWidget* parent) {
    if (list->count() == 0) {
        return;
    }
    const std::unique_ptr<QPrinter> printer = services.printers->DefaultPrinter();
    if (printer == nullptr) {
        services.messages->Warning(
            parent, QStringLiteral("No printer is installed, so the list cannot be printed.\n\n"
                                   "Add a printer in the system's printer settings, or "
                                   "copy the list with Copy Sol and print it from "
                                   "another program."));
        return;
    }
    PrintLines(*printer, Items(list));
}

bool PrintLines(QPrinter& printer, const QStringList& lines) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const QFontMetrics metrics(painter.font(), &printer);
    const int lineHeight = metrics.lineSpacing();
    const int pageHeight = painter.viewport().height();
    int y = metrics.ascent();
    for (const QString& line : lines) {
        if (y > metrics.ascent() && y + metrics.descent() > pageHeight) {
            printer.newPage();
            y = metrics.ascent();
        }
        painter.drawText(0, y, line);
        y += lineHeight;
    }
    return painter.end();
}

FocusFrame::FocusFrame(QWidget* field, QLabel* label) : QObject(field), m_label(label) {
    field->installEventFilter(this);
}

bool FocusFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        m_label->setFrameStyle(QFrame::Box | QFrame::Plain);
    } else if (event->type() == QEvent::FocusOut &&
               static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        // Opening the field's own pick list keeps it the field being edited.
        m_label->setFrameStyle(QFrame::NoFrame);
    }
    return QObject::eventFilter(watched, event);
}

bool PickListBox::ChosenFromList() const {
    return view()->isVisible() || m_justClosed;
}

void PickListBox::showPopup() {
    m_justClosed = false;
    QComboBox::showPopup();
}

void PickListBox::hidePopup() {
    // The list closes before it reports the item chosen; the report comes
    // within the same event, so the mark lasts until the events are done.
    m_justClosed = true;
    QComboBox::hidePopup();
    QTimer::singleShot(0, this, [this] { m_justClosed = false; });
}

QString FromFile(const std::string& text) {
    // The engines write UTF-8 or plain 8-bit text; the latter is taken byte
    // for byte.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (!utf8.hasError()) {
        return decoded;
    }
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToFile(const QString& text) {
    return text.toStdString();
}

void ReplaceItems(QListWidget* list, const std::vector<std::string>& lines) {
    // Output that grows keeps the items it had: rebuilding thousands of them
    // at every tick would stall the window while a long protocol comes in.
    int keep = 0;
    const int shown = list->count();
    const int wanted = static_cast<int>(lines.size());
    while (keep < shown && keep < wanted &&
           list->item(keep)->text() == FromFile(lines[static_cast<size_t>(keep)])) {
        ++keep;
    }
    while (list->count() > keep) {
        delete list->takeItem(list->count() - 1);
    }
    for (int i = keep; i < wanted; ++i) {
        list->addItem(FromFile(lines[static_cast<size_t>(i)]));
    }
}

void ShowRunTick(QWidget& window, QListWidget* list, QLabel* clock, const RunTick& tick) {
    if (tick.clock) {
        clock->setText(QString::fromStdString(*tick.clock));
        clock->repaint();
    }
    if (tick.showWindow && window.isHidden()) {
        window.show();
    }
    if (tick.itemsChanged) {
        ReplaceItems(list, tick.items);
        list->scrollToBottom();
    }
    if (!tick.message.empty()) {
        list->clear();
        list->addItem(FromFile(tick.message));
    }
}

void FitList(const QWidget& window, QListWidget* list, double widthMargin, double heightMargin) {
    if (window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
        return;
    }
    const int w = window.width() - static_cast<int>(settings::TwipsToPixels(widthMargin));
    const int h = window.height() - static_cast<int>(settings::TwipsToPixels(heightMargin));
    list->resize(std::max(w, 0), std::max(h, 0));
}

}  // namespace engines::ui

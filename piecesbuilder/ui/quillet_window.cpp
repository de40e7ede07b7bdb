#include "ui/quillet_window.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/message_sink.h"
#include "ui/picture_box.h"
#include "ui/pieces_file.h"

namespace piecesbuilder {

namespace {

const QColor kGridColour(255, 0, 0);  // colour value 255
const QColor kLineColour(0, 0, 0);

// Window size beyond the work picture, and its least size, in twips.
constexpr int kWindowExtraHeight = 1050;
constexpr int kWindowExtraWidth = 360;
constexpr int kWindowMinHeight = 1860;
constexpr int kWindowMinWidth = 5175;

// A clipboard picture may carry transparency, but a square takes plain pixels: whatever is
// transparent shows white, as on a fresh grid.
QImage Opaque(const QImage& image) {
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

Arrow ArrowOf(int key) {
    switch (key) {
        case Qt::Key_Left:
            return Arrow::kLeft;
        case Qt::Key_Right:
            return Arrow::kRight;
        case Qt::Key_Up:
            return Arrow::kUp;
        case Qt::Key_Down:
            return Arrow::kDown;
        default:
            return Arrow::kNone;
    }
}

}  // namespace

QuilletWindow::QuilletWindow(MessageSink& messages, QWidget* parent)
    : QMainWindow(parent), m_messages(messages) {
    setWindowTitle("Quillet");

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    m_scroll = new QScrollArea(central);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1 = new PictureBox("Picture1");
    m_scroll->setWidget(Picture1);
    layout->addWidget(m_scroll, 1);
    Label1 = new QLabel(central);
    Label1->setObjectName("Label1");
    layout->addWidget(Label1);
    setCentralWidget(central);

    Picture2 = new PictureBox("Picture2", this);
    Picture2->hide();
    Image1 = new PictureBox("Image1", this);
    Image1->hide();
    // The holder's design size is the start square size.
    Image1->Clear(PixelsOf(kStartSquare), PixelsOf(kStartSquare));
    m_grid.AtualHeight = TwipsOf(Image1->Image().height());
    m_grid.AtualWidth = TwipsOf(Image1->Image().width());
    m_grid.AtualCols = kStartCols;

    BuildMenus();

    connect(Picture1, &PictureBox::Released, this, &QuilletWindow::PasteIntoSquare);
    connect(Picture1, &PictureBox::KeyPressed, this, &QuilletWindow::KeyOnPicture);
}

QString QuilletWindow::HelpTitle() {
    return "Quillet 1.0";
}

QString QuilletWindow::HelpText() {
    const QString crlf = "\r\n";
    return QStringList{"Paste images from clipboard to build a chess pieces set.",
                       "",
                       "1. Cut or copy an image area in your graphic editor.",
                       "2. Then click a square in Quillet view.",
                       "3. The image will be put into the selected square.",
                       "4. Repeat steps from 1 to 3 for each square.",
                       "5. Copy the final image to a graphic editor to save a Pandrel's pieces file."}
        .join(crlf);
}

QAction* QuilletWindow::AddCommand(QMenu* menu, const QString& caption, const char* name, Command command) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, command] { Run(command); });
    return action;
}

void QuilletWindow::BuildMenus() {
    MNfunctions = menuBar()->addMenu("&Functions");
    MNfunctions->setObjectName("MNfunctions");
    MNreset = AddCommand(MNfunctions, "&New", "MNreset", Command::kNew);
    MNfunctions->addSeparator();
    MNline = AddCommand(MNfunctions, "&Line", "MNline", Command::kLine);
    MNdup = AddCommand(MNfunctions, "&Duplicate", "MNdup", Command::kDuplicate);
    MNfunctions->addSeparator();
    MNcopy = AddCommand(MNfunctions, "&Copy", "MNcopy", Command::kCopy);
    MNcopySet = AddCommand(MNfunctions, "Copy S&et", "MNcopySet", Command::kCopySet);
    MNsavePieces = AddCommand(MNfunctions, "&Save Pieces File...", "MNsavePieces", Command::kSavePiecesFile);
    MNsavePieces->setShortcut(QKeySequence::Save);
    MNpaste = AddCommand(MNfunctions, "&Paste", "MNpaste", Command::kPaste);
    MNfunctions->addSeparator();
    MNexit = AddCommand(MNfunctions, "E&xit", "MNexit", Command::kExit);

    MNconvert = menuBar()->addMenu("&Size");
    MNconvert->setObjectName("MNconvert");
    MNaddCol = AddCommand(MNconvert, "Add &Column (--->)", "MNaddCol", Command::kAddColumn);
    MNremoveCol = AddCommand(MNconvert, "&Remove Column (<---)", "MNremoveCol", Command::kRemoveColumn);
    MNconvert->addSeparator();
    MNAllDown = AddCommand(MNconvert, "All Do&wn", "MNAllDown", Command::kAllDown);
    MNTopDown = AddCommand(MNconvert, "T&op Down", "MNTopDown", Command::kTopDown);
    MNconvert->addSeparator();
    MNzoomOut = AddCommand(MNconvert, "Zoo&m Out (-)", "MNzoomOut", Command::kZoomOut);
    MNzoomIn = AddCommand(MNconvert, "Zoom &In (+)", "MNzoomIn", Command::kZoomIn);
    MNconvert->addSeparator();
    MNoffset = AddCommand(MNconvert, QString::fromStdString(OffsetCaption(m_grid)), "MNoffset",
                          Command::kSquareOffset);

    MNhelp = menuBar()->addAction("&Help");
    MNhelp->setObjectName("MNhelp");
    connect(MNhelp, &QAction::triggered, this, [this] { Run(Command::kHelp); });
}

void QuilletWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_started) {
        m_started = true;
        New();
        Picture1->setFocus();
    }
}

void QuilletWindow::Run(Command command) {
    switch (command) {
        case Command::kNew:
            New();
            break;
        case Command::kLine:
            Line();
            break;
        case Command::kDuplicate:
            Duplicate();
            break;
        case Command::kCopy:
            Copy();
            break;
        case Command::kPaste:
            PasteSet();
            break;
        case Command::kExit:
            close();
            break;
        case Command::kAddColumn:
            AddColumn();
            break;
        case Command::kRemoveColumn:
            RemoveColumn();
            break;
        case Command::kAllDown:
            ShrinkSquares(15);
            break;
        case Command::kTopDown:
            ShrinkSquares(30);
            break;
        case Command::kZoomOut:
            ZoomSquares(0.9);
            break;
        case Command::kZoomIn:
            ZoomSquares(1.1);
            break;
        case Command::kSquareOffset:
            SquareOffset();
            break;
        case Command::kHelp:
            Help();
            break;
        case Command::kCopySet:
            CopySet();
            break;
        case Command::kSavePiecesFile:
            SavePiecesFile();
            break;
    }
}

void QuilletWindow::DrawGrid() {
    const Extent picture = PictureExtent(m_grid);
    Picture1->Clear(PixelsOf(picture.width), PixelsOf(picture.height));
    FitWindow();
    const GridLines lines = FrameLines(m_grid);
    {
        QPainter painter(&Picture1->Canvas());
        for (int32_t y : lines.horizontalY) {
            painter.fillRect(QRect(0, PixelsOf(y), PixelsOf(lines.xEnd), 1), kGridColour);
        }
        for (int32_t x : lines.verticalX) {
            painter.fillRect(QRect(PixelsOf(x), 0, 1, PixelsOf(lines.yEnd)), kGridColour);
        }
    }
    Picture1->Changed();
    ShowStatus();
}

void QuilletWindow::DrawLegend(int col) {
    const int first = col == 0 ? 0 : col - 1;
    const int last = col == 0 ? m_grid.AtualCols - 1 : col - 1;
    {
        QPainter painter(&Picture1->Canvas());
        painter.setPen(kGridColour);
        painter.setFont(Picture1->font());
        for (int c = first; c <= last; ++c) {
            const QString letter = QString::fromStdString(LegendLetter(c));
            if (letter.trimmed().isEmpty()) {
                continue;
            }
            for (int row = 0; row < 2; ++row) {
                const Spot at = LegendCorner(m_grid, c, row);
                painter.drawText(QRect(PixelsOf(at.x), PixelsOf(at.y), 1000, 1000),
                                 Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, letter);
            }
        }
    }
    Picture1->Changed();
}

void QuilletWindow::ShowStatus() {
    Label1->setText(QString::fromStdString(StatusText(m_grid)));
}

void QuilletWindow::PutSquare(int row, int col) {
    const Spot corner = SquareCorner(m_grid, row, col);
    {
        QPainter painter(&Picture1->Canvas());
        painter.drawImage(PixelsOf(corner.x), PixelsOf(corner.y), Image1->Image());
    }
    Picture1->Changed();
}

void QuilletWindow::SaveImage() {
    Picture2->SetImage(Picture1->Image());
}

void QuilletWindow::RestoreImage(int widthPx) {
    {
        QPainter painter(&Picture1->Canvas());
        const QImage& saved = Picture2->Image();
        painter.drawImage(QPoint(0, 0), saved, QRect(0, 0, std::min(widthPx, saved.width()), saved.height()));
    }
    Picture1->Changed();
}

void QuilletWindow::FitWindow() {
    const int pictureHeight = TwipsOf(Picture1->height());
    const int pictureWidth = TwipsOf(Picture1->width());
    const int height = std::max(pictureHeight + kWindowExtraHeight, kWindowMinHeight);
    const int width = std::max(pictureWidth + kWindowExtraWidth, kWindowMinWidth);
    resize(PixelsOf(width), PixelsOf(height));
}

void QuilletWindow::ShrinkSquares(int shift) {
    const Grid target = Shrunk(m_grid);
    if (!CheckGrid(target).ok) {
        return;  // squares this small cannot lose two more pixels
    }
    const Extent picture = PictureExtent(target);
    Picture2->Clear(PixelsOf(picture.width), PixelsOf(picture.height));
    {
        QPainter painter(&Picture2->Canvas());
        const QImage& work = Picture1->Image();
        for (const SquareMove& move : ShrinkMoves(m_grid, shift)) {
            painter.drawImage(QPoint(PixelsOf(move.to.x), PixelsOf(move.to.y)), work,
                              QRect(PixelsOf(move.from.x), PixelsOf(move.from.y), PixelsOf(move.size.width),
                                    PixelsOf(move.size.height)));
        }
    }
    Picture1->SetImage(Picture2->Image());
    m_grid = target;
    ShowStatus();
}

void QuilletWindow::ZoomSquares(double factor) {
    const Grid target = Zoomed(m_grid, factor);
    if (!CheckGrid(target).ok) {
        return;  // would outgrow the largest picture
    }
    const Extent picture = PictureExtent(target);
    // Nearest-pixel scaling keeps the flat colours of the squares flat.
    Picture2->SetImage(Picture1->Image().scaled(PixelsOf(picture.width), PixelsOf(picture.height),
                                                Qt::IgnoreAspectRatio, Qt::FastTransformation));
    Picture1->SetImage(Picture2->Image());
    m_grid = target;
    ShowStatus();
    FitWindow();
}

void QuilletWindow::New() {
    DrawGrid();
    DrawLegend(0);
    m_grid.fReset = 1;
    m_filling.Reset(m_grid.AtualCols);
}

void QuilletWindow::Line() {
    {
        QPainter painter(&Picture1->Canvas());
        painter.fillRect(QRect(0, PixelsOf(m_grid.AtualHeight),
                               PixelsOf(int64_t{m_grid.AtualCols} * m_grid.AtualWidth), 1),
                         kLineColour);
    }
    Picture1->Changed();
}

void QuilletWindow::Duplicate() {
    // The scratch takes the first row only, then lies over the second.
    Picture2->Clear(Picture1->Image().width(), PixelsOf(m_grid.AtualHeight));
    {
        QPainter scratch(&Picture2->Canvas());
        scratch.drawImage(0, 0, Picture1->Image());
    }
    {
        QPainter painter(&Picture1->Canvas());
        painter.drawImage(0, PixelsOf(m_grid.AtualHeight - m_grid.Offset), Picture2->Image());
    }
    Picture1->Changed();
    m_filling.DuplicateRow();
}

void QuilletWindow::Copy() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(Picture1->Image());
}

QImage QuilletWindow::PiecesImage() const {
    const Extent set = SetExtent(m_grid);
    QImage image(PixelsOf(set.width), PixelsOf(set.height), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QImage& work = Picture1->Image();
    // Filled squares only: where squares overlap, both hold the same pixels of the work
    // picture, so the order does not matter.
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < m_grid.AtualCols; ++col) {
            if (m_filling.IsFilled({row, col})) {
                const PixelRect r = SquarePixels(m_grid, row, col);
                painter.drawImage(QPoint(r.x, r.y), work, QRect(r.x, r.y, r.width, r.height));
            }
        }
    }
    return image;
}

void QuilletWindow::CopySet() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(PiecesImage());
}

void QuilletWindow::SavePiecesFile() {
    const QString suggested = m_lastPiecesFile.isEmpty() ? QStringLiteral("pieces.bmp") : m_lastPiecesFile;
    const std::optional<QString> chosen =
        m_messages.SaveFileName(this, "Save Pieces File", suggested, "Pieces files (*.bmp *.png)");
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    const QString path = PiecesFileName(*chosen);
    const QString failure = WritePiecesFile(PiecesImage(), path);
    if (!failure.isEmpty()) {
        m_messages.Error(this, "Warning",
                         "The pieces file could not be saved:\r\n" + path + "\r\n" + failure);
        return;
    }
    m_lastPiecesFile = path;
    const Extent set = SetExtent(m_grid);
    Label1->setText(QStringLiteral("Saved %1 (%2 x %3 pixels)")
                        .arg(path)
                        .arg(PixelsOf(set.width))
                        .arg(PixelsOf(set.height)));
}

void QuilletWindow::PasteSet() {
    const QImage bitmap = QGuiApplication::clipboard()->image();
    if (bitmap.isNull()) {
        return;
    }
    const Grid target = FromWholeSet(m_grid, bitmap.width(), bitmap.height());
    if (!CheckGrid(target).ok) {
        return;
    }
    Image1->SetImage(Opaque(bitmap));
    // The picture takes the set's size (and the usual margin), so nothing of a larger set is
    // cut off and Copy gives the whole of it back.
    Picture1->Clear(bitmap.width() + PixelsOf(kPictureMargin), bitmap.height() + PixelsOf(kPictureMargin));
    {
        QPainter painter(&Picture1->Canvas());
        painter.drawImage(0, 0, Image1->Image());
    }
    Picture1->Changed();
    m_grid = target;
    m_filling.FillAll(m_grid.AtualCols);
    FitWindow();
    ShowStatus();
}

void QuilletWindow::AddColumn() {
    const Grid target = WithColumnAdded(m_grid);
    if (!CheckGrid(target).ok) {
        return;
    }
    SaveImage();
    const int oldSetWidth = PixelsOf(SetExtent(m_grid).width);
    m_grid = target;
    m_filling.Resize(m_grid.AtualCols);
    DrawGrid();
    DrawLegend(m_grid.AtualCols);
    // Only the old set comes back: its blank margin would cover the new column's frame and letter.
    RestoreImage(oldSetWidth);
}

void QuilletWindow::RemoveColumn() {
    SaveImage();
    m_grid = WithColumnRemoved(m_grid);
    m_filling.Resize(m_grid.AtualCols);
    DrawGrid();
    RestoreImage(Picture2->Image().width());
}

void QuilletWindow::SquareOffset() {
    const std::optional<QString> answer = m_messages.Ask(this, "Enter a new offset:", "Square Offset", "0");
    if (!answer || answer->isEmpty()) {
        return;
    }
    const std::optional<int16_t> offset = OffsetFromAnswer(answer->toStdString());
    if (!offset) {
        return;
    }
    Grid target = m_grid;
    target.Offset = *offset;
    if (!CheckGrid(target).ok) {
        return;  // an overlap as large as a square leaves no grid to click
    }
    m_grid.Offset = *offset;
    New();
    MNoffset->setText(QString::fromStdString(OffsetCaption(m_grid)));
}

void QuilletWindow::Help() {
    m_messages.Inform(this, HelpTitle(), HelpText());
}

void QuilletWindow::PasteIntoSquare(QPoint pos) {
    const std::optional<Square> square = SquareAt(m_grid, TwipsOf(pos.x()), TwipsOf(pos.y()));
    if (!square) {
        return;
    }
    const QImage bitmap = QGuiApplication::clipboard()->image();
    if (bitmap.isNull()) {
        return;
    }
    Image1->SetImage(Opaque(bitmap));
    const PastePlan plan = PlanSquarePaste(m_grid, bitmap.width(), bitmap.height());
    switch (plan.kind) {
        case PasteKind::kMismatch:
            m_messages.Error(this, "Warning", "Clipboard area and square size are not the same!");
            return;
        case PasteKind::kRefused:
            return;
        case PasteKind::kResizeAndPaint:
            m_grid = plan.grid;
            DrawGrid();
            DrawLegend(0);
            m_filling.Reset(m_grid.AtualCols);
            break;
        case PasteKind::kPaint:
            m_grid = plan.grid;
            break;
    }
    PutSquare(square->row, square->col);
    m_filling.Mark(*square);
}

void QuilletWindow::KeyOnPicture(int key, const QString& text) {
    char typed = 0;
    if (text.size() == 1 && text.at(0).unicode() < 128) {
        typed = static_cast<char>(text.at(0).unicode());
    }
    if (const std::optional<Command> command = CommandForKey(typed, ArrowOf(key))) {
        Run(*command);
    }
}

}  // namespace piecesbuilder

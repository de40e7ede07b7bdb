// The file selection window: set-up per purpose, remembered filters, typed
// names, the lists and the focus cues.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "diagram/ui/tests/window_fixture.h"
#include "diagram/ui/win_seek.h"

using diagram::ui::WinSeek;

namespace {

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text().trimmed();
    return items;
}

// A double click as the desktop delivers it: press, release, double click, release.
void DoubleClick(QListWidget* list, QListWidgetItem* item) {
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

class WinSeekTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        for (const char* name : {"a.bmp", "B.BMP", "c.gif", "game.pgn", "notes.txt", "sub/inner.bmp"}) {
            QDir(m_dir.path()).mkpath(QFileInfo(m_dir.filePath(name)).path());
            QFile f(m_dir.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        QDir(m_dir.path()).mkdir("zeta");
        m_seek = std::make_unique<WinSeek>(m_program);
        ASSERT_TRUE(m_seek->setFolder(m_dir.path()));
    }

    // Shows the window for a purpose, as a caller does, without blocking.
    void Open(int purpose) {
        m_program.SeekPurpose = purpose;
        m_seek->open();
        QApplication::setActiveWindow(m_seek.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_seek.get()));
    }

    // Types a name into the file name box and confirms with Enter.
    void TypeAndEnter(const QString& name) {
        m_seek->Text2()->setFocus();
        m_seek->Text2()->clear();
        QTest::keyClicks(m_seek->Text2(), name);
        QTest::keyClick(m_seek->Text2(), Qt::Key_Return);
    }

    QString Path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }

    QTemporaryDir m_dir;
    diagram::ui::Program m_program;
    std::unique_ptr<WinSeek> m_seek;
};

TEST_F(WinSeekTest, EachPurposeOnFirstUse) {
    struct Case {
        int purpose;
        const char* caption;
        QStringList filters;
        const char* filter;
        const char* name;
        int seekPurpose;
        QStringList files;
    };
    const QStringList images{"*.bmp", "*.gif"};
    for (const Case& c : {
             Case{0, "File Save As...", {"*.bmp"}, "*.bmp", "Pandrel.bmp", 0, {"a.bmp", "B.BMP"}},
             Case{1, "Open Book", {"*.fen", "*.epd", "*.pbm", "*.pgn"}, "*.fen", "", 0, {}},
             Case{2, "Load Board", images, "*.bmp", "Pandrel.bmp", 2, {"a.bmp", "B.BMP"}},
             Case{3, "Load Pieces", images, "*.bmp", "Pandrel.bmp", 3, {"a.bmp", "B.BMP"}},
             Case{4, "Import Styles from...", {"*.sty"}, "*.sty", "Pandrel.sty", 4, {}},
         }) {
        // A fresh window each time: the first use starts from "*.bmp".
        m_seek = std::make_unique<WinSeek>(m_program);
        m_seek->setFolder(m_dir.path());
        Open(c.purpose);
        EXPECT_EQ(m_seek->windowTitle(), c.caption);
        EXPECT_EQ(Items(m_seek->txtSearchSpec()), c.filters) << c.purpose;
        EXPECT_EQ(m_seek->filter(), c.filter) << c.purpose;
        EXPECT_EQ(m_seek->fileName(), c.name) << c.purpose;
        EXPECT_EQ(m_program.SeekPurpose, c.seekPurpose) << c.purpose;
        EXPECT_EQ(Items(m_seek->filList()), c.files) << c.purpose;
        m_seek->CancelCmd()->click();
        EXPECT_FALSE(m_seek->isVisible());
        EXPECT_EQ(m_program.SeekPurpose, c.seekPurpose) << "Cancel leaves the purpose";
    }
}

TEST_F(WinSeekTest, FiltersRememberedBetweenUses) {
    Open(0);  // Save Image As leaves "*.bmp" behind...
    m_seek->CancelCmd()->click();
    Open(1);  // ...so Open Book starts at "*.fen".
    EXPECT_EQ(m_seek->filter(), "*.fen");
    // Choosing "*.pgn" from the list lists the games.
    m_seek->txtSearchSpec()->setFocus();
    m_seek->txtSearchSpec()->setCurrentIndex(3);
    emit m_seek->txtSearchSpec()->activated(3);
    EXPECT_EQ(m_seek->filter(), "*.pgn");
    EXPECT_EQ(Items(m_seek->filList()), QStringList{"game.pgn"});
    m_seek->filList()->setFocus();
    DoubleClick(m_seek->filList(), m_seek->filList()->item(0));
    EXPECT_FALSE(m_seek->isVisible());
    EXPECT_EQ(m_program.SeekPurpose, 1);
    EXPECT_EQ(m_seek->fileName(), Path("game.pgn"));
    EXPECT_EQ(QString::fromStdString(m_program.SeekFile), Path("game.pgn"));

    Open(1);  // The second Open Book keeps "*.pgn", in the same folder.
    EXPECT_EQ(m_seek->filter(), "*.pgn");
    EXPECT_EQ(m_seek->folder(), QDir(m_dir.path()).absolutePath());
    EXPECT_EQ(m_program.SeekPurpose, 0);
    m_seek->CancelCmd()->click();
    EXPECT_EQ(m_program.SeekPurpose, 0) << "Cancel after Open Book: the caller does nothing";

    // "Load Pieces" after a use with "*.gif" proposes "Pandrel.gif".
    Open(2);
    m_seek->txtSearchSpec()->setEditText("*.gif");
    EXPECT_EQ(Items(m_seek->filList()), QStringList{"c.gif"});
    m_seek->CancelCmd()->click();
    Open(3);
    EXPECT_EQ(m_seek->filter(), "*.gif");
    EXPECT_EQ(m_seek->fileName(), "Pandrel.gif");
    m_seek->CancelCmd()->click();
    Open(1);  // A book filter is kept after an image one that is not "*.bmp".
    EXPECT_EQ(m_seek->filter(), "*.gif");
}

TEST_F(WinSeekTest, TypedNames) {
    struct Case {
        int purpose;
        QString typed;
        QString path;
    };
    const QString abs = m_dir.path();
    for (const Case& c : {
             Case{0, "board", Path("board.bmp")},
             Case{0, "board.png", Path("board.png")},
             Case{1, "book", Path("book.fen")},
             Case{4, abs + "/sub/styles", abs + "/sub/styles.sty"},
             Case{0, abs + "/my.dir/board", abs + "/my.dir/board"},
         }) {
        Open(c.purpose);
        TypeAndEnter(c.typed);
        EXPECT_FALSE(m_seek->isVisible()) << c.typed.toStdString();
        EXPECT_EQ(m_program.SeekPurpose, 1);
        EXPECT_EQ(m_seek->fileName(), c.path);
        EXPECT_EQ(QString::fromStdString(m_program.SeekFile), c.path);
    }
}

TEST_F(WinSeekTest, EmptyNameNeitherClosesNorConfirms) {
    Open(4);
    m_seek->Text2()->clear();
    m_seek->OkCmd()->click();
    EXPECT_TRUE(m_seek->isVisible());
    EXPECT_EQ(m_program.SeekPurpose, 4);
    QTest::keyClick(m_seek->Text2(), Qt::Key_Escape);
    EXPECT_FALSE(m_seek->isVisible());
    EXPECT_EQ(m_program.SeekPurpose, 4);
}

TEST_F(WinSeekTest, CloseBoxHidesWhileWindowsAreKept) {
    Open(0);
    EXPECT_FALSE(m_seek->close());  // refused, but hidden
    EXPECT_FALSE(m_seek->isVisible());
    EXPECT_EQ(m_program.SeekPurpose, 0);
    m_program.KeepWindows = false;
    Open(2);
    EXPECT_TRUE(m_seek->close());
    EXPECT_EQ(m_program.SeekPurpose, 2);
}

TEST_F(WinSeekTest, FileAndFolderLists) {
    Open(0);
    EXPECT_EQ(Items(m_seek->filList()), (QStringList{"a.bmp", "B.BMP"}));
    // The folder list: the open folder's ancestors, then its subfolders.
    const QStringList folders = Items(m_seek->dirList());
    EXPECT_EQ(folders.first(), "/");
    EXPECT_EQ(folders.mid(folders.size() - 3),
              (QStringList{QFileInfo(m_dir.path()).fileName(), "sub", "zeta"}));

    // A click puts the file's name in the file name box.
    QListWidget* files = m_seek->filList();
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(1)).center());
    EXPECT_EQ(m_seek->fileName(), "B.BMP");

    // Entering a subfolder lists its files; highlighting one with the keys
    // enters it when the list loses the focus.
    QListWidget* dirs = m_seek->dirList();
    QListWidgetItem* sub = dirs->item(dirs->count() - 2);
    DoubleClick(dirs, sub);
    EXPECT_EQ(m_seek->folder(), QDir(m_dir.path()).absoluteFilePath("sub"));
    EXPECT_EQ(Items(files), QStringList{"inner.bmp"});
    dirs->setFocus();
    QTest::keyClick(dirs, Qt::Key_Up);
    EXPECT_EQ(m_seek->folder(), QDir(m_dir.path()).absoluteFilePath("sub"));
    m_seek->Text2()->setFocus();
    EXPECT_EQ(m_seek->folder(), QDir(m_dir.path()).absolutePath());
    EXPECT_EQ(Items(files), (QStringList{"a.bmp", "B.BMP"}));

    // A name typed without a folder lands in the listed folder.
    TypeAndEnter("inner");
    EXPECT_EQ(m_seek->fileName(), Path("inner.bmp"));
    EXPECT_FALSE(m_seek->setFolder(Path("nowhere")));
}

TEST_F(WinSeekTest, FocusCues) {
    Open(0);
    m_seek->txtSearchSpec()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(m_seek->lblCriteria()->frameShape(), QFrame::Box);
    EXPECT_EQ(m_seek->Label1()->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(m_seek->txtSearchSpec()->lineEdit()->selectedText(), "*.bmp");
    m_seek->Text2()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(m_seek->Label1()->frameShape(), QFrame::Box);
    EXPECT_EQ(m_seek->lblCriteria()->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(m_seek->Text2()->selectedText(), "Pandrel.bmp");
    // The panel fills the window's width.
    EXPECT_EQ(m_seek->Picture1()->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(m_seek->Picture1()->width(), m_seek->width());
}

TEST_F(WinSeekTest, SeekRunsModally) {
    QTimer::singleShot(0, [this] {
        m_seek->Text2()->setText("modal");
        m_seek->OkCmd()->click();
    });
    EXPECT_TRUE(m_seek->Seek(0));
    EXPECT_EQ(m_seek->fileName(), Path("modal.bmp"));
    QTimer::singleShot(0, [this] { m_seek->CancelCmd()->click(); });
    EXPECT_FALSE(m_seek->Seek(1));
    EXPECT_EQ(m_program.SeekPurpose, 0);

    // The window of an owner is made once.
    QWidget owner;
    WinSeek& first = WinSeek::Of(&owner, m_program);
    EXPECT_EQ(&WinSeek::Of(&owner, m_program), &first);
}

}  // namespace

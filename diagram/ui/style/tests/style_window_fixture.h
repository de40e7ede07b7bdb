#pragma once
// The style window's tests: a main window started in a folder of its own
// with two bitmap styles, the Style command around the window, and typing,
// clicking and reading back what was saved.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

#include "diagram/seek.h"
#include "diagram/ui/fen_box.h"
#include "diagram/ui/main_window.h"
#include "diagram/ui/picture_view.h"
#include "diagram/ui/style/pick_color.h"
#include "diagram/ui/style/style_controls.h"
#include "diagram/ui/style/style_window.h"
#include "diagram/ui/style_list.h"
#include "diagram/ui/win_seek.h"
#include "platform/ui/fake_services.h"

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace style_test {

using diagram::ui::MainWindow;
using diagram::ui::StyleWindow;

constexpr const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
constexpr const char* kIni =
    "RecentStyle = Beta\r\n"
    "\r\n"
    "BeginStyle = Alpha\r\n"
    "  PiecesFile = alpha.bmp\r\n"
    "  SqrWidth = 30 \r\n"
    "  SqrHeight = 30 \r\n"
    "EndStyle\r\n"
    "\r\n"
    "BeginStyle = Beta\r\n"
    "  PiecesFile = beta.bmp\r\n"
    "  SqrWidth = 15 \r\n"
    "  SqrHeight = 15 \r\n"
    "  BackColor = &HFF\r\n"
    "  PyDictionary = bet\r\n"
    "EndStyle\r\n";

inline bool IsBoxed(const QLabel* label) {
    return label != nullptr && label->frameStyle() == (QFrame::Box | QFrame::Plain);
}

class StyleWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_cwd = QDir::currentPath();
        ASSERT_TRUE(m_dir.isValid());
        Bitmap("alpha.bmp", 390, 60);
        Bitmap("beta.bmp", 195, 30);
        Write("Pandrel.ini", IniText());
        m_main = std::make_unique<MainWindow>(m_program, m_fakes.services());
        diagram::ui::AttachStyleWindow(m_main->host());
        m_program.engines.PyDictionaryBase = "base ";
        diagram::ui::StartupOptions options;
        options.exeDir = m_dir.path().toStdString();
        m_main->Load(options);
        m_main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_main.get()));
        m_main->Text1()->setText(QString::fromLatin1(kStart));
    }
    // The settings file the program starts with.
    virtual QByteArray IniText() const { return kIni; }

    void TearDown() override {
        m_main.reset();
        QDir::setCurrent(m_cwd);
    }

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    void Bitmap(const QString& name, int width, int height) const {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        ASSERT_TRUE(image.save(Path(name), "BMP"));
    }
    void Write(const QString& name, const QByteArray& text) const {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray Ini() const {
        QFile file(Path(QStringLiteral("Pandrel.ini")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Runs the Style command; `inside` acts on the window while it is up and
    // must close it. A window left open is cancelled, so a test never hangs.
    void RunStyle(const std::function<void(StyleWindow&)>& inside) {
        QTimer::singleShot(0, m_main.get(), [this, inside] {
            StyleWindow& w = StyleWindow::Of(m_main->host());
            inside(w);
            if (w.isVisible()) {
                ADD_FAILURE() << "the style window was left open";
                w.reject();
            }
        });
        m_main->action(QStringLiteral("MNstyle"))->trigger();
    }
    // Shows the window without the Style command around it.
    StyleWindow& Show() {
        StyleWindow& w = StyleWindow::Of(m_main->host());
        w.show();
        QApplication::setActiveWindow(&w);
        EXPECT_EQ(QApplication::activeWindow(), &w);
        return w;
    }
    static void Type(QWidget* field, const QString& text, bool enter = true) {
        if (auto* edit = qobject_cast<QLineEdit*>(field)) {
            edit->setFocus();
            edit->selectAll();
        } else if (auto* combo = qobject_cast<QComboBox*>(field)) {
            combo->setFocus();
            combo->lineEdit()->selectAll();
        }
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
        if (enter) {
            QTest::keyClick(field, Qt::Key_Return);
        }
    }
    static void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(3, 3)); }
    // Answers the file selection window, once it is up, with a path.
    void AnswerSeek(const QString& path) {
        diagram::ui::WinSeek& seek = diagram::ui::WinSeek::Of(m_main->host());
        QTimer::singleShot(0, &seek, [&seek, path] {
            seek.Text2()->setText(path);
            seek.OkCmd()->click();
        });
    }
    QStringList MainList() const {
        QStringList names;
        for (int i = 0; i < m_main->Combo1()->count(); ++i) {
            names << m_main->Combo1()->itemText(i);
        }
        return names;
    }
    static QStringList EditorList(const StyleWindow& w) {
        QStringList names;
        for (int i = 0; i < w.controls().Combo5->count(); ++i) {
            names << w.controls().Combo5->itemText(i);
        }
        return names;
    }
    const std::vector<platform::FakeMessages::Message>& Messages() const { return m_fakes.messages.shown; }

    QTemporaryDir m_dir;
    QString m_cwd;
    platform::FakeServices m_fakes;
    diagram::ui::Program m_program;
    std::unique_ptr<MainWindow> m_main;
};

}  // namespace style_test

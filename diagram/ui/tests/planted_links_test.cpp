// The files the main window writes (the settings at exit, a saved image)
// replace a symbolic link found at their names; its target stays as it was.

#include <QFileInfo>

#include "diagram/ui/output_commands.h"
#include "diagram/ui/tests/window_fixture.h"
#include "settings/settings_file.h"

namespace diagram::ui::testing {
namespace {

class PlantedLinks : public WindowTest {
  protected:
    void Plant(const QString& name) const {
        ASSERT_TRUE(QFile::link(m_victim.filePath(QStringLiteral("victim")), InDir(name)));
    }
    QByteArray Victim() const {
        QFile file(m_victim.filePath(QStringLiteral("victim")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void SetUp() override {
        WindowTest::SetUp();
        QFile file(m_victim.filePath(QStringLiteral("victim")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("precious");
    }

    QTemporaryDir m_victim;  // another folder, as another user's file would be
};

TEST_F(PlantedLinks, SavedSettingsAndImageReplaceTheLinks) {
    const QString settingsFile = QStringLiteral("Pandrel.ini");
    const QString lock = QString::fromLatin1(settings::kLockName.data(), settings::kLockName.size());
    Plant(settingsFile);
    Plant(lock);
    Plant(QStringLiteral("Pandrel.bmp"));
    Create();
    new OutputCommands(*window);
    Start();
    Text1()->setText(QStringLiteral("8/8/8/8/8/8/8/K7"));

    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);  // Save Image
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo(InDir(QStringLiteral("Pandrel.bmp"))).isSymLink(), 5000);
    EXPECT_TRUE(ReadFile(QStringLiteral("Pandrel.bmp")).startsWith("BM"));

    program.settings.RecentEngine = "Popeye";
    QTest::keyClick(window.get(), Qt::Key_X, Qt::ControlModifier);  // Exit: the settings are saved
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo(InDir(settingsFile)).isSymLink(), 5000);
    EXPECT_TRUE(ReadFile(settingsFile).contains("RecentEngine = Popeye"));
    EXPECT_TRUE(QFileInfo(InDir(lock)).isSymLink());  // locked without being followed
    EXPECT_EQ(Victim(), QByteArray("precious"));
}

}  // namespace
}  // namespace diagram::ui::testing

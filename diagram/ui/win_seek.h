#pragma once
// WinSeek: the program's own modal file selection window, with a drive list,
// a folder list, a file list, a file name box and a filter box.
//
// Caller protocol: set program.SeekPurpose to the purpose (diagram/seek.h),
// show the window modally (exec() or Seek()), and when it has closed with
// SeekPurpose = 1 take the full path from fileName() or program.SeekFile.
// The window is made once and hidden between uses, so the folder and the
// filter text carry over from one use to the next.

#include <QDialog>
#include <QString>

#include "diagram/ui/program.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace diagram::ui {

class Host;

/// The file selection window.
class WinSeek : public QDialog {
    Q_OBJECT

  public:
    /// Builds the window with the process's current folder listed.
    explicit WinSeek(diagram::ui::Program& program, QWidget* parent = nullptr);

    /// The window that belongs to owner (one of its direct children named
    /// "WinSeek"), made on first use.
    static WinSeek& Of(QWidget* owner, diagram::ui::Program& program);
    /// The main window's file selection window, made on first use and
    /// registered with it so that closing the program closes it for good.
    static WinSeek& Of(Host& host);

    /// SeekPurpose := purpose, shows the window modally and returns true when
    /// the user confirmed a file; the path is then in fileName().
    bool Seek(int purpose);

    /// The file name box's text: the full path after a confirmation.
    QString fileName() const;
    /// The folder the file list shows (no "/" at its end except for "/").
    QString folder() const { return m_folder; }
    /// Lists another folder; false (and nothing changes) when it cannot be read.
    bool setFolder(const QString& path);
    /// The filter box's text.
    QString filter() const;

    // The controls, under the names they bear.
    QComboBox* drvList() const { return m_ui.drvList; }
    QListWidget* dirList() const { return m_ui.dirList; }
    QListWidget* filList() const { return m_ui.filList; }
    QLineEdit* Text2() const { return m_ui.Text2; }
    QLabel* Label1() const { return m_ui.Label1; }
    QComboBox* txtSearchSpec() const { return m_ui.txtSearchSpec; }
    QLabel* lblCriteria() const { return m_ui.lblCriteria; }
    QPushButton* OkCmd() const { return m_ui.OkCmd; }
    QPushButton* CancelCmd() const { return m_ui.CancelCmd; }
    QWidget* Picture1() const { return m_ui.Picture1; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Controls {
        QWidget* Picture1 = nullptr;
        QComboBox* drvList = nullptr;
        QListWidget* dirList = nullptr;
        QListWidget* filList = nullptr;
        QLineEdit* Text2 = nullptr;
        QLabel* Label1 = nullptr;
        QComboBox* txtSearchSpec = nullptr;
        QLabel* lblCriteria = nullptr;
        QPushButton* OkCmd = nullptr;
        QPushButton* CancelCmd = nullptr;
    };

    void BuildControls();
    void Activate();
    void FillDrives();
    void ShowDrive();
    void DriveChosen(int index);
    void FillFolders();
    void RefreshFiles();
    void FileChosen();
    void Ok();
    void Cancel();

    diagram::ui::Program& m_program;
    Controls m_ui;
    QString m_folder;
};

}  // namespace diagram::ui

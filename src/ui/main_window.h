#pragma once

#include <QMainWindow>
#include <QTimer>

#include "app/operator_commands.h"
#include "common/session.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace zelmar::ui {

// fZelmar1: the operator's window. It shows the session's options and texts and hands every
// click to the operator commands; it holds no protocol or file logic. Each widget's
// objectName is its control name.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow(Session& session, app::OperatorCommands& commands);

    // Brings the widgets in line with the options and texts. A slot box whose value the
    // program changed runs its click too, so the poll and the frames follow it.
    void refresh();

    QMenu* fileMenu() const { return fileMenu_; }
    // Without a notification area, minimising must not hide the only way back.
    void setHidesOnMinimise(bool hides) { hidesOnMinimise_ = hides; }

  signals:
    void aboutRequested();

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    QWidget* BuildPortsFrame();
    QWidget* BuildTimerFrame();
    QWidget* BuildOptionsFrame();
    QWidget* BuildProgramFrame();
    QWidget* BuildMessagesFrame();
    QWidget* BuildBaudFrame();
    QWidget* BuildButtons();
    void ConnectOptionBox(QCheckBox* box, bool Options::*field);
    void ConnectText(QLineEdit* edit, std::string Options::*field);
    // One command, then the widgets again.
    template <typename Command>
    void Run(Command command);

    void OnSlotBoxToggled(int slot, bool ticked);
    void ApplyFrameLock();
    void RefreshOptions();
    void RefreshTexts();

    Session& session_;
    app::OperatorCommands& commands_;
    QTimer refreshTimer_;
    bool framesLocked_ = false;  // DisableFrame ran last
    bool hidesOnMinimise_ = true;

    QMenu* fileMenu_ = nullptr;
    QCheckBox* check_[4] = {};
    QFrame* shape_[4] = {};
    QLineEdit* dumpText_[4] = {};
    QGroupBox* frame2_ = nullptr;
    QGroupBox* frame5_ = nullptr;
    QGroupBox* frame6_ = nullptr;
    QGroupBox* frame7_ = nullptr;
    QRadioButton* optionSlow_ = nullptr;
    QRadioButton* optionFast_ = nullptr;
    QRadioButton* optionRs232_ = nullptr;
    QRadioButton* optionRete_ = nullptr;
    QLineEdit* txtTimerVal_ = nullptr;
    QPushButton* cmdChgTimer_ = nullptr;
    QCheckBox* chbScontiSuReso_ = nullptr;
    QLineEdit* txtRemoteIP_ = nullptr;
    QLineEdit* txtRemotePort_ = nullptr;
    QPushButton* cmdPing_ = nullptr;
    QPushButton* cmdValidateIP_ = nullptr;
    QComboBox* cboToutConn_ = nullptr;
    QComboBox* cmdBaud_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QPushButton* cmbFile_ = nullptr;
    QPushButton* annullaOperaz_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QLineEdit* txtEcrMatr_ = nullptr;
    QLineEdit* txtFWRev_ = nullptr;
    QLineEdit* txtAppDataVista_ = nullptr;
    std::vector<std::pair<QCheckBox*, bool Options::*>> optionBoxes_;
    std::vector<std::pair<QLineEdit*, std::string Options::*>> optionTexts_;
};

}  // namespace zelmar::ui

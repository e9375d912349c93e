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
    QRadioButton* pollModeButton_ = nullptr;
    QRadioButton* fastModeButton_ = nullptr;
    QRadioButton* serialButton_ = nullptr;
    QRadioButton* networkButton_ = nullptr;
    QLineEdit* pollIntervalEdit_ = nullptr;
    QPushButton* setPollIntervalButton_ = nullptr;
    QCheckBox* discountsOnRefundBox_ = nullptr;
    QLineEdit* registerAddressEdit_ = nullptr;
    QLineEdit* registerPortEdit_ = nullptr;
    QPushButton* pingButton_ = nullptr;
    QPushButton* checkAddressButton_ = nullptr;
    QComboBox* connectTimeoutList_ = nullptr;
    QComboBox* baudRateList_ = nullptr;
    QComboBox* openReceiptPolicyList_ = nullptr;
    QPushButton* testReceiptButton_ = nullptr;
    QPushButton* cancelReceiptButton_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QLineEdit* serialNumberEdit_ = nullptr;
    QLineEdit* firmwareEdit_ = nullptr;
    QLineEdit* dataFolderEdit_ = nullptr;
    std::vector<std::pair<QCheckBox*, bool Options::*>> optionBoxes_;
    std::vector<std::pair<QLineEdit*, std::string Options::*>> optionTexts_;
};

}  // namespace zelmar::ui

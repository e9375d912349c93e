#pragma once

#include <QMainWindow>
#include <QTimer>
#include <utility>
#include <vector>

#include "app/operator_commands.h"
#include "common/session.h"
#include "window/window_model.h"

class QMenu;

namespace zelmar::ui {

// fZelmar1: the operator's window, built from the window description. It shows what the
// window model says of each control and hands every operator action to the model; it holds no
// rule of its own. Each widget's objectName is its control name.
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
    void Connect(const window::Control& control, QWidget* widget);

    window::WindowModel model_;
    QTimer refreshTimer_;
    bool hidesOnMinimise_ = true;
    QMenu* fileMenu_ = nullptr;
    std::vector<std::pair<const window::Control*, QWidget*>> widgets_;
};

}  // namespace zelmar::ui

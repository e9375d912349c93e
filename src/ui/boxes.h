#pragma once

#include <QDialog>

namespace zelmar::ui {

// frmAbout: shown modal from the "?" menu; "&OK" closes it.
class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* owner);
};

// frmSplash: loaded with its texts while the main form loads, never shown.
class SplashBox : public QDialog {
    Q_OBJECT
  public:
    SplashBox();
};

// Form1: the closing box, on top of everything while the program ends.
class ClosingBox : public QDialog {
    Q_OBJECT
  public:
    explicit ClosingBox(QWidget* owner);
};

}  // namespace zelmar::ui

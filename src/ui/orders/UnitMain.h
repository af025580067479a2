#pragma once
// TfrmMain: the main window of Kelm, holding the open order's workspace.

#include <QMainWindow>

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
};
